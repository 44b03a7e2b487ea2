#!/usr/bin/python3
"""The headless demo, tools/tour.sh, as a machine without a display runs
it: the whole tour once, ending well and leaving its pictures; and a tour
whose model menu cannot start, which must fail, name the window that did
not appear and still stop its display.

    tour_test.py --out DIR

The pictures are for people to look at; here they are only checked to be
there, whole, and one for each step.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import unittest

from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TOUR = os.path.join(ROOT, "tools", "tour.sh")
OUT = None  # set from the command line


def run_tour(*args):
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    r = subprocess.run([TOUR] + list(args), env=env, capture_output=True, text=True, timeout=300)
    return r.returncode, r.stdout, r.stderr


def staged_disc():
    return subprocess.run(["bash", "-c", "source tools/wine-env.sh && echo $MENU_DISC"], cwd=ROOT,
                          capture_output=True, text=True, check=True).stdout.strip()


class Tour(unittest.TestCase):
    def assert_display_stopped(self, stderr):
        display = re.search(r"virtual display :(\d+)", stderr)
        self.assertTrue(display, "the tour did not say which display it used:\n" + stderr)
        self.assertFalse(os.path.exists("/tmp/.X11-unix/X" + display.group(1)),
                         "the tour's display :%s is still running" % display.group(1))

    def test_tour_ends_well_and_leaves_a_picture_of_each_step(self):
        out = os.path.join(OUT, "tour")
        code, stdout, stderr = run_tour("--out", out)
        self.assertEqual(code, 0, stdout + stderr)
        self.assert_display_stopped(stderr)

        steps = sorted(f for f in os.listdir(out) if re.match(r"\d\d-.*\.png$", f))
        names = [f[3:-4] for f in steps]
        for expected in ("chooser", "chooser-NV-QX120E", "chooser-NV-WQX640K", "modelmenu",
                         "modelmenu-installer", "modelmenu-exit", "modelmenu-keyboard", "installer",
                         "modelmenu-zhCN", "modelmenu-zhCN-keyboard", "chooser-keyboard",
                         "end"):
            self.assertIn(expected, names)
        for f in steps:
            with Image.open(os.path.join(out, f)) as image:
                image.load()  # a picture cut short fails here
                self.assertEqual(image.size, (800, 600), f)
                if f[3:-4] != "end":
                    self.assertGreater(len(image.getcolors(1 << 16) or range(1 << 16)), 100, f)

        gif = os.path.join(out, "tour.gif")
        self.assertIn(gif, stdout)
        with Image.open(gif) as animation:
            self.assertEqual(animation.n_frames, len(steps))
            self.assertEqual(animation.size, (800, 632))

    def test_a_window_that_does_not_appear_fails_the_tour_by_its_name(self):
        out = os.path.join(OUT, "tour-without-model-menu")
        disc = os.path.join(out, "disc")
        shutil.rmtree(out, ignore_errors=True)
        shutil.copytree(staged_disc(), disc)
        os.remove(os.path.join(disc, "NV-QX480K", "autorun3.exe"))
        code, stdout, stderr = run_tour("--out", out, "--disc", disc, "--deadline", "5")
        self.assertEqual(code, 1, stdout + stderr)
        self.assertIn("the model menu (window 'Ondrix') did not appear within 5 s after the click"
                      " on NV-QX480K", stderr)
        self.assertTrue(os.path.exists(os.path.join(out, "failed.png")))
        self.assertFalse(os.path.exists(os.path.join(out, "tour.gif")))
        self.assert_display_stopped(stderr)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    args, rest = parser.parse_known_args()
    OUT = os.path.abspath(args.out)
    os.makedirs(OUT, exist_ok=True)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
