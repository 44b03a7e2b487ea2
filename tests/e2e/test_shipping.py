"""What a disc author ships: the programs cannot be turned against the user
by files planted beside them, they write nothing, they work on every Windows
version the disc serves, and the disc image runs as built."""

import hashlib
import os
import subprocess
import tempfile

import e2e
from e2e import CHOOSER, COLOUR, INSTALLER, PICTURE_SIZES, USER_GUIDE, WIZARD, Case, Program, wait_for

# DLLs the programs themselves load (GDI+, by full path) and the GCC run-time
# DLLs a MinGW program might look for. A copy of each, planted on the disc,
# must never be loaded. The DLLs that Windows and its shell load on their
# own behalf are not planted: Windows protects them (known DLLs, the
# restricted search of the process), but Wine's loader looks up the imports
# of its own shell and GDI+ DLLs in the program's folder, which a test here
# cannot tell from a fault of the programs.
PLANTED_DLLS = ["gdiplus", "libgcc_s_seh-1", "libgcc_s_dw2-1", "libstdc++-6", "libwinpthread-1"]

MARKER_DLL = r"""
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID unused) {
  char dir[MAX_PATH], name[MAX_PATH], path[2 * MAX_PATH];
  (void)unused;
  if (reason == DLL_PROCESS_ATTACH &&
      GetEnvironmentVariableA("DISCMENU_MARKER_DIR", dir, MAX_PATH) > 0 &&
      GetModuleFileNameA(self, name, MAX_PATH) > 0) {
    char* base = name;
    for (char* p = name; *p; ++p) if (*p == '\\' || *p == '/') base = p + 1;
    wsprintfA(path, "%s\\%s.loaded", dir, base);
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0));
  }
  return TRUE;
}
"""

# Every row of the programs' edition table that Wine reaches: Wine's name of
# the version, the version record that the programs see (platform id, major,
# minor) and whether the documentation button opens the folder there (else
# the page). Their manifest has no supportedOS entries, so on 8.1 and 10 they
# see 6.2, which the table names "Windows 8": the folder. No Wine version
# shows such a program 6.4 or above ("Windows Blue") or 10.0 (no name), so
# those rows are left to the core's tests. A 64-bit prefix (the x64
# fallback) gives a program each of these records too, Windows 95 and 3.1
# included, though no 64-bit Windows was ever either.
EDITIONS = [
    ("win31", (0, 3, 10), False),  # platform 0 (Win32s): "Failed"
    ("win95", (1, 4, 0), False),  # "Windows 95"
    ("win98", (1, 4, 10), False),  # "Windows 98"
    ("winme", (1, 4, 90), False),  # no name
    ("nt351", (2, 3, 51), False),  # "Windows NT 3.51"
    ("nt40", (2, 4, 0), False),  # "Windows NT 4.0"
    ("win2k", (2, 5, 0), False),  # "Windows 2000"
    ("winxp", (2, 5, 1), False),  # "Windows 2000" too: the 32-bit XP
    ("winxp64", (2, 5, 2), False),  # "Windows XP x64"
    ("vista", (2, 6, 0), False),  # "Windows Vista"
    ("win7", (2, 6, 1), True),  # "Windows 7"
    ("win8", (2, 6, 2), True),  # "Windows 8"
    ("win81", (2, 6, 2), True),  # seen as "Windows 8"
    ("win10", (2, 6, 2), True),  # seen as "Windows 8"
]


class Planted(Case):
    """Files planted beside the programs and in the disc's root, as on a
    disc copied into a downloads folder."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        source = os.path.join(cls.session.temp, "marker.c")
        with open(source, "w") as f:
            f.write(MARKER_DLL)
        dll = os.path.join(cls.session.temp, "marker.dll")
        e2e.run([e2e.MINGW_CC, "-shared", "-O2", "-o", dll, source])
        with open(dll, "rb") as f:
            cls.marker = f.read()
        with open(os.path.join(cls.session.build, "standin_installer.exe"), "rb") as f:
            cls.standin = f.read()

    def start_planted(self, program, layout, disc, log, markers, version=None):
        """Starts a program with native DLLs preferred to Wine's own."""
        path = Program.FILES[program]
        self.session.set_version(path.split("\\")[-1], version)
        env = self.session.env(log=log.path)
        env["WINEDLLOVERRIDES"] += ";" + ",".join(PLANTED_DLLS) + "=n,b"
        env["DISCMENU_MARKER_DIR"] = e2e.windows_path(markers)
        process = subprocess.Popen([e2e.WINE, path.replace("\\", "/")], cwd=disc.root, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        p = Program(self.session, program, disc, log, process.pid, process)
        self._programs.append(p)
        return p.wait_window(layout)

    def test_no_planted_dll_or_program_is_ever_loaded_or_started(self):
        planted = {}
        for name in PLANTED_DLLS:
            planted[name + ".dll"] = self.marker  # in the disc's root
            planted["NV-QX480K\\" + name + ".dll"] = self.marker  # beside modelmenu
        planted["explorer.exe"] = self.standin
        planted["NV-QX480K\\explorer.exe"] = self.standin
        # GIF and PNG are decoded by the programs; a bitmap makes them load GDI+.
        help_picture = "setup\\images\\ManualInstallationHelp.gif"
        planted[help_picture] = e2e.bmp(PICTURE_SIZES[help_picture], COLOUR[help_picture])
        disc = self.stage_disc(replace=planted)
        markers = tempfile.mkdtemp(dir=self.session.temp)
        log = self.session.new_log()

        # The chooser: pictures, and the model menu started through the shell.
        chooser = self.start_planted("discmenu", CHOOSER, disc, log, markers)
        chooser.move("imgDocumentation")
        chooser.wait_shows("imgDocumentation", "setup\\images\\enUS\\NV-QX480K-blue.gif")
        chooser.click("imgDocumentation")
        menu = self.attach("modelmenu", WIZARD, chooser)
        menu.wait_shows("imgHelp", "setup\\images\\help.gif")
        self.end_programs()

        # The model menu: pictures, the installer, the page and the folder.
        for version in ("winxp", "win7"):
            p = self.start_planted("modelmenu", WIZARD, disc, log, markers, version)
            p.move("imgManualInstallation")
            p.wait_shows("imgHelp", "setup\\images\\ManualInstallationHelp.gif")
            p.click("imgManualInstallation")
            p.wait_starts(INSTALLER, 1)
            p.click("imgDocumentation")
            if version == "winxp":
                wait_for(lambda: any(USER_GUIDE in c for c, _ in log.lines()), "the page to open")
            else:
                wait_for(lambda: any("/n,/e, .\\NV-QX480K\\Manual" in args
                                     for _, args, _ in self.session.processes()),
                         "Windows' explorer.exe with the folder")
            self.end_programs()

        self.assertEqual(sorted(os.listdir(markers)), [], "planted DLLs were loaded")
        started = [c for c, _ in log.lines() if "explorer" in c.lower()]
        self.assertEqual(started, [], "a planted explorer.exe was started")


def user_folders(prefix):
    """Every file and folder of the prefix's user folders, with contents."""
    listing = {}
    root = os.path.join(prefix, "drive_c", "users")
    for base, dirs, names in os.walk(root):
        for n in dirs:
            listing[os.path.relpath(os.path.join(base, n), root) + "/"] = None
        for n in names:
            p = os.path.join(base, n)
            if os.path.islink(p):
                listing[os.path.relpath(p, root)] = "-> " + os.readlink(p)
                continue
            with open(p, "rb") as f:
                listing[os.path.relpath(p, root)] = hashlib.sha256(f.read()).hexdigest()
    return listing


class WritesNothing(Case):
    def test_a_whole_session_leaves_the_users_folders_as_they_were(self):
        before = user_folders(self.session.prefix)
        chooser = self.start("discmenu", CHOOSER)
        chooser.move("imgHelp")
        chooser.wait_shows("imgHelp", "setup\\images\\enUS\\NV-WQX640K-blue.gif")
        chooser.click("imgDocumentation")
        menu = self.attach("modelmenu", WIZARD, chooser)
        menu.move("imgDocumentation")
        menu.wait_shows("imgHelp", "setup\\images\\documentationhelp.gif")
        menu.click("imgManualInstallation")
        menu.wait_starts(INSTALLER, 1)
        menu.click("imgExit")
        menu.wait_exit()
        chooser.click("imgExit")
        chooser.wait_exit()
        self.assertEqual(user_folders(self.session.prefix), before)


class WindowsVersions(Case):
    def test_both_programs_work_and_open_the_documentation_as_each_edition_asks(self):
        # Each program ends by its own exit button: no start overlaps an end.
        self.addCleanup(self.session.set_version, "probe.exe", None)
        for version, record, folder in EDITIONS:
            with self.subTest(version=version):
                self.end_programs()
                self.session.set_version("probe.exe", version)
                seen = tuple(map(int, self.session.probe("env").split("\t")[:3]))
                self.assertEqual(seen, record, "the version record a program sees")
                chooser = self.start("discmenu", CHOOSER, version=version)
                chooser.move("imgManualInstallation")
                chooser.wait_shows("imgManualInstallation",
                                   "setup\\images\\enUS\\NV-QX120E-blue.gif")
                chooser.click("imgExit")
                chooser.wait_exit()
                menu = self.start("modelmenu", WIZARD, version=version)
                menu.wait_shows("imgHelp", "setup\\images\\help.gif")
                menu.move("imgManualInstallation")
                menu.wait_shows("imgHelp", "setup\\images\\ManualInstallationHelp.gif")
                menu.click("imgDocumentation")
                self.assertOpensDocumentation(menu, folder)
                menu.click("imgExit")
                menu.wait_exit()


class ExtractedDisc:
    """The tree of the built disc image, read-only, as a drive would give it."""

    def __init__(self, iso, root):
        self.root = root
        e2e.run(["xorriso", "-osirrox", "on", "-read_fs", "norock", "-indev", iso,
                 "-extract", "/", root])
        for base, dirs, names in os.walk(root):
            for n in dirs + names:
                os.chmod(os.path.join(base, n), 0o555 if n in dirs else 0o444)
        os.chmod(root, 0o555)
        self.snapshot = e2e.Disc._listing(self)

    def changes(self):
        return e2e.Disc.changes(self)

    def _listing(self):
        return e2e.Disc._listing(self)

    @property
    def windows_root(self):
        return e2e.windows_path(self.root)


class DiscImage(Case):
    def test_the_image_runs_the_chooser_and_the_model_menu_with_their_own_pictures(self):
        iso = os.path.join(self.session.build, "norvane-ondrix.iso")
        self.assertTrue(os.path.exists(iso), "no disc image: build the windows-x64 preset whole")
        disc = ExtractedDisc(iso, os.path.join(tempfile.mkdtemp(dir=self.session.temp), "cd"))
        self.discs.append(disc)
        chooser = self.start("discmenu", CHOOSER, disc=disc)
        chooser.click("imgDocumentation")
        menu = self.attach("modelmenu", WIZARD, chooser)
        # The real help picture, read from the image's own file.
        from PIL import Image
        help_gif = Image.open(os.path.join(disc.root, "setup", "images", "help.gif"))
        c = WIZARD.controls["imgHelp"]
        x, y = c.centre()
        expected = help_gif.convert("RGB").getpixel((x - c.x, y - c.y))
        wait_for(lambda: self.x.pixel(*menu.point("imgHelp")) == expected,
                 "the image's help picture in the model menu")
        self.assertTrue(chooser.running() and menu.running())
