#!/usr/bin/python3
"""Runs end-to-end tests of the real programs under Wine.

  run.py [--build DIR] [MODULE[.Class[.test]] ...]

Without a test name every test_*.py here runs, all in one display and one
Wine prefix. --build is an x64 build folder; the default, this tree's
build/windows-x64, is built or brought up to date first.
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
    parser.add_argument("tests", nargs="*")
    args = parser.parse_args()
    if args.build:
        os.environ["E2E_BUILD"] = os.path.abspath(args.build)
    loader = unittest.TestLoader()
    if args.tests:
        suite = loader.loadTestsFromNames(args.tests)
    else:
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
