"""Checks that the built 32-bit programs load on Windows XP SP3: every function
they import must be one that XP SP3 exports (tests/windows/xp_sp3_exports.txt),
and their PE headers must not ask for a Windows newer than 5.1. A program that
imports a single function XP lacks does not start there at all."""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from pefile_lite import PE  # noqa: E402

XP = (5, 1)

ARGS = None


def load_exports(path):
    """{dll in lower case: {function names}} from the list file."""
    exports = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            if line.startswith("#") or not line.strip():
                continue
            fields = line.split()
            if len(fields) != 2 or fields[0] != fields[0].lower():
                raise ValueError("%s:%d: expected 'dll function': %r" % (path, number, line))
            exports.setdefault(fields[0], set()).add(fields[1])
    return exports


class XpCompatibility(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.exports = load_exports(ARGS.exports)
        cls.imports = {os.path.basename(p): PE(p).imports() for p in ARGS.programs}
        for name, imports in cls.imports.items():
            print("%s: %d imports from %d DLLs checked against XP SP3"
                  % (name, sum(map(len, imports.values())), len(imports)))

    def test_imported_dlls_are_on_xp(self):
        for name, imports in self.imports.items():
            with self.subTest(name):
                unknown = sorted(set(imports) - set(self.exports))
                if unknown:
                    self.fail("DLLs not in the XP SP3 list: " + ", ".join(unknown))

    def test_imported_functions_are_on_xp(self):
        for name, imports in self.imports.items():
            with self.subTest(name):
                # Imports by ordinal ("#n") cannot be matched: ordinals are not
                # stable between Windows versions, so they count as offenders.
                missing = ["%s!%s" % (dll, function)
                           for dll, functions in sorted(imports.items()) if dll in self.exports
                           for function in functions if function not in self.exports[dll]]
                if missing:
                    self.fail("imports that Windows XP SP3 does not export:\n  "
                              + "\n  ".join(missing))

    def test_headers_ask_for_no_newer_windows(self):
        for path in ARGS.programs:
            pe = PE(path)
            for field, version in (("subsystem version", (pe.subsystem_major, pe.subsystem_minor)),
                                   ("OS version", (pe.os_major, pe.os_minor))):
                with self.subTest(os.path.basename(path), field=field):
                    self.assertLessEqual(version, XP, "%s %d.%d is above 5.1" % ((field,) + version))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--exports", required=True)
    parser.add_argument("programs", nargs="+")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)
