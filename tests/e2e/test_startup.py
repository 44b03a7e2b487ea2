"""Start-up and closing of both programs: which window each shows under
which language, where, with what at first, and every way to close it."""

from e2e import CHOOSER, LEFT, SCREEN, WIZARD, WIZARD_ZHCN, Case, wait_for

# A client pixel on the background of each window, away from every control.
BACKGROUND_POINT = (600, 30)


class StartUp(Case):
    def test_each_program_shows_its_window_for_the_users_language_centred_and_alone(self):
        cases = [
            ("modelmenu", "en_US.UTF-8", WIZARD, "setup\\images\\help.gif"),
            ("modelmenu", "zh_TW.UTF-8", WIZARD, "setup\\images\\help.gif"),
            ("modelmenu", "zh_CN.UTF-8", WIZARD_ZHCN, "setup\\images\\zhCN\\help.gif"),
            ("discmenu", "en_US.UTF-8", CHOOSER, None),
            ("discmenu", "zh_TW.UTF-8", CHOOSER, None),
            ("discmenu", "zh_CN.UTF-8", CHOOSER, None),
        ]
        for program, locale, layout, help_picture in cases:
            with self.subTest(program=program, locale=locale):
                self.end_programs()
                p = self.start(program, layout, locale=locale)
                # Wine draws the frame itself: the X window is the frame.
                left, top, width, height = p.info["frame"]
                self.assertEqual(p.info["client"], layout.client)
                self.assertEqual((left, top), ((SCREEN[0] - width) // 2, (SCREEN[1] - height) // 2),
                                 "the frame is centred on the screen")
                # The window is fully drawn once the load's picture shows.
                if help_picture:
                    p.wait_shows("imgHelp", help_picture)
                background = layout.background_at(*BACKGROUND_POINT)
                wait_for(lambda: self.x.pixel(*p.client_point(*BACKGROUND_POINT)) == background,
                         "the built-in background %s" % (background,))
                self.assertEqual([w.xid for w in self.x.windows()], [p.window.xid],
                                 "no other window on the screen")


class Closing(Case):
    def exit_button(self, p):
        p.click("imgExit")

    def close_button(self, p):
        # Asked again if the probe finds no answer once; a window without a
        # close button fails every time, with the probe's reason.
        point = self.session.probe("close-point", p.info["hwnd"], repeat_any=True)
        x, y = map(int, point.split())
        self.x.move(x, y)
        self.x.button(LEFT, True)
        self.x.button(LEFT, False)

    def alt_f4(self, p):
        p.move("imgExit", 0, -30)  # keys go to the window under the pointer
        self.x.key("Alt_L", "F4")

    def test_the_exit_button_and_the_close_of_the_window_end_the_program(self):
        cases = [
            ("modelmenu", "en_US.UTF-8", WIZARD, self.exit_button),
            ("modelmenu", "zh_CN.UTF-8", WIZARD_ZHCN, self.exit_button),
            ("discmenu", "en_US.UTF-8", CHOOSER, self.exit_button),
            ("modelmenu", "en_US.UTF-8", WIZARD, self.alt_f4),
            ("modelmenu", "zh_CN.UTF-8", WIZARD_ZHCN, self.close_button),
            ("discmenu", "en_US.UTF-8", CHOOSER, self.alt_f4),
            ("discmenu", "en_US.UTF-8", CHOOSER, self.close_button),
        ]
        for program, locale, layout, close in cases:
            with self.subTest(program=program, locale=locale, way=close.__name__):
                self.end_programs()
                p = self.start(program, layout, locale=locale)
                close(p)
                self.assertEqual(p.wait_exit(), 0)
                self.assertEqual(self.x.windows(), [], "no window is left")
                self.assertEqual(p.starts(), [])
