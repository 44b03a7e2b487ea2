"""The model menu's two windows, driven by the real pointer: the help
panel, the installer and documentation buttons, the pointer shapes."""

import unittest

from e2e import INSTALLER, LEFT, MIDDLE, RIGHT, WIZARD, WIZARD_ZHCN, Case, wait_for

INSTALLER_BUTTON = "imgManualInstallation"
DOCUMENTATION = "imgDocumentation"
HELP = "imgHelp"
EXIT = "imgExit"


class ModelMenuWindow:
    """The tests of one window; the subclasses say which."""

    LOCALE = None
    LAYOUT = None
    # Pixel offsets from the installer's left edge where a drag that began
    # on it is released: (offset, help still shown, installer started).
    RELEASE_POINTS = ()

    def picture(self, name):
        return self.LAYOUT.folder + name

    def open_menu(self, **kw):
        p = self.start("modelmenu", self.LAYOUT, locale=self.LOCALE, **kw)
        p.wait_shows(HELP, self.picture("help.gif"))
        return p

    def test_hover_shows_each_buttons_help_once_until_another_button_shows_its_own(self):
        p = self.open_menu()
        steps = [
            (INSTALLER_BUTTON, "ManualInstallationHelp.gif"),
            (DOCUMENTATION, "documentationhelp.gif"),
            (INSTALLER_BUTTON, "ManualInstallationHelp.gif"),
            (DOCUMENTATION, "documentationhelp.gif"),  # loaded again: the installer reset it
            (EXIT, None),  # the exit hover empties the panel
            (DOCUMENTATION, "documentationhelp.gif"),
            (EXIT, None),
        ]
        for control, help_picture in steps:
            p.move(control)
            p.wait_shows(HELP, self.picture(help_picture) if help_picture else "")

    def test_after_a_drag_out_of_the_box_the_help_stays_away_until_the_exit_hover(self):
        p = self.open_menu()
        p.move(INSTALLER_BUTTON, 10)
        p.wait_shows(HELP, self.picture("ManualInstallationHelp.gif"))
        p.press()
        p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7-1.gif"))
        p.move(INSTALLER_BUTTON, 10, 40)  # below the button, still held by it
        p.wait_shows(HELP, "")
        p.move(INSTALLER_BUTTON, 10)  # back inside: its help was shown already
        p.release()
        p.wait_starts(INSTALLER, 1)  # the release ran after the move
        self.assertShows(p, HELP, "")
        p.move(INSTALLER_BUTTON, 20)  # a plain hover inside: still nothing
        p.press()
        p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7-1.gif"))
        self.assertShows(p, HELP, "")
        p.release()
        p.wait_starts(INSTALLER, 2)
        p.move(EXIT)  # resets the flags; the panel is empty already
        p.sync()
        p.move(INSTALLER_BUTTON, 10)
        p.wait_shows(HELP, self.picture("ManualInstallationHelp.gif"))

    def test_a_drag_released_along_the_installer_starts_it_inside_its_release_box_only(self):
        p = self.open_menu()
        started = 0
        for offset, help_shown, starts in self.RELEASE_POINTS:
            with self.subTest(offset=offset):
                p.move(DOCUMENTATION)  # its help resets the installer's
                p.wait_shows(HELP, self.picture("documentationhelp.gif"))
                p.move(INSTALLER_BUTTON, 10)
                p.wait_shows(HELP, self.picture("ManualInstallationHelp.gif"))
                p.press()
                p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7-1.gif"))
                p.move(INSTALLER_BUTTON, offset)
                p.release()
                p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7.gif"))
                self.assertShows(p, HELP, self.picture("ManualInstallationHelp.gif")
                                 if help_shown else "")
                if not starts:
                    # Were this release to start it, that start would come
                    # before the one of a click that follows.
                    p.click(INSTALLER_BUTTON, 0)
                started += 1
                p.wait_starts(INSTALLER, started)
                self.session.quiesce(also_running=[p.pid])
                self.assertEqual(len(p.starts()), started)
        self.assertStartedFromRoot(p, p.starts())

    def test_every_mouse_button_starts_the_installer_once_a_release(self):
        p = self.open_menu()
        for count, button in enumerate([LEFT, RIGHT, MIDDLE, LEFT], 1):
            with self.subTest(button=button):
                p.move(INSTALLER_BUTTON)
                p.press(button)
                p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7-1.gif"))
                p.release(button)
                p.wait_shows(INSTALLER_BUTTON, self.picture("Windows-XP-Vista-7.gif"))
                p.wait_starts(INSTALLER, count)
        self.session.quiesce(also_running=[p.pid])
        self.assertEqual(len(p.starts()), 4)
        self.assertStartedFromRoot(p, p.starts())
        self.assertTrue(p.running(), "the menu stays")

    def test_documentation_opens_the_folder_on_windows_7_and_8_and_the_page_elsewhere(self):
        cases = [("winxp", "click"), ("vista", "click"), ("win7", "click"), ("win8", "click"),
                 ("vista", "drag off"), ("win7", "drag off")]
        for version, gesture in cases:
            with self.subTest(version=version, gesture=gesture):
                self.end_programs()
                p = self.open_menu(version=version)
                p.move(DOCUMENTATION)
                p.press()
                p.wait_shows(DOCUMENTATION, self.picture("Documentationdown.gif"))
                if gesture == "drag off":
                    self.x.move(5, 5)  # off the window
                p.release()
                p.wait_shows(DOCUMENTATION, self.picture("Documentation.gif"))
                self.assertOpensDocumentation(p, folder=version in ("win7", "win8"))

    def test_buttons_show_the_hand_and_everything_else_the_arrow(self):
        p = self.open_menu()
        # Hand and arrow by turns, so that each check sees a change.
        points = [(INSTALLER_BUTTON, None, True), (HELP, None, False),
                  (DOCUMENTATION, None, True), ("Label1", None, False),
                  (EXIT, None, True), (None, (5, 5), False),
                  (INSTALLER_BUTTON, (0, 0), True), (None, (320, 120), False)]
        for control, offset, hand in points:
            with self.subTest(control=control, offset=offset):
                if control:
                    p.move(control, *(offset or (None, None)))
                else:
                    self.x.move(*p.client_point(*offset))
                expected = self.session.hand if hand else self.session.arrow
                wait_for(lambda: self.x.cursor() == expected,
                         lambda: "the %s; the cursor is %s" % ("hand" if hand else "arrow",
                                                              self.x.cursor()))


class English(ModelMenuWindow, Case):
    LOCALE = "en_US.UTF-8"
    LAYOUT = WIZARD
    # The installer is 198 px wide; its hover box is 3270 twips (218 px),
    # its release box 2805 twips (offset 187 is exactly 2805).
    RELEASE_POINTS = ((0, True, True), (187, True, True), (188, True, False),
                      (197, True, False), (210, True, False), (218, True, False),
                      (219, False, False))


class SimplifiedChinese(ModelMenuWindow, Case):
    LOCALE = "zh_CN.UTF-8"
    LAYOUT = WIZARD_ZHCN
    # The installer is 196 px wide; its hover box is 2730 twips (offset
    # 182), its release box 3285 twips (offset 219).
    RELEASE_POINTS = ((182, True, True), (183, False, True), (195, False, True),
                      (219, False, True), (220, False, False))


if __name__ == "__main__":
    unittest.main()
