#!/usr/bin/python3
"""Draws all artwork of the Norvane setup disc and of its two menu programs.

Run from anywhere as  /usr/bin/python3 tools/artwork/generate.py
It rewrites, byte for byte the same on every run:
  disc/setup/images/...          pictures and the busy cursor the menus load
  disc/NV-QX480K/Manual/...      the sample user guide of the disc
  resources/...                  backgrounds, built-in pictures, icons and the
                                 hand cursor that are linked into the programs
Needs Debian's python3-pil, fonts-dejavu-core and fonts-noto-cjk.
"""

import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import formats  # noqa: E402
import manual  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# ------------------------------------------------------------------ colours

BLUE = (11, 79, 156)          # Norvane blue: the ground of every menu button
BLUE_DARK = (6, 55, 112)      # pressed buttons
BLUE_DEEP = (3, 36, 76)       # inner shadow of pressed buttons
BLUE_RULE = (44, 106, 178)    # rules on blue
BLUE_CAPTION = (150, 190, 235)  # captions on blue
BLUE_SOFT = (225, 236, 249)   # tints on white
WHITE = (255, 255, 255)
GREY_GROUND = (236, 239, 243)  # the chooser's ground, behind its buttons
GREY_LINE = (200, 207, 216)
GREY_DEVICE = (140, 150, 163)
INK = (29, 37, 48)            # body text
INK_MUTED = (94, 104, 118)
GREEN_LED = (64, 190, 92)
AMBER_LED = (240, 168, 40)

# -------------------------------------------------------------------- fonts

NOTO = "/usr/share/fonts/opentype/noto/NotoSansCJK-%s.ttc"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVuSans%s.ttf"
_fonts = {}


def noto(size, bold=False):
    """Noto Sans CJK SC (face 2 of the collection): Chinese and headings."""
    key = ("noto", size, bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(NOTO % ("Bold" if bold else "Regular"), size, index=2)
    return _fonts[key]


def dejavu(size, bold=False):
    """DejaVu Sans: small Latin text, hinted for the screen."""
    key = ("dejavu", size, bold)
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(DEJAVU % ("-Bold" if bold else ""), size)
    return _fonts[key]


def cap_height(font, sample="H"):
    box = font.getbbox(sample, anchor="ls")
    return -box[1]


def tracked(draw, xy, text, font, fill, tracking):
    """Text with extra space between letters, left-baseline anchored."""
    x, y = xy
    for ch in text:
        draw.text((x, y), ch, font=font, fill=fill, anchor="ls")
        x += font.getlength(ch) + tracking
    return x


def tracked_width(text, font, tracking):
    return sum(font.getlength(ch) for ch in text) + tracking * (len(text) - 1)


_NO_LINE_START = set("，。、；：？！）》」』”’%")


def wrap(text, font, width):
    """Lines of text no wider than width: by words where there are spaces,
    by characters in Chinese (no line starts with closing punctuation)."""
    lines = []
    if " " in text and not any("\u4e00" <= c <= "\u9fff" for c in text):
        line = ""
        for word in text.split(" "):
            trial = word if not line else line + " " + word
            if font.getlength(trial) <= width or not line:
                line = trial
            else:
                lines.append(line)
                line = word
        lines.append(line)
        return lines
    line = ""
    for ch in text:
        if font.getlength(line + ch) <= width or not line or ch in _NO_LINE_START:
            line += ch
        else:
            lines.append(line)
            line = ch
    lines.append(line)
    return lines


# --------------------------------------------------------- vector drawing


class Sketch:
    """An RGBA layer drawn at SCALE times the size and reduced by box
    averaging: antialiased shapes with exact flat colours inside."""

    SCALE = 4

    def __init__(self, size, ground=(0, 0, 0, 0)):
        self.size = size
        s = self.SCALE
        self.image = Image.new("RGBA", (size[0] * s, size[1] * s), ground)
        self.draw = ImageDraw.Draw(self.image)

    def p(self, *xy):
        """Points in 1x units to the drawing's pixel coordinates."""
        s = self.SCALE
        return [round(v * s) for v in xy]

    def rect(self, box, fill=None, radius=0, outline=None, width=1):
        x0, y0, x1, y1 = self.p(*box)
        self.draw.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=radius * self.SCALE,
                                    fill=fill, outline=outline,
                                    width=max(1, round(width * self.SCALE)))

    def ellipse(self, box, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = self.p(*box)
        self.draw.ellipse((x0, y0, x1 - 1, y1 - 1), fill=fill, outline=outline,
                          width=max(1, round(width * self.SCALE)))

    def poly(self, points, fill=None, outline=None, width=1):
        pts = [tuple(self.p(x, y)) for x, y in points]
        if fill is not None:
            self.draw.polygon(pts, fill=fill)
        if outline is not None:
            self.draw.line(pts + [pts[0]], fill=outline, width=max(1, round(width * self.SCALE)),
                           joint="curve")

    def line(self, points, fill, width=1):
        pts = [tuple(self.p(x, y)) for x, y in points]
        w = max(1, round(width * self.SCALE))
        self.draw.line(pts, fill=fill, width=w, joint="curve")
        r = w / 2
        for x, y in (pts[0], pts[-1]):
            self.draw.ellipse((x - r, y - r, x + r - 1, y + r - 1), fill=fill)

    def arc(self, box, start, end, fill, width=1):
        x0, y0, x1, y1 = self.p(*box)
        self.draw.arc((x0, y0, x1 - 1, y1 - 1), start, end, fill=fill,
                      width=max(1, round(width * self.SCALE)))

    def paste(self, layer, xy):
        """Composites another full-resolution RGBA layer at 1x coordinates."""
        self.image.alpha_composite(layer, tuple(self.p(*xy)))

    def result(self):
        return self.image.convert("RGBa").reduce(self.SCALE).convert("RGBA")


def shade(c, k):
    """c darkened (k < 0) or lightened (k > 0) by the fraction k."""
    if k >= 0:
        return tuple(round(v + (255 - v) * k) for v in c)
    return tuple(round(v * (1 + k)) for v in c)


# ------------------------------------------------------------ the emblem


def emblem(size, ground=BLUE, mark=WHITE, accent=(125, 182, 240)):
    """The Norvane emblem: a rounded square with an N whose right stem is
    a vane pointing north."""
    sk = Sketch((size, size))
    u = size / 100.0
    sk.rect((0, 0, size, size), fill=ground + (255,), radius=22 * u)
    # Left stem, diagonal, and the right stem rising into an arrow head.
    sk.poly([(22 * u, 30 * u), (36 * u, 30 * u), (36 * u, 80 * u), (22 * u, 80 * u)],
            fill=mark + (255,))
    sk.poly([(22 * u, 30 * u), (36 * u, 30 * u), (78 * u, 80 * u), (64 * u, 80 * u)],
            fill=accent + (255,))
    sk.poly([(64 * u, 42 * u), (78 * u, 42 * u), (78 * u, 80 * u), (64 * u, 80 * u)],
            fill=mark + (255,))
    sk.poly([(54 * u, 44 * u), (71 * u, 16 * u), (88 * u, 44 * u)], fill=mark + (255,))
    return sk.result()


def logo(canvas, x, y, height=38, wordmark_colour=BLUE):
    """Emblem and wordmark with the emblem's top-left corner at (x, y)."""
    canvas.alpha_composite(emblem(height), (x, y))
    draw = ImageDraw.Draw(canvas)
    font = noto(round(height * 0.86), bold=True)
    base = y + height // 2 + cap_height(font) // 2
    tracked(draw, (x + height + round(height * 0.28), base), "Norvane", font, wordmark_colour, 0.5)


# ------------------------------------------------------------ the devices


def device_box(sk, x, y, w, h, depth, body=(238, 241, 245), ports=4, leds=3, antenna=False,
               label=None):
    """A print-server box in a three-quarter view. (x, y) is the top-left
    corner of the front face, w x h its size; the top face recedes by
    depth up and to the right."""
    dx, dy = depth * 0.75, -depth * 0.62
    top = shade(body, 0.45)
    front = shade(body, -0.07)
    side = shade(body, -0.2)
    edge = shade(body, -0.42)
    if antenna:
        ax = x + w + dx * 0.55
        ay = y + dy * 0.55
        sk.line([(ax, ay), (ax + w * 0.05, ay - h * 1.9)], fill=(60, 66, 76, 255), width=h * 0.16)
    # top, side, front
    sk.poly([(x, y), (x + w, y), (x + w + dx, y + dy), (x + dx, y + dy)], fill=top + (255,))
    sk.poly([(x + w, y), (x + w + dx, y + dy), (x + w + dx, y + dy + h), (x + w, y + h)],
            fill=side + (255,))
    sk.rect((x, y, x + w, y + h), fill=front + (255,))
    # blue stripe along the bottom of the front and the side
    band = h * 0.2
    sk.rect((x, y + h - band, x + w, y + h), fill=BLUE + (255,))
    sk.poly([(x + w, y + h - band), (x + w + dx, y + dy + h - band), (x + w + dx, y + dy + h),
             (x + w, y + h)], fill=shade(BLUE, -0.25) + (255,))
    # outlines
    sk.poly([(x, y), (x + w, y), (x + w + dx, y + dy), (x + dx, y + dy)], outline=edge + (255,),
            width=max(0.6, h * 0.02))
    sk.poly([(x + w, y), (x + w + dx, y + dy), (x + w + dx, y + dy + h), (x + w, y + h)],
            outline=edge + (255,), width=max(0.6, h * 0.02))
    sk.rect((x, y, x + w, y + h), outline=edge + (255,), width=max(0.6, h * 0.02))
    # highlight along the front top edge
    sk.line([(x + h * 0.05, y + h * 0.03), (x + w - h * 0.05, y + h * 0.03)],
            fill=(255, 255, 255, 200), width=max(0.5, h * 0.03))
    face = h - band
    # LEDs at the left
    colours = [GREEN_LED, AMBER_LED, (90, 160, 240)]
    r = max(0.9, face * 0.09)
    for i in range(leds):
        cx = x + w * 0.07 + i * r * 3.6
        cy = y + face * 0.5
        sk.ellipse((cx - r, cy - r, cx + r, cy + r), fill=colours[i % 3] + (255,))
    # ports at the right
    pw, ph = w * 0.085, face * 0.36
    gap = pw * 0.45
    px = x + w - w * 0.06 - ports * pw - (ports - 1) * gap
    for i in range(ports):
        bx = px + i * (pw + gap)
        by = y + face * 0.5 - ph / 2
        sk.rect((bx, by, bx + pw, by + ph), fill=(52, 58, 68, 255), radius=ph * 0.1)
        sk.rect((bx + pw * 0.18, by + ph * 0.18, bx + pw * 0.82, by + ph * 0.48),
                fill=(150, 158, 170, 255))
    if label:
        label(sk, x, y, w, h, dx, dy)


def wifi_arcs(sk, cx, cy, r, colour, width):
    for k in (1.0, 1.75, 2.5):
        sk.arc((cx - r * k, cy - r * k, cx + r * k, cy + r * k), 225, 315, fill=colour,
               width=width)


def top_label(text, font, colour):
    """Returns a label painter that lays text flat onto a box's top face,
    its lines running along the front edge, its height receding."""

    def paint(sk, x, y, w, h, dx, dy):
        s = Sketch.SCALE
        big = noto(round(font * s), bold=True)
        tw = int(big.getlength(text)) + 4
        th = round(font * s * 1.2)
        flat = Image.new("RGBA", (tw, th), (0, 0, 0, 0))
        ImageDraw.Draw(flat).text((2, th * 0.92), text, font=big, fill=colour + (255,),
                                  anchor="ls")
        # Face point (u along the front edge, t in 0..1 towards the back)
        # lies at (x + u + t dx, y + t dy). The text spans t0..t0 + tt,
        # its bottom nearest the front; the transform maps back.
        t0, tt = 0.28, 0.46
        u0 = (w - tw / s) / 2
        k = dx / dy
        coeffs = (1, -k, k * s * y - s * (x + u0),
                  0, -th / (tt * s * dy), th + th * y / (tt * dy) + th * t0 / tt)
        layer = flat.transform(sk.image.size, Image.AFFINE, coeffs, resample=Image.BICUBIC)
        sk.image.alpha_composite(layer)

    return paint


def soft_shadow(size, box, alpha=70, blur=6):
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    ImageDraw.Draw(layer).ellipse(box, fill=(20, 30, 45, alpha))
    return layer.filter(ImageFilter.GaussianBlur(blur))


def hero_device(size=(262, 176)):
    """The NV-QX480K as the model menu shows it."""
    w, h = size
    s = Sketch.SCALE
    sk = Sketch(size)
    shadow = soft_shadow((w * s, h * s), (12 * s, 128 * s, 244 * s, 166 * s), 90, 7 * s)
    sk.image.alpha_composite(shadow)
    device_box(sk, 16, 84, 192, 56, 70, ports=4, leds=3,
               label=top_label("NORVANE", 15, (128, 140, 156)))
    return sk.result()


# ------------------------------------------------------------ buttons


def chevron(draw, x, y, colour):
    """A 4 x 7 pixel chevron, crisp at every size of the menus."""
    rows = ["X...", "XX..", ".XX.", "..XX", ".XX.", "XX..", "X..."]
    for j, row in enumerate(rows):
        for i, c in enumerate(row):
            if c == "X":
                draw.point((x + i, y + j), fill=colour)


def text_baseline(font, top, height, sample):
    """The baseline that centres the ink of sample (a capital, or an
    ideograph) in a band of height pixels."""
    _, above, _, below = font.getbbox(sample, anchor="ls")
    return top + (height - (below - above)) // 2 - above


def menu_button(size, label, font, sample, offset, pressed=False, crisp=False, gap=11):
    """A model-menu button: chevron and white label on Norvane blue.
    Pressed: a darker inset plate, contents one pixel down and right."""
    w, h = size
    if pressed:
        sk = Sketch(size, BLUE + (255,))
        sk.rect((0, 0, w, h), fill=BLUE_DEEP + (255,), radius=3)
        sk.rect((0, 1, w, h), fill=BLUE_DARK + (255,), radius=3)
        img = sk.result().convert("RGB")
    else:
        img = Image.new("RGB", size, BLUE)
    draw = ImageDraw.Draw(img)
    if crisp:
        draw.fontmode = "1"
    d = 1 if pressed else 0
    chevron(draw, offset + d, (h - 7) // 2 + d, WHITE)
    base = text_baseline(font, 0, h, sample)
    draw.text((offset + gap + d, base + d), label, font=font, fill=WHITE, anchor="ls")
    return img


# ------------------------------------------------------------ help pictures


def help_glyph(kind, size=30):
    """The round icon of a help picture: i (welcome), an arrow into a tray
    (install) or an open book (user guide)."""
    sk = Sketch((size, size))
    u = size / 30.0
    sk.ellipse((0, 0, size, size), fill=BLUE + (255,))
    white = WHITE + (255,)
    if kind == "info":
        sk.ellipse((13.2 * u, 6.5 * u, 16.8 * u, 10.1 * u), fill=white)
        sk.rect((13.3 * u, 12 * u, 16.7 * u, 23 * u), fill=white, radius=0.8 * u)
    elif kind == "install":
        sk.rect((13.4 * u, 6 * u, 16.6 * u, 15 * u), fill=white)
        sk.poly([(9.5 * u, 13.5 * u), (20.5 * u, 13.5 * u), (15 * u, 19.5 * u)], fill=white)
        sk.line([(8 * u, 19 * u), (8 * u, 23 * u), (22 * u, 23 * u), (22 * u, 19 * u)],
                fill=white, width=2.2 * u)
    elif kind == "guide":
        sk.poly([(6.5 * u, 9 * u), (14.2 * u, 10.5 * u), (14.2 * u, 22.5 * u), (6.5 * u, 21 * u)],
                fill=white)
        sk.poly([(23.5 * u, 9 * u), (15.8 * u, 10.5 * u), (15.8 * u, 22.5 * u),
                 (23.5 * u, 21 * u)], fill=white)
        for k in range(3):
            yy = 13.5 + 2.6 * k
            sk.line([(17.5 * u, (yy + 0.2) * u), (21.8 * u, (yy - 0.6) * u)],
                    fill=BLUE + (255,), width=0.9 * u)
    return sk.result()


def help_picture(size, glyph, title, body, lang):
    """A help-panel picture: round icon, a title in blue and a sentence or
    two in ink, on the panel's white."""
    w, h = size
    img = Image.new("RGBA", size, WHITE + (255,))
    img.alpha_composite(help_glyph(glyph, 30), (6, 7))
    draw = ImageDraw.Draw(img)
    if lang == "en":
        tfont, bfont, step = dejavu(13, True), dejavu(12), 16
        first = 20
    else:
        tfont, bfont, step = noto(14, True), noto(13), 19
        first = 22
    x = 46
    draw.text((x, first), title, font=tfont, fill=BLUE, anchor="ls")
    lines = wrap(body, bfont, w - x - 8)
    y = first + step + 2
    for line in lines:
        draw.text((x, y), line, font=bfont, fill=INK, anchor="ls")
        y += step
    if y - step + 4 > h:
        raise ValueError("help text does not fit: %r" % title)
    return img.convert("RGB")


# -------------------------------------------------------- model chooser


def small_device(model, lit):
    """The chooser's device icon of a model, 38 x 28."""
    sk = Sketch((38, 28))
    body = (250, 251, 253) if lit else (228, 232, 237)
    if model == "NV-QX120E":
        device_box(sk, 4, 15, 21, 9, 9, body=body, ports=1, leds=1)
        sk.rect((25.5, 17.8, 33, 21.2), fill=(70, 76, 86, 255), radius=0.5)
    elif model == "NV-QX120K":
        device_box(sk, 3, 14, 26, 11, 10, body=body, ports=1, leds=2)
    elif model == "NV-QX480K":
        device_box(sk, 1, 14, 29, 11, 9, body=body, ports=4, leds=3)
    else:
        device_box(sk, 2, 16, 27, 10, 9, body=body, ports=2, leds=3, antenna=True)
        wifi_arcs(sk, 10.5, 11, 2.2, ((255, 255, 255) if lit else BLUE) + (255,), 1.1)
    img = sk.result()
    if not lit:
        # The normal look is a quiet grey; the colour returns when lit.
        grey = img.convert("LA").convert("RGBA")
        grey.putalpha(img.getchannel("A"))
        img = Image.blend(grey, img, 0.25)
    return img


def chooser_button(model, lit):
    """A model button of the chooser, 160 x 34: a white card with a grey
    device (normal) or a blue card with a white-lit device (lit)."""
    w, h = 160, 34
    sk = Sketch((w, h), GREY_GROUND + (255,))
    if lit:
        sk.rect((0, 0, w, h), fill=BLUE + (255,), radius=5)
    else:
        sk.rect((0, 0, w, h), fill=GREY_LINE + (255,), radius=5)
        sk.rect((1, 1, w - 1, h - 1), fill=WHITE + (255,), radius=4)
    img = sk.result()
    img.alpha_composite(small_device(model, lit), (5, 3))
    img = img.convert("RGB")
    draw = ImageDraw.Draw(img)
    font = dejavu(12, True)
    draw.text((47, text_baseline(font, 0, h, "H")), model, font=font,
              fill=WHITE if lit else INK, anchor="ls")
    chevron(draw, w - 14, (h - 7) // 2, WHITE if lit else GREY_LINE)
    return img


def chooser_exit(lit):
    w, h = 49, 25
    sk = Sketch((w, h), GREY_GROUND + (255,))
    if lit:
        sk.rect((0, 0, w, h), fill=BLUE + (255,), radius=5)
    else:
        sk.rect((0, 0, w, h), fill=GREY_LINE + (255,), radius=5)
        sk.rect((1, 1, w - 1, h - 1), fill=WHITE + (255,), radius=4)
    img = sk.result().convert("RGB")
    draw = ImageDraw.Draw(img)
    font = dejavu(11, True)
    tw = tracked_width("EXIT", font, 1)
    tracked(draw, ((w - tw) / 2, text_baseline(font, 0, h, "H")), "EXIT", font,
            WHITE if lit else INK_MUTED, 1)
    return img


# ------------------------------------------------------------ backgrounds


def disc_arcs(canvas, cx, cy, radii, colour, width):
    sk = Sketch(canvas.size)
    for r in radii:
        sk.ellipse((cx - r, cy - r, cx + r, cy + r), outline=colour + (255,), width=width)
    return sk.result()


def model_menu_background(lang):
    """The model menu window: logo, title and the device on white; the
    Norvane-blue panel with the button column and the white help card."""
    en = lang == "en"
    W, H = 637, 476
    if en:
        buttons = {"install": (34, 253), "guide": (38, 358), "exit": (36, 417)}
        help_box = (226, 366, 390, 73)
        panel = (10, 206, 629, 452)
    else:
        buttons = {"install": (38, 257), "guide": (38, 360), "exit": (38, 421)}
        help_box = (231, 358, 387, 80)
        panel = (10, 206, 631, 451)
    canvas = Image.new("RGBA", (W, H), WHITE + (255,))

    # The panel, with a faint disc motif in its upper right.
    sk = Sketch((W, H))
    sk.rect(panel, fill=BLUE + (255,), radius=10)
    layer = sk.result()
    canvas.alpha_composite(layer)
    arcs = disc_arcs(canvas, 560, 206, (70, 104, 138, 172), shade(BLUE, 0.07), 1.4)
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).rectangle((250, panel[1], panel[2] - 1, help_box[1] - 30), fill=255)
    clipped = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    clipped.paste(arcs, (0, 0), Image.composite(layer.getchannel("A"), mask, mask))
    canvas.alpha_composite(clipped)

    draw = ImageDraw.Draw(canvas)
    hx, hy, hw, hh = help_box
    m = 7
    card = (hx - m, hy - m, hx + hw + m, hy + hh + m)
    sk = Sketch((W, H))
    sk.rect(card, fill=WHITE + (255,), radius=4)
    canvas.alpha_composite(sk.result())

    # Header: logo, title block, the device.
    logo(canvas, 24, 20, 38)
    canvas.alpha_composite(hero_device(), (364, 14))
    if en:
        draw.text((24, 112), "Ondrix Print Server", font=noto(27, True), fill=INK, anchor="ls")
        draw.text((25, 139), "NV-QX480K", font=noto(17, True), fill=BLUE, anchor="ls")
        x = 25 + noto(17, True).getlength("NV-QX480K") + 10
        draw.text((x, 139), "Setup CD", font=noto(17), fill=INK_MUTED, anchor="ls")
        draw.text((25, 164), "Software and documentation for Windows XP, Vista, 7 and 8",
                  font=dejavu(11), fill=INK_MUTED, anchor="ls")
    else:
        draw.text((24, 112), "Ondrix 打印服务器", font=noto(27, True), fill=INK, anchor="ls")
        draw.text((25, 139), "NV-QX480K", font=noto(17, True), fill=BLUE, anchor="ls")
        x = 25 + noto(17, True).getlength("NV-QX480K") + 10
        draw.text((x, 139), "安装光盘", font=noto(17), fill=INK_MUTED, anchor="ls")
        draw.text((25, 164), "适用于 Windows XP、Vista、7 和 8 的软件与文档",
                  font=noto(12), fill=INK_MUTED, anchor="ls")

    # The button column: captions above the buttons, rules between groups.
    left = 46 if en else 45
    if en:
        cap_font = dejavu(9, True)
        captions = [("INSTALL", buttons["install"][1] - 11),
                    ("DOCUMENTATION", buttons["guide"][1] - 11)]
        about = ("ABOUT THIS ITEM", card[1] - 9)
    else:
        cap_font = noto(11, True)
        captions = [("安装", buttons["install"][1] - 10), ("文档", buttons["guide"][1] - 10)]
        about = ("说明", card[1] - 8)
    for text, base in captions:
        tracked(draw, (left, base), text, cap_font, BLUE_CAPTION, 1.2 if en else 2)
    tracked(draw, (card[0] + 1, about[1]), about[0], cap_font, BLUE_CAPTION, 1.2 if en else 2)
    for y in (buttons["install"][1] + 43, buttons["guide"][1] + 42):
        draw.line((left, y, 200, y), fill=BLUE_RULE)

    # Footer on white; the program draws its version label at the right.
    if en:
        note = "Copyright \u00a9 2026 Norvane Corporation. All rights reserved."
        draw.text((14, 467), note, font=dejavu(9), fill=INK_MUTED, anchor="ls")
    else:
        note = "版权所有 \u00a9 2026 Norvane Corporation。保留所有权利。"
        draw.text((14, 466), note, font=noto(10), fill=INK_MUTED, anchor="ls")
    return canvas if en else canvas.convert("RGB")


def printer_drawing(size=(300, 200)):
    """A line drawing of a desktop printer with the print server beside
    it, for the chooser's lower left."""
    w, h = size
    sk = Sketch(size)
    ink = (150, 160, 174, 255)
    blue = BLUE + (255,)
    lw = 1.6
    # paper leaving the top
    sk.poly([(62, 58), (150, 58), (146, 12), (70, 12)], fill=(255, 255, 255, 255))
    sk.poly([(62, 58), (150, 58), (146, 12), (70, 12)], outline=ink, width=lw)
    for k in range(4):
        y = 22 + k * 8
        sk.line([(80, y), (136 - (k % 2) * 18, y)], fill=(196, 204, 214, 255), width=1.2)
    # body: top face, front face, output slot, control panel
    sk.poly([(26, 66), (186, 66), (206, 50), (48, 50)], fill=(248, 249, 251, 255))
    sk.poly([(26, 66), (186, 66), (206, 50), (48, 50)], outline=ink, width=lw)
    sk.rect((26, 66, 186, 132), fill=(252, 252, 253, 255), radius=4)
    sk.rect((26, 66, 186, 132), outline=ink, radius=4, width=lw)
    sk.poly([(186, 66), (206, 50), (206, 114), (186, 132)], fill=(238, 241, 245, 255))
    sk.poly([(186, 66), (206, 50), (206, 114), (186, 132)], outline=ink, width=lw)
    sk.line([(44, 84), (168, 84)], fill=ink, width=lw)
    sk.rect((136, 92, 174, 104), outline=ink, radius=2, width=1.2)
    sk.ellipse((142, 95.5, 147, 100.5), fill=(70, 180, 90, 255))
    sk.rect((40, 114, 172, 126), outline=ink, radius=2, width=1.2)
    # cable to the print server
    sk.line([(206, 96), (230, 96), (236, 120), (236, 150)], fill=blue, width=1.6)
    # the print server, and its network cable leaving the picture
    sk.poly([(214, 154), (262, 154), (272, 146), (224, 146)], fill=(248, 249, 251, 255))
    sk.poly([(214, 154), (262, 154), (272, 146), (224, 146)], outline=ink, width=lw)
    sk.rect((214, 154, 262, 170), fill=(252, 252, 253, 255))
    sk.rect((214, 154, 262, 170), outline=ink, width=lw)
    sk.poly([(262, 154), (272, 146), (272, 162), (262, 170)], outline=ink, width=lw)
    sk.rect((214, 166, 262, 170), fill=blue)
    sk.ellipse((219, 158.5, 222, 161.5), fill=(70, 180, 90, 255))
    sk.line([(272, 156), (288, 156), (288, 180)], fill=blue, width=1.6)
    sk.rect((280, 180, 296, 196), fill=(252, 252, 253, 255), radius=2)
    sk.rect((280, 180, 296, 196), outline=ink, radius=2, width=1.2)
    sk.rect((285, 185, 291, 190), fill=ink)
    # the desk
    sk.line([(6, 134), (206, 134)], fill=(205, 211, 219, 255), width=1.2)
    sk.line([(200, 172), (296, 172)], fill=(205, 211, 219, 255), width=1.2)
    return sk.result()


def chooser_background():
    """The model chooser: white header with the logo and thanks, the
    question, the printer drawing, the grey ground under the buttons and
    the blue footer with the support address and the version."""
    W, H = 640, 480
    canvas = Image.new("RGBA", (W, H), GREY_GROUND + (255,))
    draw = ImageDraw.Draw(canvas)
    draw.rectangle((0, 0, W - 1, 77), fill=WHITE)
    draw.rectangle((0, 78, W - 1, 80), fill=BLUE)
    logo(canvas, 24, 20, 38)
    draw.text((W - 26, 38), "Thank you for choosing Norvane", font=noto(15), fill=INK,
              anchor="rs")
    draw.text((W - 26, 58), "Setup and documentation CD for Norvane print servers",
              font=dejavu(10), fill=INK_MUTED, anchor="rs")

    # The question, left of the model column, and the printer below it.
    head = noto(25, True)
    draw.text((38, 132), "Which print server", font=head, fill=INK, anchor="ls")
    draw.text((38, 162), "do you have?", font=head, fill=INK, anchor="ls")
    y = 190
    for line in wrap("Choose your model on the right to open its own setup menu.",
                     dejavu(12), 290):
        draw.text((39, y), line, font=dejavu(12), fill=INK_MUTED, anchor="ls")
        y += 17
    canvas.alpha_composite(printer_drawing(), (36, 240))
    draw.line((356, 112, 356, 420), fill=(218, 223, 230))
    draw.text((389, 194), "Please choose your model:", font=dejavu(12, True), fill=BLUE,
              anchor="ls")

    # Footer.
    draw.rectangle((0, 448, W - 1, H - 1), fill=BLUE)
    draw.text((24, 468), "Drivers, manuals and support:", font=dejavu(11), fill=BLUE_CAPTION,
              anchor="ls")
    x = 24 + dejavu(11).getlength("Drivers, manuals and support:") + 6
    draw.text((x, 468), "www.norvane.com", font=dejavu(11, True), fill=WHITE, anchor="ls")
    draw.text((W - 24, 468), "Version 5.0", font=dejavu(11), fill=BLUE_CAPTION, anchor="rs")
    return canvas.convert("RGB")


# ---------------------------------------------------------- icons, cursors


def disc_picture(size):
    """A silver disc as the icons show it."""
    sk = Sketch((size, size))
    u = size / 32.0
    sk.ellipse((1 * u, 1 * u, 31 * u, 31 * u), fill=(120, 130, 145, 255))
    sk.ellipse((2 * u, 2 * u, 30 * u, 30 * u), fill=(214, 222, 232, 255))
    sk.poly([(16 * u, 16 * u), (6 * u, 6 * u), (12 * u, 2.6 * u)], fill=(240, 244, 250, 255))
    sk.poly([(16 * u, 16 * u), (26 * u, 26 * u), (20 * u, 29.4 * u)], fill=(240, 244, 250, 255))
    sk.ellipse((10.5 * u, 10.5 * u, 21.5 * u, 21.5 * u), fill=(186, 196, 210, 255))
    sk.ellipse((13.5 * u, 13.5 * u, 18.5 * u, 18.5 * u), fill=(0, 0, 0, 0))
    img = sk.result()
    # punch the hole through
    hole = Image.new("L", img.size, 255)
    ImageDraw.Draw(hole).ellipse((round(13.8 * u), round(13.8 * u), round(18.2 * u) - 1,
                                  round(18.2 * u) - 1), fill=0)
    alpha = Image.composite(img.getchannel("A"), hole, hole)
    img.putalpha(alpha)
    return img


def modelmenu_icon_art():
    """32 x 32: the disc behind, the blue print server in front."""
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    img.alpha_composite(disc_picture(26), (6, 0))
    sk = Sketch((32, 32))
    device_box(sk, 1.5, 20, 22, 10, 7, body=(232, 236, 242), ports=2, leds=2)
    img.alpha_composite(sk.result())
    return img


def discmenu_icon_art():
    """32 x 32: the disc with the Norvane emblem on it."""
    img = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    img.alpha_composite(disc_picture(30), (0, 1))
    img.alpha_composite(emblem(16), (14, 14))
    return img


def indexed_icon_entry(rgba, colours, bits):
    """A paletted icon entry: colours found by median cut over the opaque
    pixels; transparent pixels are index 0 under a set mask bit."""
    alpha = rgba.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    flat = Image.new("RGB", rgba.size, (0, 0, 0))
    flat.paste(rgba.convert("RGB"), (0, 0), alpha)
    opaque = [p for p, a in zip(flat.getdata(), alpha.getdata()) if a]
    strip = Image.new("RGB", (len(opaque), 1))
    strip.putdata(opaque)
    q = strip.quantize(colors=colours - 1, method=Image.Quantize.MEDIANCUT,
                       dither=Image.Dither.NONE)
    pal = q.getpalette()[: 3 * (colours - 1)]
    palette = [(0, 0, 0)] + [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    while len(palette) < colours:
        palette.append((0, 0, 0))
    qi = iter(q.getdata())
    indices = Image.new("L", rgba.size)
    indices.putdata([next(qi) + 1 if a else 0 for a in alpha.getdata()])
    dib = formats.dib_indexed(indices, alpha, palette, bits)
    return (32, 32, 0 if colours >= 256 else colours, bits, dib)


# The hand pointer: index finger up, tip at (5, 0). 'X' outline (black),
# '.' fill (white), ' ' transparent.
HAND = [
    "     XX          ",
    "    X..X         ",
    "    X..X         ",
    "    X..X         ",
    "    X..X         ",
    "    X..XXX       ",
    "    X..X..XXX    ",
    "    X..X..X..XX  ",
    "    X..X..X..X.X ",
    " XX X........X..X",
    "X..XX...........X",
    "X...X...........X",
    " X..............X",
    "  X.............X",
    "  X............X ",
    "   X...........X ",
    "   X..........X  ",
    "    X.........X  ",
    "    X.........X  ",
    "    XXXXXXXXXXX  ",
    "    X.........X  ",
    "    XXXXXXXXXXX  ",
]


def hand_cursor():
    assert len(HAND) <= 22 and all(len(r) <= 17 for r in HAND)
    indices = Image.new("L", (32, 32), 0)
    alpha = Image.new("L", (32, 32), 0)
    for y, row in enumerate(HAND):
        for x, c in enumerate(row):
            if c != " ":
                alpha.putpixel((x, y), 255)
                indices.putpixel((x, y), 1 if c == "." else 0)
    dib = formats.dib_indexed(indices, alpha, [(0, 0, 0), (255, 255, 255)], 1)
    return formats.icon_file([(32, 32, 2, 1, dib)], cursor_hotspot=(5, 0))


def hourglass_frame(sand_left, angle):
    """One frame of the busy cursor, 32 x 32: sand_left (0..1) still in the
    upper bulb, the glass turned by angle degrees about the centre."""
    S = 8
    size = 32 * S
    c = size / 2

    def pt(x, y):
        return (c + x * S, c + y * S)

    glass = [pt(-7.4, -9.6), pt(7.4, -9.6), pt(1.1, 0), pt(7.4, 9.6), pt(-7.4, 9.6),
             pt(-1.1, 0)]
    inside = Image.new("L", (size, size), 0)
    ImageDraw.Draw(inside).polygon(glass, fill=255)
    inside = inside.filter(ImageFilter.MinFilter(2 * S + 1))

    sand = Image.new("L", (size, size), 0)
    d = ImageDraw.Draw(sand)
    if sand_left > 0:
        top = -9.0 * math.sqrt(sand_left)
        d.rectangle((0, pt(0, top)[1], size, c), fill=255)
    if 0 < sand_left < 1:
        d.rectangle((c - 0.5 * S, c, c + 0.5 * S, c + 9.6 * S), fill=255)
    heap = 1 - sand_left
    if heap > 0:
        hgt = 9.0 * math.sqrt(heap)
        d.polygon([pt(-8, 9.6), pt(-8, 9.6 - hgt * 0.45), pt(0, 9.6 - hgt),
                   pt(8, 9.6 - hgt * 0.45), pt(8, 9.6)], fill=255)
    sand = Image.composite(sand, Image.new("L", (size, size), 0), inside)

    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.polygon(glass, fill=(236, 242, 250, 235))
    img.paste((232, 170, 52, 255), (0, 0), sand)
    d.line(glass + [glass[0]], fill=(24, 32, 44, 255), width=int(1.2 * S), joint="curve")
    for y in (-12, 9.6):
        x0, y0 = pt(-9.6, y)
        x1, y1 = pt(9.6, y + 2.4)
        d.rounded_rectangle((x0, y0, x1, y1), radius=1.1 * S, fill=BLUE + (255,),
                            outline=(24, 32, 44, 255), width=int(0.9 * S))
    if angle:
        img = img.rotate(-angle, resample=Image.BICUBIC, center=(c, c))
    small = img.convert("RGBa").reduce(S).convert("RGBA")
    # A light halo keeps the cursor visible on dark windows.
    halo = small.getchannel("A").filter(ImageFilter.MaxFilter(3))
    out = Image.new("RGBA", (32, 32), (255, 255, 255, 0))
    out.putalpha(halo.point(lambda a: a * 150 // 255))
    out.alpha_composite(small)
    return out


def busy_cursor():
    steps = [(1.0, 0), (0.8, 0), (0.6, 0), (0.4, 0), (0.2, 0), (0.0, 0), (0.0, 60), (0.0, 120)]
    frames = []
    for left, angle in steps:
        # The last frames turn the run-out glass over, so the loop closes
        # on the full upper bulb of the first frame.
        art = hourglass_frame(left, angle)
        dib = formats.dib_32(art)
        frames.append(formats.icon_file([(32, 32, 0, 32, dib)], cursor_hotspot=(16, 16)))
    return formats.ani_file(frames, 8, "Norvane busy", "Norvane")


# ------------------------------------------------------------------ output

_written = []


def out_path(rel):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    _written.append(rel)
    return path


def save_gif(rel, rgb, transparent=None, max_colours=256):
    formats.write_gif(out_path(rel), rgb, transparent, max_colours)


def save_bytes(rel, data):
    with open(out_path(rel), "wb") as f:
        f.write(data)


def save_png(rel, img):
    img.save(out_path(rel), "PNG", optimize=True)


def main():
    en_font = dejavu(12, True)
    zh_font = noto(13, True)

    # Model menu buttons: the chevrons of every button share one column.
    installer = "Windows XP/Vista/7/8"
    disc = "disc/setup/images/"
    for pressed, name in ((False, "Windows-XP-Vista-7.gif"), (True, "Windows-XP-Vista-7-1.gif")):
        save_gif(disc + name, menu_button((198, 22), installer, en_font, "H", 12, pressed), BLUE)
        save_gif(disc + "zhCN/" + name,
                 menu_button((196, 22), installer, en_font, "H", 7, pressed, gap=10), BLUE)
    for pressed, name in ((False, "Documentation.gif"), (True, "Documentationdown.gif")):
        save_gif(disc + name, menu_button((131, 22), "Documentation", en_font, "H", 8, pressed))
        save_gif(disc + "zhCN/" + name,
                 menu_button((82, 22), "用户手册", zh_font, "中", 7, pressed, gap=10), BLUE)

    res = "resources/modelmenu/"
    save_gif(res + "wizard_imgManualInstallation.gif",
             menu_button((198, 22), installer, en_font, "H", 12), BLUE)
    save_gif(res + "wizard_imgDocumentation.gif",
             menu_button((131, 22), "Documentation", en_font, "H", 8))
    save_gif(res + "wizard_imgExit.gif",
             menu_button((131, 22), "Exit", en_font, "H", 10, crisp=True), max_colours=2)
    save_gif(res + "wizard_zhCN_imgManualInstallation.gif",
             menu_button((196, 22), installer, en_font, "H", 7, gap=10), BLUE)
    save_gif(res + "wizard_zhCN_imgDocumentation.gif",
             menu_button((82, 22), "用户手册", zh_font, "中", 7, gap=10), BLUE)
    save_gif(res + "wizard_zhCN_imgExit.gif",
             menu_button((45, 22), "退出", zh_font, "中", 7, gap=10), BLUE)

    # Help pictures.
    en_help = {
        "help.gif": ("info", "Welcome",
                     "Welcome to the Ondrix setup. Point at an item on the left to learn "
                     "what it does."),
        "ManualInstallationHelp.gif": (
            "install", "Install the Ondrix software",
            "Installs the Ondrix print-server software and driver for the NV-QX480K on "
            "Windows XP, Vista, 7 and 8."),
        "documentationhelp.gif": ("guide", "User guide",
                                  "Opens the NV-QX480K user guide (HTML) from this disc in your "
                                  "web browser."),
    }
    zh_help = {
        "help.gif": ("info", "欢迎", "欢迎使用 Ondrix 安装光盘。将鼠标指向左侧的项目可查看其说明。"),
        "ManualInstallationHelp.gif": (
            "install", "安装 Ondrix 软件",
            "安装 NV-QX480K 打印服务器的 Ondrix 软件和驱动程序，适用于 Windows XP、Vista、7 和 8。"),
        "documentationhelp.gif": ("guide", "用户手册", "打开光盘上的 NV-QX480K 用户手册（英文版）。"),
    }
    for name, (glyph, title, body) in en_help.items():
        save_gif(disc + name, help_picture((390, 73), glyph, title, body, "en"))
    for name, (glyph, title, body) in zh_help.items():
        save_gif(disc + "zhCN/" + name, help_picture((386, 80), glyph, title, body, "zh"))

    # The chooser's buttons, on disc and built in.
    models = ["NV-QX120E", "NV-QX120K", "NV-QX480K", "NV-WQX640K"]
    controls = ["wizard_imgManualInstallation.gif", "wizard_imgSetupWizard.gif",
                "wizard_imgDocumentation.gif", "wizard_imgHelp.gif"]
    for model, control in zip(models, controls):
        save_gif(disc + "enUS/%s-grey.gif" % model, chooser_button(model, False), GREY_GROUND)
        save_gif(disc + "enUS/%s-blue.gif" % model, chooser_button(model, True), GREY_GROUND)
        save_gif("resources/discmenu/" + control, chooser_button(model, False), GREY_GROUND)
    save_gif(disc + "enUS/NV-EXIT-grey.gif", chooser_exit(False), GREY_GROUND)
    save_gif(disc + "enUS/NV-EXIT-blue.gif", chooser_exit(True), GREY_GROUND)
    save_gif("resources/discmenu/wizard_imgExit.gif", chooser_exit(False), GREY_GROUND)

    # Backgrounds.
    save_png(res + "wizard_background.png", model_menu_background("en"))
    save_png(res + "wizard_zhCN_background.png", model_menu_background("zh"))
    save_png("resources/discmenu/wizard_background.png", chooser_background())

    # Icons and cursors.
    art = modelmenu_icon_art()
    save_bytes(res + "modelmenu.ico", formats.icon_file([
        indexed_icon_entry(art, 256, 8), (32, 32, 0, 32, formats.dib_32(art))]))
    save_bytes("resources/discmenu/discmenu.ico",
               formats.icon_file([indexed_icon_entry(discmenu_icon_art(), 16, 4)]))
    save_bytes("resources/common/hand.cur", hand_cursor())
    save_bytes(disc + "hourglas.ani", busy_cursor())

    # The sample user guide.
    for rel, data in manual.files(sys.modules[__name__]):
        save_bytes(rel, data)

    for rel in _written:
        print("%8d  %s" % (os.path.getsize(os.path.join(ROOT, rel)), rel))


if __name__ == "__main__":
    main()
