"""Both programs without a mouse: real keystrokes, a screen reader's client
in a process of its own (msaa_client.c), and a dark high-contrast colour
scheme."""

import os
import queue
import subprocess
import threading
import unittest

import e2e
from e2e import CHOOSER, INSTALLER, MODEL_D, WIZARD, WIZARD_ZHCN, Case, wait_for

# Child ids of the focus order, as a screen reader numbers them.
MODEL_MENU_ORDER = ["imgManualInstallation", "imgDocumentation", "imgExit"]
CHOOSER_ORDER = ["imgManualInstallation", "imgSetupWizard", "imgDocumentation", "imgHelp",
                 "imgExit"]
NAMES = {
    WIZARD: ["Windows XP/Vista/7/8", "Documentation", "Exit", "V 2.0"],
    WIZARD_ZHCN: ["Windows XP/Vista/7/8", "用户手册", "退出", "V 2.0"],
    CHOOSER: ["NV-QX120E", "NV-QX120K", "NV-QX480K", "NV-WQX640K", "Exit"],
}
# Every menu window: the program, the user's locale that shows it, its layout.
WINDOWS = [("modelmenu", "en_US.UTF-8", WIZARD), ("modelmenu", "zh_CN.UTF-8", WIZARD_ZHCN),
           ("discmenu", "en_US.UTF-8", CHOOSER)]
MODEL_MENUS = [(locale, layout) for program, locale, layout in WINDOWS if program == "modelmenu"]
ROLE_CLIENT, ROLE_PUSHBUTTON, ROLE_STATICTEXT = 10, 43, 41
STATE_FOCUSED, STATE_HOTTRACKED, STATE_FOCUSABLE = 0x4, 0x80, 0x100000


def grey(control):
    names = dict(zip(CHOOSER_ORDER, ["NV-QX120E", "NV-QX120K", "NV-QX480K", "NV-WQX640K",
                                     "NV-EXIT"]))
    return "setup\\images\\enUS\\%s-grey.gif" % names[control]


def blue(control):
    return grey(control).replace("-grey", "-blue")


class Keys:
    """Keystrokes to a program's window: without a window manager it must
    be given the keyboard first."""

    def focus(self, p):
        subprocess.run(["xdotool", "windowfocus", "--sync", str(p.window.xid)],
                       env=dict(os.environ, DISPLAY=self.session.display), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=20)
        return p

    def key(self, *names):
        self.x.key(*names)


class Keyboard(Keys, Case):
    def test_the_model_menu_is_used_entirely_from_the_keyboard(self):
        for locale, layout in MODEL_MENUS:
            with self.subTest(window=layout.name):
                self.end_programs()
                p = self.start("modelmenu", layout, locale=locale, version="winxp")
                folder = layout.folder
                p.wait_shows("imgHelp", folder + "help.gif")
                self.focus(p)
                self.key("Tab")  # the installer: its help, as a hover inside
                p.wait_shows("imgHelp", folder + "ManualInstallationHelp.gif")
                self.key("Return")
                p.wait_starts(INSTALLER, 1)
                p.wait_shows("imgManualInstallation", folder + "Windows-XP-Vista-7.gif")
                self.key("Tab")  # the documentation
                p.wait_shows("imgHelp", folder + "documentationhelp.gif")
                self.key("space")
                p.wait_shows("imgDocumentation", folder + "Documentation.gif")
                self.assertOpensDocumentation(p, folder=False)
                self.key("Tab")  # exit: its hover empties the panel
                p.wait_shows("imgHelp", "")
                self.key("Shift_L", "Tab")  # back up: the exit hover had reset the flags
                p.wait_shows("imgHelp", folder + "documentationhelp.gif")
                self.key("Up")
                p.wait_shows("imgHelp", folder + "ManualInstallationHelp.gif")
                self.key("Up")  # wraps round to exit
                p.wait_shows("imgHelp", "")
                self.key("Return")
                self.assertEqual(p.wait_exit(), 0)
                self.assertEqual(len(p.starts(INSTALLER)), 1)

    def test_the_chooser_lights_the_focused_model_and_starts_it_from_the_keyboard(self):
        p = self.focus(self.start("discmenu", CHOOSER))
        self.key("Tab")
        p.wait_shows("imgManualInstallation", blue("imgManualInstallation"))
        for control in CHOOSER_ORDER[1:3]:
            previous = CHOOSER_ORDER[CHOOSER_ORDER.index(control) - 1]
            self.key("Down")
            p.wait_shows(control, blue(control))
            p.wait_shows(previous, grey(previous))  # left as the pointer leaves it
        self.key("Return")  # NV-QX480K: the model menu
        menu = self.attach("modelmenu", WIZARD, p)
        menu.wait_shows("imgHelp", "setup\\images\\help.gif")
        self.focus(menu)
        self.key("Escape")
        menu.wait_exit()
        self.focus(p)
        self.key("Down")
        p.wait_shows("imgHelp", blue("imgHelp"))
        self.key("space")  # NV-WQX640K
        p.wait_starts(MODEL_D, 1)
        self.key("Shift_L", "Tab")  # NV-QX480K
        self.key("Shift_L", "Tab")  # NV-QX120K
        self.key("Up")  # NV-QX120E
        p.wait_shows("imgManualInstallation", blue("imgManualInstallation"))
        self.key("Up")  # wraps round to exit
        p.wait_shows("imgExit", blue("imgExit"))
        self.key("Return")
        self.assertEqual(p.wait_exit(), 0)

    def test_escape_closes_each_window(self):
        for program, locale, layout in WINDOWS:
            with self.subTest(window=layout):
                self.end_programs()
                p = self.focus(self.start(program, layout, locale=locale))
                self.key("Escape")
                self.assertEqual(p.wait_exit(), 0)
                self.assertEqual(p.starts(), [])

    def test_the_focus_cue_shows_only_once_the_keyboard_is_used(self):
        p = self.start("discmenu", CHOOSER)
        ring = lambda control: self.ring(p, control)  # noqa: E731
        plain = {c: ring(c) for c in CHOOSER_ORDER}
        # A left press takes the focus along, but draws nothing.
        p.move("imgSetupWizard")
        p.press()
        p.wait_shows("imgSetupWizard", blue("imgSetupWizard"))
        self.x.move(*p.client_point(40, 440))  # off the button: the release starts nothing
        p.release()
        p.wait_shows("imgSetupWizard", grey("imgSetupWizard"))
        p.sync()
        self.assertEqual(ring("imgSetupWizard"), plain["imgSetupWizard"])
        self.focus(p)
        self.key("Tab")  # on from the pressed button
        p.wait_shows("imgDocumentation", blue("imgDocumentation"))
        wait_for(lambda: ring("imgDocumentation") != plain["imgDocumentation"],
                 "the focus rectangle around NV-QX480K")
        self.assertEqual(ring("imgSetupWizard"), plain["imgSetupWizard"])

    def ring(self, p, control):
        """The pixels two pixels outside a control, where the focus
        rectangle is drawn."""
        c = p.layout.controls[control]
        x, y = p.client_point(c.x - 2, c.y - 2)
        rows = self.x.grab(x, y, c.w + 4, c.h + 4)
        return [rows[0], rows[-1], [r[0] for r in rows], [r[-1] for r in rows]]


class ScreenReader(Keys, Case):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        exe = os.path.join(cls.session.temp, "msaa_client.exe")
        e2e.run([e2e.MINGW_CC, "-O2", "-Wall", "-Wextra", "-Werror", "-o", exe,
                 os.path.join(e2e.HERE, "msaa_client.c"), "-loleacc", "-lole32", "-loleaut32",
                 "-luuid"])
        cls.client = e2e.windows_path(exe)

    def ask(self, *args):
        return self.session.wine(self.client, *map(str, args))

    def tree(self, p):
        rows = []
        for line in self.ask("tree", p.info["hwnd"]).splitlines():
            f = line.split("\t")
            rows.append(dict(id=int(f[0]), role=int(f[1]), state=int(f[2], 16), name=f[3],
                             description=f[4], action=f[5], location=tuple(map(int, f[6:10]))))
        return rows

    def test_every_window_offers_its_buttons_named_in_focus_order_at_their_places(self):
        for program, locale, layout in WINDOWS:
            with self.subTest(window=layout):
                self.end_programs()
                p = self.start(program, layout, locale=locale)
                window, *children = self.tree(p)
                self.assertEqual((window["role"], window["name"]), (ROLE_CLIENT, layout.caption))
                self.assertEqual(window["location"], p.origin + layout.client)
                self.assertEqual([c["name"] for c in children], NAMES[layout])
                order = CHOOSER_ORDER if layout is CHOOSER else MODEL_MENU_ORDER + ["Label1"]
                for child, control in zip(children, order):
                    c = layout.controls[control]
                    self.assertEqual(child["location"], p.client_point(c.x, c.y) + (c.w, c.h),
                                     control)
                    if control == "Label1":
                        self.assertEqual(child["role"], ROLE_STATICTEXT)
                        continue
                    self.assertEqual((child["role"], child["action"]), (ROLE_PUSHBUTTON, "Press"))
                    self.assertTrue(child["description"], control)
                    self.assertEqual(child["state"] & ~STATE_HOTTRACKED, STATE_FOCUSABLE)
                    # The client's hit test at the button's middle finds it.
                    self.assertEqual(self.ask("hit", p.info["hwnd"], *p.point(control)).strip(),
                                     str(child["id"]))
                self.assertEqual(self.ask("hit", p.info["hwnd"], *p.client_point(5, 5)).strip(),
                                 "0", "the background is the window itself")

    def test_states_follow_the_focus_and_the_pointer(self):
        p = self.focus(self.start("discmenu", CHOOSER))
        self.assertEqual(self.ask("focus", p.info["hwnd"]).strip(), "0")
        self.key("Tab")
        self.key("Tab")
        p.wait_shows("imgSetupWizard", blue("imgSetupWizard"))
        states = {c["id"]: c["state"] for c in self.tree(p)[1:]}
        self.assertEqual(states[2], STATE_FOCUSABLE | STATE_FOCUSED)
        self.assertEqual(self.ask("focus", p.info["hwnd"]).strip(), "2")
        p.move("imgHelp")
        p.wait_shows("imgHelp", blue("imgHelp"))
        states = {c["id"]: c["state"] for c in self.tree(p)[1:]}
        self.assertEqual(states[4], STATE_FOCUSABLE | STATE_HOTTRACKED)
        self.assertEqual(states[2], STATE_FOCUSABLE | STATE_FOCUSED)

    def test_the_default_action_of_each_button_does_what_its_click_does(self):
        menu = self.start("modelmenu", WIZARD, version="vista")
        menu.wait_shows("imgHelp", "setup\\images\\help.gif")
        self.ask("do", menu.info["hwnd"], 1)
        menu.wait_starts(INSTALLER, 1)
        self.ask("do", menu.info["hwnd"], 2)
        menu.wait_shows("imgHelp", "setup\\images\\documentationhelp.gif")  # focused first
        self.assertOpensDocumentation(menu, folder=False)
        self.ask("do", menu.info["hwnd"], 3)
        self.assertEqual(menu.wait_exit(), 0)

        chooser = self.start("discmenu", CHOOSER)
        self.ask("do", chooser.info["hwnd"], 4)
        chooser.wait_starts(MODEL_D, 1)
        self.ask("do", chooser.info["hwnd"], 3)
        model = self.attach("modelmenu", WIZARD, chooser)
        model.wait_shows("imgHelp", "setup\\images\\help.gif")
        self.ask("do", model.info["hwnd"], 3)
        model.wait_exit()
        self.ask("do", chooser.info["hwnd"], 5)
        self.assertEqual(chooser.wait_exit(), 0)
        self.assertEqual([s[0] for s in chooser.starts(MODEL_D)], ['"%s"' % MODEL_D])

    def test_a_client_out_of_context_hears_the_focus_move(self):
        p = self.start("modelmenu", WIZARD_ZHCN, locale="zh_CN.UTF-8")
        listener = subprocess.Popen([e2e.WINE, self.client, "events", str(p.info["pid"])],
                                    env=self.session.env(), stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        lines = queue.Queue()
        reader = threading.Thread(target=lambda: [lines.put(l) for l in listener.stdout],
                                  daemon=True)
        reader.start()

        def next_line(what):
            try:
                return lines.get(timeout=e2e.DEADLINE).decode("utf-8").rstrip("\r\n")
            except queue.Empty:
                raise e2e.Timeout("no line from the listener: %s" % what) from None

        try:
            self.assertEqual(next_line("the listener"), "listening")
            self.focus(p)
            heard = []
            for _ in range(3):
                self.key("Tab")
                f = next_line("a focus event").split("\t")
                heard.append((f[2], f[3]))
            self.assertEqual(heard, [("1", "Windows XP/Vista/7/8"), ("2", "用户手册"),
                                     ("3", "退出")])
        finally:
            listener.stdin.close()
            try:
                listener.wait(10)
            except subprocess.TimeoutExpired:
                listener.kill()
                listener.wait()


class ColourSchemes(Case):
    # A dark high-contrast scheme: white text on black.
    SCHEME = {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "0 0 0",
              "ButtonText": "255 255 255", "GrayText": "0 255 0", "Highlight": "0 0 255",
              "HighlightText": "255 255 255"}
    KEY = "HKCU\\Control Panel\\Colors"

    def use_scheme(self):
        before = {}
        for line in self.session.wine("reg", "query", self.KEY).splitlines():
            f = line.split()
            if len(f) >= 3 and f[0] in self.SCHEME and f[1] == "REG_SZ":
                before[f[0]] = " ".join(f[2:])
        self.addCleanup(self.restore, before)
        for name, value in self.SCHEME.items():
            self.session.wine("reg", "add", self.KEY, "/v", name, "/d", value, "/f")

    def restore(self, before):
        for name in self.SCHEME:
            if name in before:
                self.session.wine("reg", "add", self.KEY, "/v", name, "/d", before[name], "/f")
            else:
                self.session.wine("reg", "delete", self.KEY, "/v", name, "/f")

    def test_the_version_label_stays_legible_in_a_dark_high_contrast_scheme(self):
        self.use_scheme()
        self.assertEqual(self.session.probe("colors").split()[:2], ["ffffff", "000000"],
                         "button text and window ground as the programs see them")
        for locale, layout in MODEL_MENUS:
            with self.subTest(window=layout.name):
                self.end_programs()
                p = self.start("modelmenu", layout, locale=locale)
                p.wait_shows("imgHelp", layout.folder + "help.gif")
                c = layout.controls["Label1"]
                x, y = p.client_point(c.x, c.y)
                pixels = [px for row in self.x.grab(x, y, c.w, c.h) for px in row]
                ink = [px for px in pixels if sum(px) < 3 * 100]
                ground = [px for px in pixels if min(px) > 240]
                self.assertGreater(len(ink), 15, "dark text on the label")
                self.assertGreater(len(ground), len(pixels) // 2, "its white ground")


if __name__ == "__main__":
    unittest.main()
