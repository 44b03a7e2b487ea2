"""Checks the built 32-bit programs: the facts of their PE headers, their
imports, their manifests, their version resources and their size."""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from pefile_lite import PE  # noqa: E402

# The only DLLs imported: ones that every Windows from XP has and loads from
# its own folder only (its known DLLs), and that showing a window needs. The
# shell, COM and GDI+ are loaded by full path when an event first needs them.
IMPORTED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"}

ARGS = None


class Programs(unittest.TestCase):
    def programs(self):
        return [("modelmenu", ARGS.modelmenu, ARGS.modelmenu_version, "autorun3.exe"),
                ("discmenu", ARGS.discmenu, ARGS.discmenu_version, "discmenu.exe")]

    def test_header_facts(self):
        for name, path, _, _ in self.programs():
            with self.subTest(name):
                pe = PE(path)
                self.assertEqual(pe.machine, 0x14C, "32-bit x86")
                self.assertEqual(pe.magic, 0x10B)
                self.assertEqual(pe.subsystem, 2, "Windows GUI")
                self.assertEqual((pe.subsystem_major, pe.subsystem_minor), (5, 1))
                self.assertTrue(pe.dll_characteristics & 0x0040, "relocatable (ASLR)")
                self.assertTrue(pe.dll_characteristics & 0x0100, "NX compatible")

    def test_imports_only_known_dlls(self):
        for name, path, _, _ in self.programs():
            with self.subTest(name):
                dlls = set(PE(path).imports())
                self.assertLessEqual(dlls, IMPORTED_DLLS, "imports beyond what start-up needs")

    def test_version_resource(self):
        for name, path, version, file in self.programs():
            with self.subTest(name):
                strings = PE(path).version_strings()
                self.assertEqual(strings.get("FileDescription"), ARGS.description)
                self.assertEqual(strings.get("FileVersion"), version)
                self.assertEqual(strings.get("ProductVersion"), version)
                self.assertEqual(strings.get("CompanyName"), ARGS.company)
                self.assertEqual(strings.get("ProductName"), ARGS.product)
                self.assertEqual(strings.get("OriginalFilename"), file)

    def test_manifest(self):
        for name, path, _, _ in self.programs():
            with self.subTest(name):
                manifest = (PE(path).resource(24) or b"").decode("utf-8")
                self.assertIn('level="asInvoker"', manifest)
                self.assertIn('processorArchitecture="x86"', manifest)
                self.assertNotIn("amd64", manifest)
                self.assertNotIn("dpiAware", manifest)

    def test_size_budget(self):
        for name, path, _, _ in self.programs():
            with self.subTest(name):
                size = os.path.getsize(path)
                print("%s: %d bytes" % (name, size))
                self.assertLessEqual(size, ARGS.budget)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("modelmenu", "discmenu", "modelmenu-version", "discmenu-version",
                   "description", "company", "product"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--budget", type=int, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
