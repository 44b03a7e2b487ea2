#!/usr/bin/python3
"""Configures (the first time) and builds a Windows preset of this tree, or
brings it up to date, one build of a preset at a time whoever asks: the
checks of the built programs and the end-to-end tests run it first, so that
a fresh tree tests what its sources build.

  build.py PRESET        windows (32-bit, what ships) or windows-x64
"""

import fcntl
import os
import subprocess
import sys

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))


def build(preset):
    folder = os.path.join(SOURCE, "build", preset)
    os.makedirs(os.path.dirname(folder), exist_ok=True)
    with open(folder + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(folder, "CMakeCache.txt")):
            subprocess.run(["cmake", "--preset", preset], cwd=SOURCE, check=True)
        subprocess.run(["cmake", "--build", "--preset", preset], cwd=SOURCE, check=True)
    return folder


def main():
    if len(sys.argv) != 2 or sys.argv[1] not in ("windows", "windows-x64"):
        sys.exit(__doc__.strip())
    try:
        print("built %s" % build(sys.argv[1]))
    except subprocess.CalledProcessError as e:
        sys.exit("building the %s preset failed: %s" % (sys.argv[1], e))


if __name__ == "__main__":
    main()
