#!/usr/bin/python3
"""Configures (the first time) and builds a Windows preset of this tree, or
brings it up to date, one build of a preset at a time whoever asks: the
checks of the built programs and the end-to-end tests run it first, so that
a fresh tree tests what its sources build.

  build.py PRESET              windows (32-bit, what ships) or windows-x64
  build.py windows --fallback  also windows-x64 where this machine cannot
                               run 32-bit Wine: what the demo and the
                               end-to-end tests run there instead
"""

import fcntl
import os
import subprocess
import sys

SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tools"))
from wine_here import runs_32_bit_wine  # noqa: E402


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
    args = sys.argv[1:]
    if args not in (["windows"], ["windows-x64"], ["windows", "--fallback"]):
        sys.exit(__doc__.strip())
    presets = args[:1]
    if "--fallback" in args and not runs_32_bit_wine():
        presets.append("windows-x64")
    for preset in presets:
        try:
            print("built %s" % build(preset))
        except subprocess.CalledProcessError as e:
            sys.exit("building the %s preset failed: %s" % (preset, e))


if __name__ == "__main__":
    main()
