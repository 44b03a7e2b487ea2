#!/usr/bin/python3
"""Contact sheets of the disc and program artwork, for looking at it.

  /usr/bin/python3 tools/artwork/contact_sheet.py [OUTPUT_DIR]   (default build/artwork)

Writes sheet-*.png: every picture under disc/ and resources/ at 1:1 and 3:1,
labelled with its path (transparent colours over a checkerboard, every
icon entry and cursor frame, hot spots marked in red), and mocks of the
menu windows put together from menu/layouts.h as the programs place them.
"""

import os
import re
import sys

from PIL import Image, ImageDraw, ImageFont

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import formats  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
LABEL = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12)
SHEET_WIDTH = 1100
SHEET_HEIGHT = 1050
PAD = 14


def checker(size, cell=6):
    img = Image.new("RGBA", size, (110, 110, 110, 255))
    d = ImageDraw.Draw(img)
    for y in range(0, size[1], cell):
        for x in range((y // cell % 2) * cell, size[0], 2 * cell):
            d.rectangle((x, y, x + cell - 1, y + cell - 1), fill=(150, 150, 150, 255))
    return img


def on_checker(rgba):
    out = checker(rgba.size)
    out.alpha_composite(rgba)
    return out


def load(path):
    """Every picture a file holds, as (caption, RGBA image, hot spot)."""
    data = open(path, "rb").read()
    ext = path.rsplit(".", 1)[-1].lower()
    if ext in ("gif", "png"):
        img = Image.open(path)
        img.load()
        tag = ""
        if ext == "gif":
            pal = 2 << (data[10] & 7)
            tag = " (%d colours%s)" % (pal, ", transparent" if "transparency" in img.info else "")
        else:
            tag = " (%s)" % img.mode
        return [(tag, img.convert("RGBA"), None)]
    if ext in ("ico", "cur"):
        return [(" #%d: %d bits" % (i, info["bits"]), img, info["hotspot"])
                for i, (img, info) in enumerate(formats.read_icon_entries(data))]
    if ext == "ani":
        header, frames = formats.read_ani(data)
        out = []
        for i, frame in enumerate(frames):
            img, info = formats.read_icon_entries(frame)[0]
            out.append((" frame %d/%d, %d jiffies" % (i + 1, len(frames), header[7]), img,
                        info["hotspot"]))
        return out
    return []


def tile(caption, img, hotspot, scale):
    big = img.resize((img.width * scale, img.height * scale), Image.NEAREST) if scale > 1 else img
    big = on_checker(big)
    if hotspot is not None:
        d = ImageDraw.Draw(big)
        x, y = hotspot[0] * scale, hotspot[1] * scale
        d.rectangle((x, y, x + scale - 1, y + scale - 1), outline=(230, 0, 0, 255))
    w = max(big.width, int(LABEL.getlength(caption)) + 2)
    out = Image.new("RGBA", (w, big.height + 18), (255, 255, 255, 255))
    ImageDraw.Draw(out).text((0, 12), caption, font=LABEL, fill=(0, 0, 0), anchor="ls")
    out.alpha_composite(big, (0, 18))
    return out


class Sheets:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.tiles = []

    def add(self, t):
        self.tiles.append(t)

    def flush(self, title):
        if not self.tiles:
            return
        rows, row, width = [], [], PAD
        for t in self.tiles:
            if row and width + t.width + PAD > SHEET_WIDTH:
                rows.append(row)
                row, width = [], PAD
            row.append(t)
            width += t.width + PAD
        rows.append(row)
        pages, page, height = [], [], 40
        for r in rows:
            h = max(t.height for t in r) + PAD
            if page and height + h > SHEET_HEIGHT:
                pages.append(page)
                page, height = [], 40
            page.append(r)
            height += h
        pages.append(page)
        for p in pages:
            w = max(sum(t.width + PAD for t in r) + PAD for r in p)
            h = 40 + sum(max(t.height for t in r) + PAD for r in p)
            sheet = Image.new("RGBA", (w, h), (255, 255, 255, 255))
            d = ImageDraw.Draw(sheet)
            d.text((PAD, 26), title, font=LABEL, fill=(0, 0, 160), anchor="ls")
            y = 40
            for r in p:
                x = PAD
                for t in r:
                    sheet.alpha_composite(t, (x, y))
                    x += t.width + PAD
                y += max(t.height for t in r) + PAD
            self.count += 1
            name = os.path.join(self.folder, "sheet-%02d.png" % self.count)
            sheet.convert("RGB").save(name)
            print(name)
        self.tiles = []


# ------------------------------------------------------------------ mocks


def parse_layouts():
    """The forms of menu/layouts.h: name -> (client size in pixels,
    [(control, kind, x, y, w, h, picture, text)] back to front)."""
    text = open(os.path.join(ROOT, "menu", "layouts.h"), encoding="utf-8").read()
    px = lambda t: -((-int(t)) // 15)  # noqa: E731  first whole pixel at or after
    controls = {}
    for m in re.finditer(r"constexpr ControlLayout (\w+)\[\] = \{(.*?)\n\};", text, re.S):
        rows = re.findall(r'\{"(\w+)",\s*(\w+),\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*"([^"]*)",'
                          r'\s*(\w+),\s*"([^"]*)"\}', m.group(2))
        controls[m.group(1)] = [(n, k, px(l), px(t), px(w), px(h), p, tx)
                                for n, k, l, t, w, h, p, _, tx in rows][::-1]
    forms = {}
    for m in re.finditer(r'constexpr FormLayout (\w+) = \{"(\w+)", "([^"]*)", (\d+), (\d+),\s*'
                         r'(\w+),', text):
        if m.group(6) in controls:
            forms[m.group(1)] = ((px(m.group(4)), px(m.group(5))), controls[m.group(6)])
    return forms


def mock(form, resources, pictures, caption):
    """A window's client area: the background at its natural size on
    white, then each control's picture (pictures overrides the built-in
    one by control name; a value of None empties it)."""
    (cw, ch), controls = form
    win = Image.new("RGBA", (cw, ch), (255, 255, 255, 255))
    for name, kind, x, y, w, h, picture, text in controls:
        path = pictures.get(name, os.path.join(resources, picture) if picture else None)
        if kind == "kLabel":
            d = ImageDraw.Draw(win)
            d.rectangle((x, y, x + w - 1, y + h - 1), fill=(255, 255, 255))
            d.text((x + w // 2, y + h // 2), text, font=LABEL, fill=(0, 0, 0), anchor="mm")
            continue
        if not path:
            continue
        pic = Image.open(path)
        pic.load()
        win.alpha_composite(pic.convert("RGBA"), (x, y))
    return caption, win


def mocks():
    forms = parse_layouts()
    res_mm = os.path.join(ROOT, "resources", "modelmenu")
    res_dm = os.path.join(ROOT, "resources", "discmenu")
    img = os.path.join(ROOT, "disc", "setup", "images")
    out = []
    for key, sub, title in (("kModelMenuWizard", "", "modelmenu wizard"),
                            ("kModelMenuWizardZhCN", "zhCN", "modelmenu wizard_zhCN")):
        if key not in forms:
            continue
        d = os.path.join(img, sub)
        out.append(mock(forms[key], res_mm, {"imgHelp": os.path.join(d, "help.gif")},
                        "mock: %s at start" % title))
        out.append(mock(forms[key], res_mm, {
            "imgManualInstallation": os.path.join(d, "Windows-XP-Vista-7-1.gif"),
            "imgHelp": os.path.join(d, "ManualInstallationHelp.gif")},
            "mock: %s, installer pressed" % title))
        out.append(mock(forms[key], res_mm, {
            "imgDocumentation": os.path.join(d, "Documentationdown.gif"),
            "imgHelp": os.path.join(d, "documentationhelp.gif")},
            "mock: %s, documentation pressed" % title))
    if "kDiscMenuWizard" in forms:
        e = os.path.join(img, "enUS")
        out.append(mock(forms["kDiscMenuWizard"], res_dm, {}, "mock: discmenu at start"))
        out.append(mock(forms["kDiscMenuWizard"], res_dm, {
            "imgDocumentation": os.path.join(e, "NV-QX480K-blue.gif"),
            "imgExit": os.path.join(e, "NV-EXIT-blue.gif")},
            "mock: discmenu, NV-QX480K and EXIT lit"))
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "artwork")
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        if old.startswith("sheet-") and old.endswith(".png"):
            os.remove(os.path.join(folder, old))
    sheets = Sheets(folder)
    for caption, win in mocks():
        sheets.add(tile(caption, win, None, 1))
    sheets.flush("Window mocks (1:1)")

    paths = []
    for top in ("resources", "disc"):
        for dirpath, dirnames, filenames in os.walk(os.path.join(ROOT, top)):
            dirnames.sort()
            for f in sorted(filenames):
                if f.rsplit(".", 1)[-1].lower() in ("gif", "png", "ico", "cur", "ani"):
                    paths.append(os.path.join(dirpath, f))
    large = []
    for path in paths:
        rel = os.path.relpath(path, ROOT)
        for caption, img, hotspot in load(path):
            if img.width > 400:
                large.append((rel + caption, img, hotspot))
                continue
            sheets.add(tile(rel + caption, img, hotspot, 1))
            sheets.add(tile("3:1", img, hotspot, 3))
    sheets.flush("Pictures (1:1 and 3:1)")
    for caption, img, hotspot in large:
        sheets.add(tile(caption, img, hotspot, 1))
    sheets.flush("Large pictures (1:1)")
    for caption, img, hotspot in large:
        sheets.add(tile(caption + " 3:1", img, hotspot, 3))
        sheets.flush("Large pictures (3:1)")


if __name__ == "__main__":
    main()
