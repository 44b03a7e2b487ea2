#!/usr/bin/python3
"""The demo for a machine without a screen: a scripted tour of the demo
disc's menus in a Wine desktop on a virtual X display, written as one
picture a step and one animated GIF of the whole tour.

The tour starts the model chooser from the disc root, points at each
model, clicks NV-QX480K, points at each button of the model menu that
opens, moves the keyboard focus onto the installer with Tab, clicks the
installer (the demo disc's stand-in), closes both, starts
the model menu as a Chinese (PRC) Windows shows it, points at its buttons
and moves its focus with Tab, moves the chooser's focus with Down, and
closes everything with the exit buttons. Before each picture is taken the step is checked on
the screen: the window it expects, by its caption and size, and the change
that the pointer should bring (a lit model button, another help picture).
The first step that does not show what it should ends the tour with a
message that names it, and the exit status is 1.

    tour.py --wine WINE --disc DISC [--out DIR] [--pictures DIR NAME=STEP ...]
            [--deadline SECONDS]

--pictures also writes the README's pictures: each named step cropped to
its window and a margin of the desktop, in a small palette PNG.

Left to others: tools/tour.sh starts the display, prepares the Wine prefix
and stops both whatever happens (tools/wine-env.sh picks Wine and the
build); the programs' behaviour in detail is the end-to-end suite's.
"""

import argparse
import os
import re
import subprocess
import sys
import time

from PIL import Image, ImageChops, ImageDraw, ImageFont, ImageGrab

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import xdisplay  # noqa: E402  (the pointer, keys and cursor image over XTest and XFixes)

DESKTOP = (800, 600)  # the Wine desktop, the screen of the PC that the tour shows
PARK = (770, 24)  # where the pointer rests, on the desktop off every window
DEADLINE = 20.0  # seconds that any one awaited change may take on a loaded machine
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
BAR = 32  # height of the caption bar under each frame of the GIF


class Menu:
    """A menu window as the user sees it: caption, client size and the
    places of its controls, in client pixels (menu/layouts.h has them in
    twips)."""

    def __init__(self, what, caption, client, controls):
        self.what, self.caption, self.client = what, caption, client
        self.controls = controls


MODELS = ("NV-QX120E", "NV-QX120K", "NV-QX480K", "NV-WQX640K")
CHOOSER = Menu("the model chooser", "Norvane", (640, 479), {
    "NV-QX120E": (388, 207, 160, 34),
    "NV-QX120K": (388, 247, 160, 34),
    "NV-QX480K": (388, 287, 160, 34),
    "NV-WQX640K": (388, 327, 160, 34),
    "exit": (537, 413, 49, 25),
})
MODEL_MENU = Menu("the model menu", "Ondrix", (640, 479), {
    "installer": (34, 253, 198, 22),
    "documentation": (38, 358, 131, 22),
    "exit": (36, 417, 131, 22),
    "help": (226, 366, 390, 73),
})
MODEL_MENU_ZHCN = Menu("the Chinese model menu", "Ondrix", (639, 472), {
    "installer": (38, 257, 196, 22),
    "documentation": (38, 360, 82, 22),
    "exit": (38, 421, 45, 22),
    "help": (231, 358, 386, 80),
})
STANDIN = "Demo disc stand-in"  # the caption of the stand-ins' message box


class Failure(Exception):
    pass


class Window:
    """A shown window: its frame on the screen and, for a menu, its client."""

    def __init__(self, xid, x, y, width, height, menu=None):
        self.xid, self.x, self.y, self.width, self.height = xid, x, y, width, height
        self.menu = menu

    def frame(self):
        return self.width - self.menu.client[0], self.height - self.menu.client[1]

    def rect(self, name):
        """A control's rectangle on the screen: the client lies in the
        frame's bottom middle, inside an even border."""
        border = (self.width - self.menu.client[0]) // 2
        x, y, w, h = self.menu.controls[name]
        top = self.y + self.height - self.menu.client[1] - border
        return self.x + border + x, top + y, w, h

    def point(self, name):
        """Where the pointer goes on a control: its middle."""
        x, y, w, h = self.rect(name)
        return x + w // 2, y + h // 2


def differing(a, b):
    """The share of pixels of two pictures of one size that differ visibly
    in any colour."""
    r, g, b = ImageChops.difference(a, b).split()
    most = ImageChops.lighter(ImageChops.lighter(r, g), b)
    return most.point(lambda v: 255 if v > 24 else 0).histogram()[255] / (a.width * a.height)


class Tour:
    def __init__(self, wine, disc, out):
        self.wine, self.disc, self.out = wine, disc, out
        self.display = xdisplay.Display(os.environ["DISPLAY"])
        self.pointer = None
        self.frame = None  # the chooser's frame size, which every menu window shares
        self.steps = []  # (file, what it shows, the window it shows)
        self.log = open(os.path.join(out, "wine.log"), "wb")
        self.started = []

    def close(self):
        for p in self.started:
            if p.poll() is None:
                p.kill()
            p.wait()
        self.log.close()
        self.display.close()

    # ---------------------------------------------------------- programs

    def start(self, program, locale="en_US.UTF-8"):
        """Starts a program of the disc in the tour's Wine desktop, from the
        disc root, as the disc's auto-start does."""
        size = "%dx%d" % DESKTOP
        self.started.append(subprocess.Popen(
            [self.wine, "explorer", "/desktop=tour," + size, program], cwd=self.disc,
            env=dict(os.environ, LC_ALL=locale), stdin=subprocess.DEVNULL, stdout=self.log,
            stderr=self.log))

    def windows(self, caption):
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                            "^%s$" % re.escape(caption)], capture_output=True, text=True)
        found = []
        for xid in r.stdout.split():
            info = subprocess.run(["xwininfo", "-id", xid], capture_output=True, text=True).stdout
            values = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(-?\d+)\s*$", info, re.M))
            keys = ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")
            if all(k in values for k in keys):
                found.append(Window(xid, *(int(values[k]) for k in keys)))
        return found

    def await_window(self, caption, what, after, menu=None):
        """The one window of this caption, once it is shown."""
        deadline = time.monotonic() + DEADLINE
        while True:
            found = self.windows(caption)
            if len(found) == 1:
                break
            if len(found) > 1:
                raise Failure("%d windows named '%s' after %s, where %s should be the only one"
                              % (len(found), caption, after, what))
            if time.monotonic() > deadline:
                raise Failure("%s (window '%s') did not appear within %.0f s after %s"
                              % (what, caption, DEADLINE, after))
            time.sleep(0.1)
        window = found[0]
        window.menu = menu
        if menu:
            self.check_frame(window)
        return window

    def await_gone(self, caption, what, after):
        self.wait_for(lambda: not self.windows(caption),
                      "%s (window '%s') was still shown %.0f s after %s"
                      % (what, caption, DEADLINE, after))

    def check_frame(self, window):
        """A menu window is its client size inside the frame that every
        window of its kind has; the chooser, shown first, sets that frame."""
        fw, fh = window.frame()
        if self.frame is None:
            if not (0 <= fw <= 20 and fw % 2 == 0 and fh - fw // 2 >= 12):
                raise Failure("%s's window is %dx%d: no frame with a caption around a %dx%d client"
                              % (window.menu.what, window.width, window.height,
                                 *window.menu.client))
            self.frame = (fw, fh)
        elif (fw, fh) != self.frame:
            raise Failure("%s's window is %dx%d, not a %dx%d client in the chooser's frame"
                          % (window.menu.what, window.width, window.height, *window.menu.client))

    # ------------------------------------------------------------ screen

    def screen(self):
        return ImageGrab.grab(bbox=(0, 0) + DESKTOP).convert("RGB")

    def look(self, window, name, screen=None):
        x, y, w, h = window.rect(name)
        return (self.screen() if screen is None else screen).crop((x, y, x + w, y + h))

    def wait_for(self, condition, failure):
        deadline = time.monotonic() + DEADLINE
        while not condition():
            if time.monotonic() > deadline:
                raise Failure(failure)
            time.sleep(0.05)

    def await_painted(self, window, name):
        """Waits until a control shows a picture rather than the window's
        plain ground, and the screen has settled."""
        self.wait_for(lambda: len(self.look(window, name).getcolors(4096) or ()) > 8,
                      "%s's %s was not painted within %.0f s" % (window.menu.what, name, DEADLINE))
        previous = [self.screen()]

        def settled():
            time.sleep(0.15)
            now = self.screen()
            same = differing(now, previous[0]) == 0
            previous[0] = now
            return same
        self.wait_for(settled, "the screen did not settle within %.0f s of %s's start"
                      % (DEADLINE, window.menu.what))

    def wait_until_changed(self, window, name, before, what):
        """Waits until a control looks clearly unlike a picture of it."""
        self.wait_for(lambda: differing(self.look(window, name), before) > 0.05,
                      "%s did not change within %.0f s" % (what, DEADLINE))

    # ------------------------------------------------------------- input

    def glide(self, to):
        """Moves the pointer as a hand does, a few pixels at a time, so that
        the thin strips between buttons see it pass."""
        x0, y0 = self.pointer
        steps = max(1, max(abs(to[0] - x0), abs(to[1] - y0)) // 3)
        for i in range(1, steps + 1):
            self.display.move(x0 + (to[0] - x0) * i // steps, y0 + (to[1] - y0) * i // steps)
            time.sleep(0.003)
        self.pointer = to

    def click(self):
        self.display.button(xdisplay.LEFT, True)
        time.sleep(0.1)
        self.display.button(xdisplay.LEFT, False)

    # ------------------------------------------------------------ frames

    def shoot(self, name, text, window=None):
        """Writes the screen, with the pointer drawn where it is, as the
        next step's picture."""
        image = self.screen()
        cursor = self.display.cursor()
        x0, y0 = self.pointer[0] - cursor.xhot, self.pointer[1] - cursor.yhot
        pixels = image.load()
        for i, argb in enumerate(cursor.pixels):  # premultiplied alpha
            x, y = x0 + i % cursor.width, y0 + i // cursor.width
            a = argb >> 24
            if a and 0 <= x < image.width and 0 <= y < image.height:
                under = pixels[x, y]
                pixels[x, y] = tuple(min(255, ((argb >> s) & 255) + under[k] * (255 - a) // 255)
                                     for k, s in enumerate((16, 8, 0)))
        file = "%02d-%s.png" % (len(self.steps) + 1, name)
        image.save(os.path.join(self.out, file), optimize=True)
        self.steps.append((file, text, window))
        print("  %2d  %-34s %s" % (len(self.steps), file, text), flush=True)

    # -------------------------------------------------------------- tour

    def run(self):
        self.pointer = PARK
        self.display.move(*PARK)

        self.start("discmenu.exe")
        chooser = self.await_window(CHOOSER.caption, CHOOSER.what, "starting discmenu.exe",
                                    CHOOSER)
        self.await_painted(chooser, "NV-QX480K")
        start = self.screen()
        normal = {m: self.look(chooser, m, start) for m in MODELS}
        self.shoot("chooser", "The model chooser, discmenu.exe at the disc root", chooser)

        previous = None
        for model in MODELS:
            self.point_at_model(chooser, model, previous, normal)
            self.shoot("chooser-" + model, "Pointing at %s lights it up" % model, chooser)
            previous = model
        self.point_at_model(chooser, "NV-QX480K", previous, normal)
        self.click()
        menu = self.await_window(MODEL_MENU.caption, MODEL_MENU.what,
                                 "the click on NV-QX480K", MODEL_MENU)
        self.glide(PARK)
        self.await_painted(menu, "help")
        self.shoot("modelmenu", "A click on NV-QX480K starts its menu, autorun3.exe", menu)
        self.tour_buttons(menu, "modelmenu", {
            "installer": "Pointing at a button shows its help: the installer",
            "documentation": "... the user guide",
            "exit": "... and exit: the help panel empties",
        })

        # The keyboard: Tab puts the focus on the installer, which shows its
        # help as the pointer would, inside the focus rectangle.
        before = self.look(menu, "help")
        self.display.key("Tab")
        self.wait_until_changed(menu, "help", before, "the model menu's help panel, after Tab,")
        self.shoot("modelmenu-keyboard", "Tab moves the keyboard focus: the installer", menu)
        # On to exit, whose focus empties the panel again as its hover does.
        before = self.look(menu, "help")
        self.display.key("Tab")
        self.display.key("Tab")
        self.wait_until_changed(menu, "help", before, "the model menu's help panel, after two"
                                " more Tabs,")

        before = self.look(menu, "help")
        self.glide(menu.point("installer"))
        self.wait_until_changed(menu, "help", before, "the model menu's help panel")
        self.click()
        standin = self.await_window(STANDIN, "the installer's stand-in",
                                    "the click on the installer")
        self.shoot("installer", "A click on the installer starts it (on the demo disc a stand-in)",
                   standin)
        self.display.key("Return")
        self.await_gone(STANDIN, "the installer's stand-in", "Return was pressed on it")

        self.glide(menu.point("exit"))
        self.click()
        self.await_gone(MODEL_MENU.caption, MODEL_MENU.what, "the click on its exit button")
        # The chooser shows again as at its start once the desktop has
        # repainted where the menu was.
        self.wait_for(lambda: all(differing(self.look(chooser, m), normal[m]) < 0.01
                                  for m in MODELS),
                      "the chooser did not show again as at its start, with no model lit, "
                      "within %.0f s of the model menu's end" % DEADLINE)
        self.shoot("chooser-again", "Exit closes the model menu; the chooser stays", chooser)


        self.glide(PARK)
        self.start("NV-QX480K\\autorun3.exe", "zh_CN.UTF-8")
        menu = self.await_window(MODEL_MENU_ZHCN.caption, MODEL_MENU_ZHCN.what,
                                 "starting autorun3.exe under a Chinese (PRC) locale",
                                 MODEL_MENU_ZHCN)
        self.await_painted(menu, "help")
        self.shoot("modelmenu-zhCN", "On a Chinese (PRC) Windows the model menu is Chinese", menu)
        helps = self.tour_buttons(menu, "modelmenu-zhCN", {
            "installer": "Its buttons show their help too: the installer",
            "documentation": "... the user guide",
        })
        # With the pointer off the window, Tab puts the focus on the
        # installer, whose help shows as under the pointer. Off by way of
        # exit, whose hover resets the help-shown flags: a path across the
        # installer's edge would leave its flag set and the panel empty, so
        # that its help would not show again, under the pointer or the focus.
        self.glide(menu.point("exit"))
        self.wait_until_changed(menu, "help", helps["documentation"],
                                "the Chinese model menu's help panel, with the pointer on exit,")
        self.glide(PARK)
        self.display.key("Tab")
        self.wait_for(lambda: differing(self.look(menu, "help"), helps["installer"]) < 0.01,
                      "the Chinese model menu's help panel did not show the installer's help"
                      " within %.0f s of Tab" % DEADLINE)
        self.shoot("modelmenu-zhCN-keyboard", "Tab moves the focus here too: the installer", menu)

        self.glide(menu.point("exit"))
        self.click()
        self.await_gone(MODEL_MENU_ZHCN.caption, MODEL_MENU_ZHCN.what,
                        "the click on its exit button")

        # The chooser from the keyboard: the click on NV-QX480K gave it the
        # focus (unseen until a key is used), so Down moves the focus on to
        # NV-WQX640K, which lights up alone.
        self.glide(PARK)
        self.display.key("Down")
        self.wait_until_lit(chooser, "NV-WQX640K", normal, "the chooser after Down")
        self.shoot("chooser-keyboard", "Down moves the chooser's focus on: NV-WQX640K", chooser)

        self.glide(chooser.point("exit"))
        self.click()
        self.await_gone(CHOOSER.caption, CHOOSER.what, "the click on its exit button")
        self.glide(PARK)
        box = (chooser.x, chooser.y, chooser.x + chooser.width, chooser.y + chooser.height)
        self.wait_for(lambda: len(self.screen().crop(box).getcolors(2) or "xx") == 1,
                      "the desktop was not empty within %.0f s of the chooser's end" % DEADLINE)
        self.shoot("end", "Exit closes each menu, and the tour ends")

    def point_at_model(self, chooser, model, previous, normal):
        """Moves the pointer onto a model button, which lights up alone."""
        if previous:
            # Through the strip next to the button just lit, which puts it
            # back: only one model is lit at a time.
            x, y, w, h = chooser.rect(previous)
            down = chooser.rect(model)[1] > y
            self.glide((x + w // 2, y + h + 3 if down else y - 3))
            self.wait_for(lambda: differing(self.look(chooser, previous), normal[previous]) < 0.01,
                          "%s stayed lit when the pointer left it" % previous)
        self.glide(chooser.point(model))
        self.wait_until_lit(chooser, model, normal, "with the pointer on it")

    def wait_until_lit(self, chooser, model, normal, when):
        """Waits until a model button lights up, and checks it is the only one."""
        self.wait_until_changed(chooser, model, normal[model], "%s's picture, %s," % (model, when))
        screen = self.screen()
        lit = [m for m in MODELS
               if m != model and differing(self.look(chooser, m, screen), normal[m]) > 0.01]
        if lit:
            raise Failure("%s lit up, but so did %s" % (model, ", ".join(lit)))

    def tour_buttons(self, window, prefix, buttons):
        """Points at each button in turn; each shows a help panel unlike the
        one before. Gives what each help panel looked like."""
        looks = {}
        for name, text in buttons.items():
            before = self.look(window, "help")
            self.glide(window.point(name))
            self.wait_until_changed(window, "help", before, "%s's help panel, with the pointer on"
                                    " its %s button," % (window.menu.what, name))
            self.shoot("%s-%s" % (prefix, name), text, window)
            looks[name] = self.look(window, "help")
        return looks

    # ------------------------------------------------------------ output

    def write_gif(self):
        """The whole tour as one animated GIF, each step with its caption."""
        try:
            font = ImageFont.truetype(FONT, 15)
        except OSError:
            font = ImageFont.load_default()
        args = ["convert", "-loop", "0"]
        for i, (file, text, _) in enumerate(self.steps):
            frame = Image.new("RGB", (DESKTOP[0], DESKTOP[1] + BAR), (32, 32, 32))
            frame.paste(Image.open(os.path.join(self.out, file)), (0, 0))
            ImageDraw.Draw(frame).text((12, DESKTOP[1] + 8), "%d/%d  %s"
                                       % (i + 1, len(self.steps), text), font=font,
                                       fill=(240, 240, 240))
            path = os.path.join(self.out, "frame-%02d.png" % (i + 1))
            frame.save(path)
            last = i == len(self.steps) - 1
            args += ["-delay", "300" if i == 0 or last else "160", path]
        gif = os.path.join(self.out, "tour.gif")
        subprocess.run(args + ["+dither", "-layers", "Optimize", gif], check=True)
        for i in range(len(self.steps)):
            os.remove(os.path.join(self.out, "frame-%02d.png" % (i + 1)))
        return gif

    def write_pictures(self, folder, wanted):
        """Crops named steps to their window and a margin of the desktop."""
        os.makedirs(folder, exist_ok=True)
        by_name = {file[3:-4]: (file, window) for file, _, window in self.steps}
        for name, step in wanted:
            if step not in by_name or by_name[step][1] is None:
                raise Failure("no step '%s' with a window for the picture %s" % (step, name))
            file, w = by_name[step]
            m = 12  # the desktop's margin around the window
            box = (max(0, w.x - m), max(0, w.y - m),
                   min(DESKTOP[0], w.x + w.width + m), min(DESKTOP[1], w.y + w.height + m))
            image = Image.open(os.path.join(self.out, file)).convert("RGB").crop(box)
            # A palette of 256 colours keeps these pictures to a third of
            # their size; used only where no pixel moves by more than a trace.
            small = image.quantize(256, method=Image.Quantize.MAXCOVERAGE,
                                   dither=Image.Dither.NONE)
            error = ImageChops.difference(image, small.convert("RGB")).getextrema()
            if max(high for _, high in error) <= 8:
                image = small
            image.save(os.path.join(folder, name + ".png"), optimize=True)


def main():
    global DEADLINE
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--wine", required=True)
    parser.add_argument("--disc", required=True)
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "tour"))
    parser.add_argument("--pictures", nargs="+", metavar=("DIR", "NAME=STEP"))
    parser.add_argument("--deadline", type=float, default=DEADLINE,
                        help="seconds that any one awaited change may take")
    args = parser.parse_args()
    DEADLINE = args.deadline
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    for old in os.listdir(out):
        if old.endswith((".png", ".gif")):
            os.remove(os.path.join(out, old))

    began = time.monotonic()
    print("A tour of the demo disc %s on the display %s:" % (args.disc, os.environ["DISPLAY"]),
          flush=True)
    tour = Tour(args.wine, os.path.abspath(args.disc), out)
    try:
        tour.run()
        gif = tour.write_gif()
        if args.pictures:
            tour.write_pictures(args.pictures[0],
                                [p.split("=", 1) for p in args.pictures[1:]])
    except Failure as e:
        tour.screen().save(os.path.join(out, "failed.png"))  # the screen when it failed
        print("The tour failed at step %d: %s.\nThe screen then: %s; Wine's output: %s"
              % (len(tour.steps) + 1, e, os.path.join(out, "failed.png"),
                 os.path.join(out, "wine.log")), file=sys.stderr)
        return 1
    finally:
        tour.close()
    print("Every step showed what it should (%.0f s). The tour: %s\nEach step: %s/*.png"
          % (time.monotonic() - began, gif, out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
