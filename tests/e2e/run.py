#!/usr/bin/python3
"""Runs end-to-end tests of the real programs under Wine.

  run.py [--build DIR] [--run-dir DIR] [MODULE[.Class[.test]] ...]
  run.py [--build DIR] --run-dir DIR --setup | --cleanup

Without a test name every test_*.py here runs. --build is the x64 build
(default build/windows-x64 of this tree, built or brought up to date when it
is that one). --run-dir keeps the Wine prefix, the probe and the page
stand-in for several runs of this script (ctest's set-up makes it, its
clean-up removes it); without it each run makes and removes its own.
"""

import argparse
import os
import shutil
import sys
import unittest

sys.dont_write_bytecode = True  # keep the source folder clean
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build")
    parser.add_argument("--run-dir")
    parser.add_argument("--setup", action="store_true")
    parser.add_argument("--cleanup", action="store_true")
    parser.add_argument("tests", nargs="*")
    args = parser.parse_args()
    if (args.setup or args.cleanup) and not args.run_dir:
        parser.error("--setup and --cleanup need --run-dir")
    if args.build:
        os.environ["E2E_BUILD"] = os.path.abspath(args.build)
    if args.run_dir:
        os.environ["E2E_RUN_DIR"] = os.path.abspath(args.run_dir)

    import e2e

    if args.setup or args.cleanup:
        e2e.stop_wine(os.path.join(args.run_dir, "prefix"))
        shutil.rmtree(args.run_dir, ignore_errors=True)
        if args.cleanup:
            if os.path.exists(args.run_dir + ".lock"):
                os.remove(args.run_dir + ".lock")
        else:
            e2e.Session.get().close()  # makes the run dir and checks Wine once
        return 0
    loader = unittest.TestLoader()
    if args.tests:
        suite = loader.loadTestsFromNames(args.tests)
    else:
        suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
