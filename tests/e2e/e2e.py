"""Harness of the end-to-end tests: the real modelmenu.exe and discmenu.exe
under Wine in a virtual X display, driven by the real pointer and keyboard
and checked by reading the screen.

What runs is what ships: the 32-bit programs of build/windows under the
32-bit Wine in a 32-bit prefix. Only where this machine cannot run 32-bit
programs (or E2E_X64=1 asks for it) the same sources built for x64
(build/windows-x64) run under the 64-bit Wine instead.

One Session per test process, all of its own: an Xvfb display, a Wine
prefix, the probe (a small Windows program that reads what only Wine
knows: client areas, message box texts, version and language), and the
test disc. Every picture on the test disc is one solid colour of its own,
so one screen pixel tells which picture a control shows. Everything is
waited for by polling with a deadline; nothing relies on a fixed sleep.
The windows' geometry comes from the programs' own layout tables, through
the layout_dump tool.
"""

import atexit
import hashlib
import io
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image

import xdisplay
from xdisplay import LEFT, MIDDLE, RIGHT  # noqa: F401  (re-exported for the tests)

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tools"))
from pefile_lite import PE  # noqa: E402
from wine_here import WINE32, WINE64, runs_32_bit_wine  # noqa: E402

WINESERVER = "/usr/lib/wine/wineserver"
SCREEN = (1024, 768)
DEADLINE = 20.0  # seconds any one awaited condition may take on a loaded machine

# ------------------------------------------------------------ what runs


class Target:
    """A build of the programs and the Wine that runs it."""

    def __init__(self, preset, bits, wine, arch, cc):
        self.preset, self.bits, self.wine, self.arch, self.cc = preset, bits, wine, arch, cc
        self.windres = cc.split("-gcc")[0] + "-windres"
        self.build = os.path.join(SOURCE, "build", preset)
        self.note = ""

    def __str__(self):
        build = os.path.relpath(self.build, SOURCE) if self.build.startswith(SOURCE + os.sep) \
            else self.build
        return "%s (%s) under %s%s" % (build, self.bits, self.wine, self.note)


SHIPPED = Target("windows", "32-bit", WINE32, "win32", "i686-w64-mingw32-gcc-win32")
FALLBACK = Target("windows-x64", "x64", WINE64, "win64",
                  "x86_64-w64-mingw32-gcc-win32")


def choose_target():
    """The shipped 32-bit build where 32-bit Wine runs, else the x64
    fallback; E2E_BUILD names another build folder, whose executables say
    which Wine it needs."""
    forced = os.environ.get("E2E_X64") == "1"
    build = os.environ.get("E2E_BUILD")
    if build:
        build = os.path.abspath(build)
        x64 = PE(os.path.join(build, "discmenu.exe")).machine == 0x8664
        target = FALLBACK if x64 else SHIPPED
        if not x64 and (forced or not runs_32_bit_wine()):
            raise RuntimeError("%s holds 32-bit programs, which %s" % (
                build, "E2E_X64=1 does not run" if forced else "this machine cannot run"))
        target.build = build
        return target
    if not forced and runs_32_bit_wine():
        return SHIPPED
    FALLBACK.note = (" (E2E_X64=1)" if forced
                     else " (this machine cannot run 32-bit programs)")
    return FALLBACK


TARGET = choose_target()
WINE = TARGET.wine
MINGW_CC = TARGET.cc

# What the programs start, as the disc names them.
INSTALLER = "NV-QX480K\\setup\\utility\\NORVANE_Ondrix_Setup_2.exe"
MODEL_AB = "NV-QX120E_NV-QX120K\\autorun2.exe"
MODEL_C = "NV-QX480K\\autorun3.exe"
MODEL_D = "NV-WQX640K\\autorun4.exe"
USER_GUIDE = "NV-QX480K\\Manual\\UserGuideEng.html"
FOLDER_COMMAND = "explorer.exe /n,/e, .\\NV-QX480K\\Manual"
BUSY_CURSOR = "setup\\images\\hourglas.ani"

# Wine's own processes of a prefix, left alone between tests.
WINE_SERVICES = ("services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "rpcss.exe",
                 "explorer.exe /desktop", "wineserver")

# ------------------------------------------------------------------ layouts


def to_pixel(twips):
    """First whole pixel at or after a twips coordinate (15 twips a pixel)."""
    return -(-twips // 15)


class Control:
    def __init__(self, kind, left, top, width, height, pointer):
        self.kind, self.pointer = kind, pointer
        self.left, self.top, self.width, self.height = left, top, width, height
        self.x, self.y = to_pixel(left), to_pixel(top)
        self.w = to_pixel(left + width) - self.x
        self.h = to_pixel(top + height) - self.y

    def centre(self):
        return self.x + self.w // 2, self.y + self.h // 2


class Layout:
    """A window as the programs' layout tables give it: caption, client size
    in pixels, controls front to back in twips, the built-in background;
    and the disc's picture folder of its buttons."""

    def __init__(self, program, name, caption, client, controls, background, folder):
        self.program, self.name, self.caption, self.client = program, name, caption, client
        self.controls = controls
        self.background = os.path.join(SOURCE, "resources", program, background)
        self.folder = folder
        self._background = None

    def background_at(self, x, y):
        """The client pixel with no picture over it: the built-in background
        blended over the window's white ground."""
        if self._background is None:
            self._background = Image.open(self.background).convert("RGBA")
        if x >= self._background.width or y >= self._background.height:
            return 255, 255, 255
        r, g, b, a = self._background.getpixel((x, y))
        mix = lambda c: (c * a + 255 * (255 - a) + 127) // 255  # noqa: E731
        return mix(r), mix(g), mix(b)

    def hit(self, px, py):
        """The front-most control at a client pixel, None for the background."""
        for name, c in self.controls.items():
            if c.left <= px * 15 < c.left + c.width and c.top <= py * 15 < c.top + c.height:
                return name
        return None

    def __repr__(self):
        return "%s %s" % (self.program, self.name)


def layout_dump():
    """The layout_dump tool: E2E_LAYOUT_DUMP (ctest passes it), or this
    tree's native build of it, built or brought up to date first."""
    if os.environ.get("E2E_LAYOUT_DUMP"):
        return os.environ["E2E_LAYOUT_DUMP"]
    if not os.path.exists(os.path.join(SOURCE, "build", "native", "CMakeCache.txt")):
        run(["cmake", "--preset", "native"], cwd=SOURCE)
    run(["cmake", "--build", "--preset", "native", "--target", "layout_dump"], cwd=SOURCE)
    return os.path.join(SOURCE, "build", "native", "tests", "layout_dump")


# ---------------------------------------------------------------- test disc

# Every picture the programs load from the disc, at its size in pixels.
PICTURE_SIZES = {}
for _folder, _installer, _documentation, _help in (
        ("setup\\images\\", (198, 22), (131, 22), (390, 73)),
        ("setup\\images\\zhCN\\", (196, 22), (82, 22), (386, 80))):
    PICTURE_SIZES.update({
        _folder + "Windows-XP-Vista-7.gif": _installer,
        _folder + "Windows-XP-Vista-7-1.gif": _installer,
        _folder + "Documentation.gif": _documentation,
        _folder + "Documentationdown.gif": _documentation,
        _folder + "ManualInstallationHelp.gif": _help,
        _folder + "documentationhelp.gif": _help,
        _folder + "help.gif": _help,
    })
for _model in ("NV-QX120E", "NV-QX120K", "NV-QX480K", "NV-WQX640K", "NV-EXIT"):
    for _shade in ("grey", "blue"):
        PICTURE_SIZES["setup\\images\\enUS\\%s-%s.gif" % (_model, _shade)] = (
            (49, 25) if _model == "NV-EXIT" else (160, 34))


def _distinct_colours(count):
    """Saturated colours spread around the hue circle, two brightnesses."""
    import colorsys
    colours = []
    for i in range(count):
        h = (i * 0.618034) % 1.0
        v = 0.95 if i % 2 == 0 else 0.6
        r, g, b = colorsys.hsv_to_rgb(h, 0.9, v)
        colours.append((int(r * 255), int(g * 255), int(b * 255)))
    return colours


COLOUR = dict(zip(sorted(PICTURE_SIZES), _distinct_colours(len(PICTURE_SIZES))))
PICTURE_OF = {c: p for p, c in COLOUR.items()}
assert len(PICTURE_OF) == len(COLOUR)


def gif(size, colour):
    out = io.BytesIO()
    image = Image.new("P", size, 0)
    image.putpalette(list(colour) + [0, 0, 0])
    image.save(out, "GIF")
    return out.getvalue()


def bmp(size, colour):
    """A solid bitmap: a picture file that the programs leave to GDI+."""
    out = io.BytesIO()
    Image.new("RGB", size, tuple(colour)).save(out, "BMP")
    return out.getvalue()


USER_GUIDE_PAGE = b"<!DOCTYPE html><title>User Guide</title><p>NV-QX480K user guide.</p>\r\n"


def windows_path(path):
    """A Unix path as Wine's programs see it, on drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def unix_path(root, disc_path):
    return os.path.join(root, *disc_path.split("\\"))


class Disc:
    """A staged test disc: the two programs at their places, stand-ins at
    every other program's place, one solid-colour picture per file, the
    real busy cursor and a user guide page. Read-only once staged; its
    listing with hashes is kept to show that nothing was written to it."""

    def __init__(self, root, build, remove=(), replace=None):
        """remove: disc paths left out; replace: disc path -> other content."""
        self.root = root
        files = {
            "discmenu.exe": os.path.join(build, "discmenu.exe"),
            MODEL_C: os.path.join(build, "modelmenu.exe"),
            INSTALLER: os.path.join(build, "standin_installer.exe"),
            MODEL_AB: os.path.join(build, "standin_qx120.exe"),
            MODEL_D: os.path.join(build, "standin_wqx640.exe"),
            BUSY_CURSOR: os.path.join(SOURCE, "disc", "setup", "images", "hourglas.ani"),
        }
        contents = {USER_GUIDE: USER_GUIDE_PAGE}
        contents.update({p: gif(size, COLOUR[p]) for p, size in PICTURE_SIZES.items()})
        contents.update(replace or {})
        os.makedirs(root)
        for disc_path, source in files.items():
            if disc_path not in remove and disc_path not in contents:
                self._write(disc_path, open(source, "rb").read())
        for disc_path, data in contents.items():
            if disc_path not in remove:
                self._write(disc_path, data)
        os.makedirs(unix_path(root, "NV-QX480K\\Manual"), exist_ok=True)
        self.snapshot = self._listing()
        for base, dirs, names in os.walk(root):
            for n in dirs + names:
                p = os.path.join(base, n)
                os.chmod(p, stat.S_IMODE(os.lstat(p).st_mode) & ~0o222)
        os.chmod(root, 0o555)

    def _write(self, disc_path, data):
        path = unix_path(self.root, disc_path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def _listing(self):
        listing = {}
        for base, dirs, names in os.walk(self.root):
            for n in dirs:
                listing[os.path.relpath(os.path.join(base, n), self.root) + "/"] = None
            for n in names:
                p = os.path.join(base, n)
                with open(p, "rb") as f:
                    listing[os.path.relpath(p, self.root)] = hashlib.sha256(f.read()).hexdigest()
        return listing

    def changes(self):
        """What differs from the staged disc: [] when nothing was written."""
        now = self._listing()
        return sorted(p for p in set(now) | set(self.snapshot)
                      if now.get(p, "-") != self.snapshot.get(p, "-"))

    @property
    def windows_root(self):
        return windows_path(self.root)


# ----------------------------------------------------------------- waiting


class Timeout(AssertionError):
    pass


def wait_for(condition, what, timeout=DEADLINE, interval=0.03):
    """Polls until condition() gives a true value and returns it."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Timeout("timed out after %.0f s waiting for %s"
                          % (timeout, what() if callable(what) else what))
        time.sleep(interval)


# ---------------------------------------------------------------- run dir


def run(args, **kw):
    """Runs a command to its end; its output, or an error that shows it.

    The output goes through a file, not a pipe: Wine's services, started
    by whichever program first needs them, inherit its handles and would
    keep a pipe open long after the program ended."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                              **kw).returncode
        out.seek(0)
        text = out.read().decode("utf-8", "replace")
    if code != 0:
        raise RuntimeError("%s failed (%d):\n%s" % (" ".join(args), code, text))
    return text


# The disc's picture folder of each window's buttons.
PICTURE_FOLDERS = {("modelmenu", "wizard"): "setup\\images\\",
                   ("modelmenu", "wizard_zhCN"): "setup\\images\\zhCN\\",
                   ("discmenu", "wizard"): "setup\\images\\enUS\\"}


def read_layouts(text):
    """(program, form) -> Layout, from layout_dump's lines."""
    windows = {}
    for line in text.splitlines():
        f = line.split("\t")
        if f[0] == "window":
            program, name, caption = f[1:4]
            window = windows[program, name] = dict(
                program=program, name=name, caption=caption,
                client=(int(f[4]) // 15, int(f[5]) // 15), controls={}, background=None,
                folder=PICTURE_FOLDERS[program, name])
        elif f[0] == "control" and f[2] == "background":
            window["background"] = f[8]
        elif f[0] == "control":
            window["controls"][f[1]] = Control(f[2], *map(int, f[3:7]), f[7])
    return {key: Layout(**w) for key, w in windows.items()}


_LAYOUTS = read_layouts(run([layout_dump()]))
WIZARD = _LAYOUTS["modelmenu", "wizard"]
WIZARD_ZHCN = _LAYOUTS["modelmenu", "wizard_zhCN"]
CHOOSER = _LAYOUTS["discmenu", "wizard"]


BUILT = ("discmenu", "modelmenu", "standin_installer", "standin_qx120", "standin_wqx640")


def ensure_build(target):
    """This tree's build folder of the target's preset is built whole or
    brought up to date (one build at a time, whoever asks); another build
    folder is taken as it is."""
    if target.build == os.path.join(SOURCE, "build", target.preset):
        run([sys.executable, os.path.join(SOURCE, "tests", "windows", "build.py"), target.preset])
    for name in BUILT:
        if not os.path.exists(os.path.join(target.build, name + ".exe")):
            raise RuntimeError("%s.exe is missing from %s" % (name, target.build))


def wine_env(prefix, display=None, locale="en_US.UTF-8", log=None):
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("WINE", "LC_", "DISCMENU_")) and k not in ("LANG", "DISPLAY")}
    env.update(WINEPREFIX=prefix, WINEARCH=TARGET.arch, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", LANG=locale, LC_ALL=locale)
    if display:
        env["DISPLAY"] = display
    if log:
        env["DISCMENU_STANDIN_LOG"] = windows_path(log)
    return env


def make_prefix(prefix, page_standin):
    """A new Wine prefix of the target's kind that opens .html files with the page
    stand-in and lets Wine draw window frames itself (there is no window
    manager)."""
    env = wine_env(prefix)
    run([WINE, "wineboot", "-i"], env=env)
    reg = prefix + ".reg"
    with open(reg, "w", encoding="utf-16") as f:
        f.write("Windows Registry Editor Version 5.00\r\n\r\n"
                "[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"
                "\"Managed\"=\"N\"\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.html]\r\n"
                "@=\"NorvaneTest.Page\"\r\n\r\n"
                "[HKEY_LOCAL_MACHINE\\Software\\Classes\\NorvaneTest.Page\\shell\\open\\"
                "command]\r\n"
                "@=\"\\\"%s\\\" \\\"%%1\\\"\"\r\n\r\n" % page_standin.replace("\\", "\\\\"))
    run([WINE, "regedit", "/S", windows_path(reg)], env=env)
    stop_wine(prefix)


def stop_wine(prefix):
    if os.path.isdir(prefix):
        subprocess.run([WINESERVER, "-k"], env=wine_env(prefix), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        subprocess.run([WINESERVER, "-w"], env=wine_env(prefix), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)


# ----------------------------------------------------------------- session


def _die_with_parent():
    import ctypes
    ctypes.CDLL("libc.so.6").prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Log:
    """The stand-ins' log: one (command line, current folder) a start."""

    def __init__(self, path):
        self.path = path

    def lines(self):
        try:
            with open(self.path, "rb") as f:
                text = f.read().decode("latin-1")
        except FileNotFoundError:
            return []
        return [tuple(line.rsplit("|", 1)) for line in text.split("\r\n") if line]


class Session:
    """What the tests of one process share: the display, the Wine prefix,
    the probe, the reference cursors and the test disc."""

    _current = None

    @classmethod
    def get(cls):
        if cls._current is None:
            cls._current = Session()
            atexit.register(cls._current.close)
        return cls._current

    def __init__(self):
        self.build = TARGET.build
        self.temp = tempfile.mkdtemp(prefix="menu-e2e-")
        self._xvfb = self._keeper = None
        self.display = None
        self.prefix = None
        self._versions = {}
        self._discs = 0
        self._logs = 0
        signal.signal(signal.SIGTERM, lambda *a: sys.exit(1))
        try:
            # Everything of its own, so that runs at the same time on one
            # machine cannot disturb each other.
            print("e2e: %s" % TARGET, file=sys.stderr, flush=True)
            ensure_build(TARGET)
            # The probe carries the programs' manifest, so it sees the
            # Windows version that they see.
            probe = os.path.join(self.temp, "probe.exe")
            with open(probe + ".rc", "w") as f:
                f.write('1 24 "%s"\n' % os.path.join(self.build, "app.manifest"))
            run([TARGET.windres, "-O", "coff", "-o", probe + ".res", probe + ".rc"])
            run([MINGW_CC, "-O2", "-Wall", "-Wextra", "-Werror", "-o", probe,
                 os.path.join(HERE, "probe.c"), probe + ".res", "-lgdi32"])
            self.probe_exe = windows_path(probe)
            page = os.path.join(self.temp, "page", "openpage.exe")
            os.makedirs(os.path.dirname(page))
            shutil.copyfile(os.path.join(self.build, "standin_installer.exe"), page)
            self.page_standin = windows_path(page)
            self.prefix = os.path.join(self.temp, "prefix")
            make_prefix(self.prefix, self.page_standin)
            self._start_xvfb()
            # Wine's services end with the last program and take seconds to
            # come back: a program that waits keeps them up for the session.
            self._keeper = subprocess.Popen([WINE, self.probe_exe, "wait"], env=self.env(),
                                            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                            stderr=subprocess.DEVNULL)
            self.x = xdisplay.Display(self.display)
            self.verify_wine()
            self.disc = self.stage_disc()
            self.arrow, self.hand = self._reference_cursors()
        except BaseException:
            self.close()
            raise

    def _start_xvfb(self):
        read, write = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_parent)
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode()

    def close(self):
        if self._keeper:
            self._keeper.kill()
            self._keeper.wait()
            self._keeper = None
        if self.prefix:
            self.kill_programs()
            stop_wine(self.prefix)
        if getattr(self, "x", None):
            self.x.close()
        if self._xvfb:
            self._xvfb.terminate()
            try:
                self._xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
            self._xvfb = None
        if self.temp and os.path.isdir(self.temp):
            for base, dirs, _ in os.walk(self.temp):
                for d in dirs:
                    os.chmod(os.path.join(base, d), 0o755)
            shutil.rmtree(self.temp, ignore_errors=True)
        self.temp = None
        if Session._current is self:
            Session._current = None

    # -------------------------------------------------------------- wine

    def env(self, locale="en_US.UTF-8", log=None):
        return wine_env(self.prefix, self.display, locale, log)

    # How Wine's loader fails now and then, not the helper it runs: on this
    # glibc an assertion while the process exits, after the helper did its
    # work; and, rarely, right after programs were killed, a helper that is
    # surely there "could not be started".
    LOADER_HICCUPS = ("Inconsistency detected by ld.so", "Application could not be started")

    def wine(self, *args, locale="en_US.UTF-8", repeat_any=False):
        """Runs a helper (reg, the probe) to its end. Helpers only read or
        set a value, so a run that the loader spoilt (with repeat_any, any
        failed run) is repeated, never accepted, at most three times in all."""
        for attempt in range(3):
            try:
                return run([WINE] + list(args), env=self.env(locale))
            except RuntimeError as e:
                spoilt = repeat_any or any(h in str(e) for h in self.LOADER_HICCUPS)
                if not spoilt or attempt == 2:
                    raise
                print("repeating a helper run after: %s" % e, file=sys.stderr)
                time.sleep(0.5)

    def set_version(self, exe, version):
        """The Windows version Wine reports to a program by its file name."""
        if self._versions.get(exe, "(not set yet)") == version:
            return
        key = "HKCU\\Software\\Wine\\AppDefaults\\" + exe
        if version is None:
            subprocess.run([WINE, "reg", "delete", key, "/f"], env=self.env(),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        else:
            self.wine("reg", "add", key, "/v", "Version", "/d", version, "/f")
        self._versions[exe] = version

    def probe(self, *args, locale="en_US.UTF-8", repeat_any=False):
        return self.wine(self.probe_exe, *args, locale=locale, repeat_any=repeat_any)

    def probe_windows(self):
        rows = []
        for line in self.probe("windows").splitlines():
            f = line.split("\t")
            if len(f) < 14:
                continue
            rows.append(dict(hwnd=f[0], pid=int(f[1]), visible=f[2] == "1", cls=f[3], title=f[4],
                             frame=tuple(map(int, f[5:9])), origin=(int(f[9]), int(f[10])),
                             client=(int(f[11]), int(f[12])), text=f[13]))
        return rows

    def processes(self):
        """(pid, command line, current folder) of the prefix's processes."""
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if ("WINEPREFIX=" + self.prefix).encode() not in f.read().split(b"\0"):
                        continue
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    args = f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
                with open("/proc/%s/stat" % entry) as f:
                    if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                        continue
                cwd = os.readlink("/proc/%s/cwd" % entry)
            except OSError:
                continue
            found.append((int(entry), args, cwd))
        return found

    def programs(self):
        """The prefix's processes that are not Wine's own services."""
        keeper = self._keeper.pid if self._keeper else None
        return [p for p in self.processes()
                if p[0] != keeper and not any(s in p[1] for s in WINE_SERVICES)]

    def kill_programs(self, keep=()):
        """Ends the programs of the prefix but those in keep (by pid)."""
        others = lambda: [p for p in self.programs() if p[0] not in keep]  # noqa: E731
        for pid, _, _ in others():
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        wait_for(lambda: not others(), "the programs to end")

    def quiesce(self, also_running=()):
        """Waits until every program started by a menu has ended; the menus
        themselves (also_running, by pid) may go on."""
        keep = set(also_running)
        wait_for(lambda: not [p for p in self.programs() if p[0] not in keep],
                 lambda: "the started programs to end: %s" % [p[1] for p in self.programs()
                                                              if p[0] not in keep])

    def crash_dialogs(self):
        """Signs of a crashed program: Wine's debugger or its dialog."""
        signs = [p[1] for p in self.processes() if "winedbg" in p[1].lower()]
        signs += [w.name for w in self.x.windows() if w.name == "Program Error"]
        return signs

    # ------------------------------------------------------------- discs

    def stage_disc(self, **variant):
        self._discs += 1
        return Disc(os.path.join(self.temp, "disc%d" % self._discs), self.build, **variant)

    def new_log(self):
        self._logs += 1
        return Log(os.path.join(self.temp, "starts%d.log" % self._logs))

    # ----------------------------------------------------------- cursors

    def _reference_cursors(self):
        """The arrow and the hand cursor as this display shows them: over a
        probe window with the system arrow and one with the hand file, each
        read once it has replaced the cursor shown before."""
        hand_file = windows_path(os.path.join(SOURCE, "resources", "common", "hand.cur"))
        self.x.move(5, SCREEN[1] - 5)
        cursors = [wait_for(self._settled_cursor, "the screen's own cursor")]
        probe = subprocess.Popen([WINE, self.probe_exe, "cursors", hand_file], env=self.env(),
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        try:
            for _ in range(2):
                _, x, y = probe.stdout.readline().split("\t")
                self.x.move(int(x), int(y))
                before = cursors[-1]
                cursors.append(wait_for(lambda: self._settled_cursor(unlike=before),
                                        "the probe window's cursor"))
        finally:
            probe.kill()
            probe.wait()
        wait_for(lambda: not [w for w in self.x.windows() if w.name and w.name.startswith("Probe")],
                 "the probe's windows to go")
        return cursors[1:]

    def _settled_cursor(self, unlike=None):
        """The cursor when it stays the same a while (and is not unlike).
        Entering a window can show a passing cursor first, which a loaded
        machine may leave on the screen for a good part of a second."""
        first = self.x.cursor()
        for _ in range(8):
            time.sleep(0.05)
            if self.x.cursor() != first:
                return None
        return first if first != unlike else None

    # -------------------------------------------------------- environment

    LANGUAGES = {"en_US.UTF-8": 1033, "zh_TW.UTF-8": 1028, "zh_CN.UTF-8": 2052}
    VERSIONS = {"winxp": (5, 1), "vista": (6, 0), "win7": (6, 1), "win8": (6, 2)}

    def verify_wine(self):
        """What the tests take from Wine: the user language by locale, the
        version by the program's settings, the screen size."""
        found = {}
        for locale in self.LANGUAGES:
            found[locale] = int(self.probe("env", locale=locale).split("\t")[3])
        for version in self.VERSIONS:
            self.set_version("probe.exe", version)
            f = self.probe("env").split("\t")
            found[version] = (int(f[1]), int(f[2]))
            found["screen"] = (int(f[4]), int(f[5]))
        self.set_version("probe.exe", None)
        expected = dict(self.LANGUAGES, **self.VERSIONS, screen=SCREEN)
        if found != expected:
            raise RuntimeError("Wine gives %s where the tests need %s (are the locales %s "
                               "installed?)" % (found, expected, ", ".join(self.LANGUAGES)))


class Program:
    """One menu program, started by the test or by another program, and
    its window."""

    FILES = {"modelmenu": MODEL_C, "discmenu": "discmenu.exe"}

    def __init__(self, session, program, disc, log, pid, process=None):
        self.session, self.x, self.program = session, session.x, program
        self.disc, self.log = disc, log
        self.pid, self.process = pid, process
        self.layout = self.window = self.info = self.origin = None

    @classmethod
    def start(cls, session, program, disc, locale, version, log):
        path = cls.FILES[program]
        session.set_version(path.split("\\")[-1], version)
        session.x.move(0, 0)  # away from where the window comes
        with open(os.path.join(session.temp, "programs.out"), "ab") as output:
            process = subprocess.Popen([WINE, path.replace("\\", "/")], cwd=disc.root,
                                       env=session.env(locale, log.path), stdout=output,
                                       stderr=subprocess.STDOUT)
        return cls(session, program, disc, log, process.pid, process)

    # ------------------------------------------------------------ window

    def own_windows(self):
        return [w for w in self.x.windows() if w.pid == self.pid]

    def wait_window(self, layout):
        """Waits for the program's window and learns where its client area is."""
        self.window = wait_for(
            lambda: next((w for w in self.own_windows() if w.name == layout.caption), None),
            lambda: "the %s window of %s; windows: %s, running: %s" % (
                layout, self.program, self.x.windows(), self.running()))
        frame = (self.window.x, self.window.y, self.window.width, self.window.height)
        rows = [r for r in self.session.probe_windows()
                if r["visible"] and r["title"] == layout.caption and r["frame"] == frame]
        assert len(rows) == 1, "one %s window expected at %s, the probe sees %s" % (
            layout.caption, frame, rows)
        self.info = rows[0]
        self.origin = self.info["origin"]
        self.layout = layout
        return self

    def wait_message_box(self):
        """Waits for a message box of the program; returns (title, text)."""
        box = wait_for(
            lambda: next((w for w in self.own_windows() if w.name == self.program), None),
            lambda: "a message box titled %s; windows: %s, running: %s" % (
                self.program, self.x.windows(), self.running()))
        rows = [r for r in self.session.probe_windows()
                if r["visible"] and r["cls"] == "#32770" and r["title"] == self.program]
        assert len(rows) == 1, "one message box expected, the probe sees %s" % rows
        self.x.move(box.x + box.width // 2, box.y + 5)  # keys go where the pointer is
        return rows[0]["title"], rows[0]["text"]

    def point(self, control, dx=None, dy=None):
        """Screen point of a control's pixel (dx, dy); the middle by default."""
        c = self.layout.controls[control]
        cx, cy = c.centre()
        x = c.x + dx if dx is not None else cx
        y = c.y + dy if dy is not None else cy
        return self.origin[0] + x, self.origin[1] + y

    def client_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def shows(self, control):
        """The picture a control shows, by its middle pixel's colour: a disc
        path, "" for no picture, or what else is there."""
        rgb = self.x.pixel(*self.point(control))
        if rgb in PICTURE_OF:
            return PICTURE_OF[rgb]
        background = self.layout.background_at(*self.layout.controls[control].centre())
        if all(abs(a - b) <= 3 for a, b in zip(rgb, background)):
            return ""
        return "(something else: %s)" % (rgb,)

    def wait_shows(self, control, picture):
        wait_for(lambda: self.shows(control) == picture,
                 lambda: "%s to show %r; it shows %r" % (control, picture, self.shows(control)))

    # ------------------------------------------------------------- input

    def move(self, control, dx=None, dy=None):
        self.x.move(*self.point(control, dx, dy))

    def press(self, button=LEFT):
        self.x.button(button, True)

    def release(self, button=LEFT):
        self.x.button(button, False)

    def click(self, control, dx=None, dy=None, button=LEFT):
        self.move(control, dx, dy)
        self.press(button)
        self.release(button)

    def sync(self):
        """Waits until the program has handled all input given so far: its
        system menu (Alt+Space, with the pointer over the window) opens only
        after that. The menu takes the mouse, which ends a drag without a
        release."""
        self.x.key("Alt_L", "space")
        menu = lambda: [w for w in self.own_windows() if not w.name and w.width > 1]  # noqa: E731
        wait_for(menu, "the system menu of %s" % self.program)
        self.x.key("Escape")  # closes the menu
        wait_for(lambda: not menu(), "the system menu of %s to close" % self.program)
        self.x.key("Escape")  # leaves the menu mode; input after it reaches the window

    # -------------------------------------------------------------- ends

    def running(self):
        if self.process:
            return self.process.poll() is None
        try:
            with open("/proc/%d/stat" % self.pid) as f:
                return f.read().rsplit(")", 1)[1].split()[0] != "Z"
        except OSError:
            return False

    def wait_exit(self):
        """Waits for the end; the exit code when the test started it."""
        wait_for(lambda: not self.running(), "%s to end" % self.program)
        return self.process.returncode if self.process else None

    def starts(self, disc_path=None):
        """Logged starts of the stand-ins (of one disc file, when given)."""
        return [s for s in self.log.lines()
                if disc_path is None or _names(s[0], self.disc, disc_path)]

    def wait_starts(self, disc_path, count):
        """Waits for count logged starts of disc_path (None: of anything)."""
        wait_for(lambda: len(self.starts(disc_path)) >= count,
                 lambda: "%d start(s) of %s; log: %s" % (count, disc_path or "anything",
                                                         self.log.lines()))
        return self.starts(disc_path)

    def stop(self):
        if self.running():
            try:
                os.kill(self.pid, signal.SIGKILL)
            except OSError:
                pass
        if self.process:
            self.process.wait()


def _names(command_line, disc, disc_path):
    """True when a logged command line starts the disc's file disc_path."""
    program = command_line.strip()
    program = program[1:].split('"', 1)[0] if program.startswith('"') else program.split(" ", 1)[0]
    full = (disc.windows_root + "\\" + disc_path).lower()
    return program.lower() in (full, disc_path.lower())


# -------------------------------------------------------------- test case


class Case(unittest.TestCase):
    """A test of the real programs: every program it starts is ended after
    it, and after it no program may have crashed and no disc may have
    changed."""

    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.session = Session.get()
        cls.x = cls.session.x

    def setUp(self):
        self.discs = [self.session.disc]
        self._programs = []
        self.addCleanup(self._after)

    def end_programs(self):
        """Ends every program the test started so far."""
        for p in self._programs:
            p.stop()
        self._programs = []
        self.session.kill_programs()

    def _after(self):
        for p in self._programs:
            p.stop()
        crashes = self.session.crash_dialogs()
        self.session.kill_programs()
        self.assertEqual(crashes, [], "a program crashed")
        for disc in self.discs:
            self.assertEqual(disc.changes(), [], "written to the disc %s" % disc.root)

    def stage_disc(self, **variant):
        disc = self.session.stage_disc(**variant)
        self.discs.append(disc)
        return disc

    def start(self, program, layout=None, disc=None, locale="en_US.UTF-8", version=None, log=None):
        """Starts a program with the disc's root as its current folder; with
        a layout, waits for that window."""
        p = Program.start(self.session, program, disc or self.session.disc, locale, version,
                          log or self.session.new_log())
        self._programs.append(p)
        return p.wait_window(layout) if layout else p

    def attach(self, program, layout, started_by):
        """The window of a program that another program started."""
        window = wait_for(
            lambda: next((w for w in self.x.windows()
                          if w.name == layout.caption and w.pid != started_by.pid), None),
            lambda: "a %s window started by %s; windows: %s" % (layout, started_by.program,
                                                                 self.x.windows()))
        p = Program(self.session, program, started_by.disc, started_by.log, window.pid)
        self._programs.append(p)
        return p.wait_window(layout)

    def assertShows(self, p, control, picture):
        self.assertEqual(p.shows(control), picture, "what %s shows" % control)

    def assertStartedFromRoot(self, p, starts):
        """Every logged start ran with the disc's root as its current folder."""
        self.assertTrue(starts)
        for command_line, folder in starts:
            self.assertEqual(folder.lower(), p.disc.windows_root.lower(), command_line)

    def assertOpensDocumentation(self, p, folder):
        """After a release of p's documentation button: the folder command,
        run with the disc's root as its current folder, or else the user
        guide page through the shell's handler for it, once; nothing of the
        other way, and the menu stays. Starts logged before are left alone."""
        page = '"%s" "%s\\%s"' % (self.session.page_standin, p.disc.windows_root, USER_GUIDE)

        def pages():
            return [s for s in p.starts() if s[0].startswith('"%s"' % self.session.page_standin)]

        if folder:
            wait_for(lambda: [x for x in self.session.programs()
                              if x[1] == FOLDER_COMMAND and x[2] == p.disc.root],
                     lambda: "%r in %s; running: %s" % (FOLDER_COMMAND, p.disc.root,
                                                        self.session.programs()))
            # Wine's CreateProcess fails when the new process dies before it
            # has started up: the folder window is ended only once the menu
            # is done with the release that started it.
            self.session.probe("idle", p.info["hwnd"])
            self.session.kill_programs(keep=[p.pid])
        else:
            wait_for(pages, lambda: "the user guide page; log: %s" % p.log.lines())
        # Every start has ended, so no folder window runs beside the page.
        self.session.quiesce(also_running=[p.pid])
        self.assertEqual(pages(), [] if folder else [(page, p.disc.windows_root)])
        self.assertTrue(p.running(), "the menu stays")
