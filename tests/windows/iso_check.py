"""Checks the disc image: read through its Joliet names (what Windows
reads), it holds the staged disc byte for byte, every path the programs use
with its exact spelling, autorun.inf at its root, and its volume label."""

import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
import unittest

ARGS = None


def tree(root):
    files = {}
    for folder, _, names in os.walk(root):
        for n in names:
            path = os.path.join(folder, n)
            with open(path, "rb") as f:
                files[os.path.relpath(path, root)] = hashlib.sha256(f.read()).hexdigest()
    return files


class DiscImage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.extracted = os.path.join(cls.tmp.name, "disc")
        subprocess.run(["xorriso", "-osirrox", "on", "-read_fs", "norock", "-indev", ARGS.iso,
                        "-extract", "/", cls.extracted], check=True, capture_output=True)
        lines = subprocess.run([ARGS.disc_paths], check=True, capture_output=True,
                               text=True).stdout.splitlines()
        cls.named = [line.split(" ")[1].replace("\\", "/") for line in lines]

    @classmethod
    def tearDownClass(cls):
        for folder, dirs, _ in os.walk(cls.extracted):
            for d in dirs:
                os.chmod(os.path.join(folder, d), 0o755)
        cls.tmp.cleanup()

    def test_holds_the_staged_disc_byte_for_byte(self):
        self.assertEqual(tree(self.extracted), tree(ARGS.staged))

    def test_every_path_the_programs_use_keeps_its_spelling(self):
        present = set(tree(self.extracted))
        for path in self.named + ["discmenu.exe", "autorun.inf"]:
            self.assertIn(path, present)

    def test_autorun_and_label(self):
        with open(os.path.join(self.extracted, "autorun.inf"), encoding="ascii") as f:
            lines = [line.strip() for line in f]
        self.assertEqual(lines[0], "[autorun]")
        self.assertIn("open=discmenu.exe", lines)
        self.assertIn("icon=discmenu.exe", lines)
        info = subprocess.run(["xorriso", "-indev", ARGS.iso, "-pvd_info"], check=True,
                              capture_output=True, text=True).stdout
        self.assertIn("Volume Id    : %s" % ARGS.label, info)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--iso", required=True)
    parser.add_argument("--staged", required=True)
    parser.add_argument("--disc-paths", required=True)
    parser.add_argument("--label", required=True)
    ARGS, rest = parser.parse_known_args()
    if not os.path.exists(ARGS.iso):
        sys.exit("no disc image at %s: build the iso target of the windows preset" % ARGS.iso)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
