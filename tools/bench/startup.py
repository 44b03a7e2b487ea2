#!/usr/bin/python3
"""Start-up benchmark of the disc's programs under Wine in a virtual display.

Times each program from process start until its window is on the screen
with its picture painted, alternating discmenu.exe, modelmenu.exe and a
baseline (the smallest Win32 program that shows an empty window of the same
size, built with the same toolchain), and prints the medians and their
ratios to the baseline. Also prints each executable's size, the bytes read
from the disc before the window shows, and the CPU time each program uses
while idle with its window shown.

    tools/bench/startup.py [--runs 10] [--idle 10] [--quick]
"""

import argparse
import faulthandler
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from wine_here import WINE32, WINE64, runs_32_bit_wine  # noqa: E402
BLUE = "0b4f9c"  # the vendor blue at the probed point of each picture

# name, file on the disc, window caption, probed client point
PROGRAMS = [
    ("baseline", "bench_baseline.exe", "Baseline", (20, 470)),
    ("discmenu", "discmenu.exe", "Norvane", (20, 470)),
    ("modelmenu", "NV-QX480K/autorun3.exe", "Ondrix", (20, 300)),
]


def wine_setup():
    """The Wine that runs here and the build it runs (see tools/wine-env.sh)."""
    if runs_32_bit_wine():
        return WINE32, "windows", "win32"
    return WINE64, "windows-x64", "win64"


def free_display():
    n = 120
    while os.path.exists("/tmp/.X11-unix/X%d" % n) or os.path.exists("/tmp/.X%d-lock" % n):
        n += 1
    return ":%d" % n


def window_exists(env, caption):
    r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % caption],
                       env=env, capture_output=True)
    return r.returncode == 0 and r.stdout.strip() != b""


def wait_gone(env, caption, deadline=10.0):
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        if not window_exists(env, caption):
            return True
        time.sleep(0.02)
    return False


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def stop(env, wine_env, pid, caption):
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    if not wait_gone(env, caption):
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=wine_env)
        wait_gone(env, caption)


def bytes_read_before_window(wine, env, disc, program, waitpaint):
    """Runs the program under strace until its window is painted and adds up
    what it read from files of the disc; the executable counts whole, as the
    loader maps it."""
    name, file, caption, (x, y) = program
    with tempfile.TemporaryDirectory() as tmp:
        trace = os.path.join(tmp, "trace")
        out = subprocess.run([waitpaint, caption, str(x), str(y), BLUE, "60000", "--",
                              "strace", "-f", "-y", "-qq", "-e", "trace=read,pread64",
                              "-o", trace, wine, file], cwd=disc, env=env,
                             capture_output=True, text=True).stdout.split()
        pid = int(out[-1])
        stop(env, env, pid, caption)
        total = 0
        pattern = re.compile(r"(?:read|pread64)\(\d+<([^>]*)>.*\)\s+=\s+(\d+)")
        with open(trace, errors="replace") as f:
            for line in f:
                m = pattern.search(line)
                if m and m.group(1).startswith(disc + "/") and not m.group(1).endswith(".exe"):
                    total += int(m.group(2))
    return total + os.path.getsize(os.path.join(disc, file))


def main():
    faulthandler.dump_traceback_later(int(os.environ.get("BENCH_TRACE_AFTER", "0")) or 10**6)
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=10, help="runs of each program")
    parser.add_argument("--idle", type=float, default=10.0, help="seconds of idle measurement")
    parser.add_argument("--quick", action="store_true", help="a short run that checks it works")
    args = parser.parse_args()
    if args.quick:
        args.runs, args.idle = 2, 1.0

    wine, preset, arch = wine_setup()
    build = os.path.join(ROOT, "build", preset)
    for f in ("discmenu.exe", "modelmenu.exe", "bench_baseline.exe", "disc"):
        if not os.path.exists(os.path.join(build, f)):
            sys.exit("build %s first: cmake --preset %s && cmake --build --preset %s"
                     % (build, preset, preset))
    work = tempfile.mkdtemp(prefix="menu-bench-")
    disc = os.path.join(work, "disc")
    shutil.copytree(os.path.join(build, "disc"), disc)
    shutil.copy(os.path.join(build, "bench_baseline.exe"), disc)
    waitpaint = os.path.join(work, "waitpaint")
    subprocess.run(["gcc", "-O2", "-o", waitpaint, os.path.join(ROOT, "tools/bench/waitpaint.c"),
                    "-lX11"], check=True)

    display = free_display()
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display, WINEDEBUG="-all", WINEARCH=arch,
               WINEPREFIX=os.path.join(ROOT, "build", "wine-bench-" + arch))
    server = None
    try:
        time.sleep(0.5)
        if not os.path.exists(os.path.join(env["WINEPREFIX"], "system.reg")):
            # Wine's services outlive wineboot: no pipe of ours may go with them.
            subprocess.run([wine, "wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            subprocess.run(["/usr/lib/wine/wineserver", "-w"], env=env)
        # One server for the whole run, so that no start pays for its start.
        server = subprocess.Popen(["/usr/lib/wine/wineserver", "-f", "-p"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([wine, "cmd", "/c", "exit"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

        times = {p[0]: [] for p in PROGRAMS}
        idle = {}
        for run in range(args.runs + 1):  # the first round warms the caches and is not counted
            for program in PROGRAMS:
                name, file, caption, (x, y) = program
                wait_gone(env, caption)
                out = subprocess.run([waitpaint, caption, str(x), str(y), BLUE, "60000", "--",
                                      wine, file], cwd=disc, env=env, capture_output=True,
                                     text=True).stdout.split()
                if out[0] == "timeout":
                    sys.exit("%s: no painted window within 60 s" % name)
                pid = int(out[1])
                if run > 0:
                    times[name].append(float(out[0]))
                if run == args.runs:
                    before = cpu_seconds(pid)
                    time.sleep(args.idle)
                    idle[name] = cpu_seconds(pid) - before
                stop(env, env, pid, caption)

        reads = {p[0]: bytes_read_before_window(wine, env, disc, p, waitpaint) for p in PROGRAMS}
    finally:
        if server:
            server.terminate()
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)

    base = statistics.median(times["baseline"])
    print("Start-up to a painted window, %d runs each, alternating (%s build, %s)"
          % (args.runs, preset, wine.rsplit("/", 1)[1]))
    print("%-10s %9s %9s %8s %10s %13s %10s" % ("program", "median ms", "min ms", "ratio",
                                                 "size B", "read before B", "idle CPU s"))
    for name, file, _, _ in PROGRAMS:
        med = statistics.median(times[name])
        size = os.path.getsize(os.path.join(build, os.path.basename(file).replace(
            "autorun3.exe", "modelmenu.exe")))
        print("%-10s %9.1f %9.1f %8.2f %10d %13d %10.2f" % (
            name, med, min(times[name]), med / base, size, reads[name], idle[name]))
    sizes32 = [os.path.getsize(os.path.join(ROOT, "build", "windows", f))
               for f in ("discmenu.exe", "modelmenu.exe")
               if os.path.exists(os.path.join(ROOT, "build", "windows", f))]
    if sizes32 and preset != "windows":
        print("32-bit programs as shipped: discmenu.exe %d B, modelmenu.exe %d B" % tuple(sizes32))


if __name__ == "__main__":
    main()
