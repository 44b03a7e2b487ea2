#!/usr/bin/python3
"""Runs end-to-end tests of the real programs under Wine.

  run.py [--build DIR] [--layout-dump TOOL] [MODULE[.Class[.test]] ...]

Without a test name every test_*.py here runs, all in one display and one
Wine prefix. By default the tests run the 32-bit programs of this tree's
build/windows under the 32-bit Wine, or, where this machine cannot run
32-bit programs or E2E_X64=1 is set, those of build/windows-x64 under the
64-bit Wine; either is built or brought up to date first. --build names
another build folder, whose programs run as they are, under the Wine their
processor needs. --layout-dump names the layout_dump tool; without it this
tree's native build of it is built or brought up to date first.
"""

import argparse
import os
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source folder clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build")
    parser.add_argument("--layout-dump")
    parser.add_argument("tests", nargs="*")
    args = parser.parse_args()
    if args.build:
        os.environ["E2E_BUILD"] = os.path.abspath(args.build)
    if args.layout_dump:
        os.environ["E2E_LAYOUT_DUMP"] = os.path.abspath(args.layout_dump)
    loader = unittest.TestLoader()
    if args.tests:
        suite = loader.loadTestsFromNames(args.tests)
    else:
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
