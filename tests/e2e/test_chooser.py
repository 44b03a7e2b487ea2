"""The model chooser (discmenu), driven by the real pointer: lighting by
hover, the reset zones, starting the models' programs, the pointer shapes."""

import unittest

from e2e import CHOOSER, MIDDLE, MODEL_AB, MODEL_D, RIGHT, WIZARD, Case, wait_for

# Models A to D and the exit button.
A, B, C, D = "imgManualInstallation", "imgSetupWizard", "imgDocumentation", "imgHelp"
EXIT = "imgExit"
PICTURES = {A: "NV-QX120E", B: "NV-QX120K", C: "NV-QX480K", D: "NV-WQX640K", EXIT: "NV-EXIT"}


def grey(button):
    return "setup\\images\\enUS\\%s-grey.gif" % PICTURES[button]


def blue(button):
    return "setup\\images\\enUS\\%s-blue.gif" % PICTURES[button]


class Chooser(Case):
    def open_chooser(self):
        return self.start("discmenu", CHOOSER)

    def zone_point(self, p, zone):
        """The middle of a zone, checked to hit that zone and nothing before it."""
        c = CHOOSER.controls[zone]
        x, y = c.centre()
        self.assertEqual(CHOOSER.hit(x, y), zone)
        return p.client_point(x, y)

    def test_hover_lights_each_button_and_each_reset_zone_puts_its_neighbours_back(self):
        p = self.open_chooser()
        zones = {"Image1": {A, B}, "Image2": {C, D}, "Image3": {A, B}, "Image4": {C, D},
                 "Image5": {A}, "Image6": {D}, "Image7": {A, B}, "Image8": {B, C},
                 "Image9": {C, D}, "Image10": {EXIT}, "Image11": {EXIT}, "Image12": {EXIT},
                 "Image13": {EXIT}}
        for zone, reset in zones.items():
            with self.subTest(zone=zone):
                for button in (EXIT, A, B, C, D):
                    p.move(button)
                    p.wait_shows(button, blue(button))
                self.x.move(*self.zone_point(p, zone))
                for button in reset:
                    p.wait_shows(button, grey(button))
                p.sync()
                for button in PICTURES:
                    self.assertShows(p, button, grey(button) if button in reset else blue(button))

    def test_a_left_release_on_a_model_starts_its_program_from_the_discs_root(self):
        p = self.open_chooser()
        for count, (button, program) in enumerate([(A, MODEL_AB), (B, MODEL_AB), (D, MODEL_D)]):
            with self.subTest(model=button):
                p.click(button)
                p.wait_shows(button, grey(button))
                p.wait_starts(program, 1 + (count == 1))
        self.session.quiesce(also_running=[p.pid])
        self.assertEqual([s[0] for s in p.starts()],
                         ['"%s"' % MODEL_AB, '"%s"' % MODEL_AB, '"%s"' % MODEL_D])
        self.assertStartedFromRoot(p, p.starts())

    def test_model_c_starts_the_model_menu_which_finds_its_pictures(self):
        p = self.open_chooser()
        p.click(C)
        menu = self.attach("modelmenu", WIZARD, started_by=p)
        menu.wait_shows("imgHelp", "setup\\images\\help.gif")
        menu.move("imgManualInstallation")
        menu.wait_shows("imgHelp", "setup\\images\\ManualInstallationHelp.gif")
        menu.click("imgExit")
        menu.wait_exit()
        self.assertTrue(p.running(), "the chooser stays")
        p.move(A)
        p.wait_shows(A, blue(A))

    def test_other_mouse_buttons_start_nothing(self):
        p = self.open_chooser()
        for button, mouse in [(A, RIGHT), (B, RIGHT), (C, RIGHT), (D, RIGHT), (A, MIDDLE)]:
            with self.subTest(model=button, mouse=mouse):
                p.move(button)
                p.wait_shows(button, blue(button))
                p.press(mouse)
                p.release(mouse)
                p.wait_shows(button, grey(button))
        # Were one of them to start something, it would start before this.
        p.click(D)
        p.wait_starts(MODEL_D, 1)
        self.session.quiesce(also_running=[p.pid])
        self.assertEqual([s[0] for s in p.starts()], ['"%s"' % MODEL_D])

    def test_a_model_dragged_off_and_back_stays_normal_and_a_release_there_starts_it(self):
        p = self.open_chooser()
        p.move(D)
        p.wait_shows(D, blue(D))
        for release in (False, True):
            with self.subTest(release=release):
                p.press()
                p.wait_shows(D, blue(D))
                p.move(D, 80, 50)  # below the button, still held by it
                p.wait_shows(D, grey(D))
                p.move(D)
                if release:
                    p.release()
                    p.wait_starts(MODEL_D, 1)
                else:
                    p.sync()  # ends the drag without a release
                    self.assertShows(p, D, grey(D))
                    p.release()
        self.session.quiesce(also_running=[p.pid])
        self.assertEqual(len(p.starts()), 1)

    def test_buttons_show_the_hand_and_zones_and_background_the_arrow(self):
        p = self.open_chooser()
        points = [(A, True), ("Image7", False), (B, True), ((40, 440), False), (EXIT, True),
                  ("Image10", False), (D, True), ("Image6", False)]
        for where, hand in points:
            with self.subTest(where=where):
                if isinstance(where, tuple):
                    self.x.move(*p.client_point(*where))
                elif where.startswith("Image"):
                    self.x.move(*self.zone_point(p, where))
                else:
                    p.move(where)
                expected = self.session.hand if hand else self.session.arrow
                wait_for(lambda: self.x.cursor() == expected,
                         lambda: "the %s; the cursor is %s" % ("hand" if hand else "arrow",
                                                              self.x.cursor()))


if __name__ == "__main__":
    unittest.main()
