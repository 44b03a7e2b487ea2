"""The programs on a damaged disc: a missing busy cursor, missing and
corrupt pictures, a missing installer. Every disc is read-only and must be
left as it was; no program may crash."""

import struct
import unittest

from e2e import (BUSY_CURSOR, CHOOSER, COLOUR, INSTALLER, WIZARD, WIZARD_ZHCN, Case, gif)

MODEL_MENU_EN = ("modelmenu", "en_US.UTF-8", WIZARD)
MODEL_MENU_ZH = ("modelmenu", "zh_CN.UTF-8", WIZARD_ZHCN)
CHOOSER_EN = ("discmenu", "en_US.UTF-8", CHOOSER)
HELP = "setup\\images\\help.gif"


def hover(control, picture=None):
    """A step: the pointer onto a control, then (when given) what it shows."""
    return ("hover", control, picture)


def click(control):
    return ("click", control, None)


def corrupt(path, how):
    """The picture of path spoilt in one way."""
    data = gif((390, 73), COLOUR[path])
    if how == "not a GIF":
        return b"JFIF" + data[4:]
    if how == "no image":
        return data[:13 + 6]  # the header and part of the colour table
    if how == "cut short":
        return data[:-8]
    if how == "65535 x 65535":
        # The screen and the image both that large; the image descriptor
        # follows the colour table and any extension blocks.
        at = 13 + (3 << ((data[10] & 7) + 1) if data[10] & 0x80 else 0)
        while data[at] == 0x21:
            at += 2
            while data[at]:
                at += data[at] + 1
            at += 1
        assert data[at] == 0x2C
        size = struct.pack("<HH", 65535, 65535)
        return data[:6] + size + data[10:at + 5] + size + data[at + 9:]
    raise ValueError(how)


class DamagedDisc(Case):
    def run_steps(self, p, layout, steps):
        for kind, control, picture in steps:
            if p.layout is None:
                p.wait_window(layout)
            if kind == "click":
                p.click(control)
            else:
                p.move(control)
                if picture:
                    p.wait_shows(control, picture)

    def assert_reported(self, p, error, path):
        title, text = p.wait_message_box()
        self.assertEqual((title, text), (p.program, "Run-time error %s: %s" % (error, path)))
        self.x.key("Return")
        p.wait_exit()
        self.assertEqual(p.own_windows(), [])

    def test_without_the_busy_cursor_hover_works_and_the_first_press_ends_the_program(self):
        disc = self.stage_disc(remove=[BUSY_CURSOR])
        cases = [  # a hover, the picture it shows where, the button then pressed
            (MODEL_MENU_EN, "imgDocumentation", "imgHelp", "setup\\images\\documentationhelp.gif",
             "imgManualInstallation"),
            (CHOOSER_EN, "imgManualInstallation", "imgManualInstallation",
             "setup\\images\\enUS\\NV-QX120E-blue.gif", "imgDocumentation"),
        ]
        for (program, locale, layout), hovered, control, picture, pressed in cases:
            with self.subTest(program=program):
                self.end_programs()
                p = self.start(program, layout, disc=disc, locale=locale)
                p.move(hovered)
                p.wait_shows(control, picture)
                p.move(pressed)
                p.press()
                p.wait_exit()  # a message box would hold it
                p.release()
                self.assertEqual(p.starts(), [])

    def test_a_missing_picture_is_reported_with_its_path_and_ends_the_program(self):
        cases = [
            (MODEL_MENU_EN, HELP, []),
            (MODEL_MENU_ZH, "setup\\images\\zhCN\\documentationhelp.gif",
             [hover("imgDocumentation")]),
            (MODEL_MENU_EN, "setup\\images\\Windows-XP-Vista-7-1.gif",
             [click("imgManualInstallation")]),
            (CHOOSER_EN, "setup\\images\\enUS\\NV-WQX640K-blue.gif", [hover("imgHelp")]),
            # Image7 puts model A back, then model B's missing picture.
            (CHOOSER_EN, "setup\\images\\enUS\\NV-QX120K-grey.gif",
             [hover("imgManualInstallation", "setup\\images\\enUS\\NV-QX120E-blue.gif"),
              hover("Image7")]),
        ]
        for (program, locale, layout), missing, steps in cases:
            with self.subTest(program=program, missing=missing):
                self.end_programs()
                disc = self.stage_disc(remove=[missing])
                p = self.start(program, disc=disc, locale=locale)
                self.run_steps(p, layout, steps)
                self.assert_reported(p, "'53': File not found", missing)

    def test_a_corrupt_picture_is_reported_as_an_invalid_picture(self):
        for how in ("not a GIF", "no image", "cut short", "65535 x 65535"):
            with self.subTest(picture=how):
                self.end_programs()
                disc = self.stage_disc(replace={HELP: corrupt(HELP, how)})
                p = self.start("modelmenu", disc=disc)
                self.assert_reported(p, "'481': Invalid picture", HELP)

    def test_without_the_installer_its_button_does_nothing_and_the_menu_goes_on(self):
        disc = self.stage_disc(remove=[INSTALLER])
        p = self.start("modelmenu", WIZARD, disc=disc)
        p.click("imgManualInstallation")
        p.wait_shows("imgManualInstallation", "setup\\images\\Windows-XP-Vista-7.gif")
        p.move("imgDocumentation")
        p.wait_shows("imgHelp", "setup\\images\\documentationhelp.gif")
        self.assertEqual([w.xid for w in self.x.windows()], [p.window.xid])
        p.click("imgExit")
        self.assertEqual(p.wait_exit(), 0)
        self.assertEqual(p.starts(), [])


if __name__ == "__main__":
    unittest.main()
