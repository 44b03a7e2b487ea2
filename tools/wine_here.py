"""Which Wine runs the disc's programs on this machine: the 32-bit one
wherever it starts, else the 64-bit one with the x64 build of the same
sources (a kernel without 32-bit support cannot start 32-bit Wine). The
Python side of the rule that tools/wine-env.sh gives the shell scripts."""

import subprocess

WINE32 = "/usr/lib/wine/wine"
WINE64 = "/usr/lib/wine/wine64"


def runs_32_bit_wine():
    try:
        return subprocess.run([WINE32, "--version"], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0
    except OSError:
        return False
