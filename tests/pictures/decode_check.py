#!/usr/bin/python3
"""The programs' own GIF/PNG decoder against Pillow, pixel for pixel.

Decodes every GIF and PNG of the artwork and the demo disc, plus pictures
made here in every form the decoder claims (PNG colour types and depths,
compression levels, tRNS; GIF colour-table sizes, a full LZW table,
interlaced and plain rows, transparency), with tests/pictures/picture_dump
and compares with Pillow's RGBA reading: alpha everywhere, colour where a
pixel is not fully transparent. Damaged files must be reported (481), not
decoded; formats the decoder leaves to the system must come back as such.

    decode_check.py --dump PATH/picture_dump --root SOURCE_ROOT
"""

import argparse
import glob
import os
import random
import struct
import subprocess
import sys
import tempfile

from PIL import Image


def dump(tool, path):
    out = subprocess.run([tool, path], capture_output=True, check=True).stdout
    head, _, body = out.partition(b"\n")
    words = head.decode().split()
    if words[0] in ("none", "error"):
        return words
    w, h = int(words[0]), int(words[1])
    if len(body) != w * h * 4:
        raise AssertionError("%s: %d pixel bytes for %dx%d" % (path, len(body), w, h))
    return w, h, struct.unpack("<%dI" % (w * h), body)


def expected(path):
    im = Image.open(path)
    im.seek(0)
    if im.mode in ("I;16", "I;16B", "I"):  # the decoder keeps a 16-bit sample's high byte
        return im.size, [(255, v >> 8, v >> 8, v >> 8) for v in im.getdata()]
    rgba = im.convert("RGBA")
    return im.size, [(a, r, g, b) for r, g, b, a in rgba.getdata()]


def compare(tool, path):
    got = dump(tool, path)
    if isinstance(got, list):
        return "%s: decoder answered %s" % (path, " ".join(got))
    w, h, pixels = got
    size, want = expected(path)
    if (w, h) != size:
        return "%s: %dx%d, Pillow %dx%d" % (path, w, h, size[0], size[1])
    for i, (p, e) in enumerate(zip(pixels, want)):
        a = p >> 24
        if a != e[0] or (a and ((p >> 16) & 255, (p >> 8) & 255, p & 255) != e[1:]):
            return "%s: pixel (%d,%d) is %08x, Pillow %r" % (path, i % w, i // w, p, e)
    return None


def made_pictures(folder):
    """Pictures in every form the decoder takes, made with Pillow."""
    rnd = random.Random(7)
    out = []

    def noise(mode, size, levels=256):
        im = Image.new(mode, size)
        bands = len(mode) if mode not in ("P", "1", "I;16") else 1
        top = {"1": 2, "I;16": 65536}.get(mode, levels)
        data = [tuple(rnd.randrange(top) for _ in range(bands)) if bands > 1 else rnd.randrange(top)
                for _ in range(size[0] * size[1])]
        im.putdata(data)
        return im

    def save(im, name, **kw):
        path = os.path.join(folder, name)
        im.save(path, **kw)
        out.append(path)

    # GIF: full LZW table (noise), small tables, both row orders, transparency.
    for interlace in (0, 1):
        save(noise("P", (300, 201)), "noise256_i%d.gif" % interlace, interlace=interlace)
    for colours in (2, 4, 16):
        im = noise("P", (37, 23), colours)
        im.putpalette([rnd.randrange(256) for _ in range(colours * 3)])
        save(im, "p%d.gif" % colours, transparency=1)
    save(Image.new("P", (1, 1)), "one_pixel.gif")
    flat = Image.new("P", (512, 300))  # long runs: strings near the longest
    save(flat, "flat.gif")

    # PNG: each colour type and depth, compression from stored to best.
    for level in (0, 1, 6, 9):
        save(noise("RGB", (61, 40)), "rgb_l%d.png" % level, compress_level=level)
    save(noise("RGBA", (50, 33)), "rgba.png")
    save(noise("LA", (50, 33)), "la.png")
    save(noise("L", (50, 33)), "l.png", transparency=17)
    save(noise("1", (53, 9)), "bits1.png")
    save(noise("I;16", (20, 20)), "gray16.png")
    save(noise("RGB", (30, 30), 4), "rgb_trns.png", transparency=(1, 2, 3))
    for colours in (2, 4, 16, 256):
        im = noise("P", (45, 17), colours)
        im.putpalette([rnd.randrange(256) for _ in range(colours * 3)])
        save(im, "p%d.png" % colours, bits=max(1, (colours - 1).bit_length()),
             transparency=bytes(rnd.randrange(256) for _ in range(colours)))
    save(Image.new("RGB", (2000, 3), (10, 200, 30)), "wide_runs.png", compress_level=9)
    return out


def damaged(folder, source_gif, source_png):
    """(path, what the decoder must answer) for damaged and foreign bytes."""
    gif = open(source_gif, "rb").read()
    png = open(source_png, "rb").read()
    cases = []

    def put(name, data, answer):
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(data)
        cases.append((path, answer))

    put("truncated.gif", gif[: len(gif) // 2], ["error", "481"])
    put("header_only.gif", gif[:13], ["error", "481"])
    put("huge.gif", gif[:6] + struct.pack("<HH", 60000, 60000) + gif[10:], ["error", "481"])
    put("wrong_header.gif", b"GIF00a" + gif[6:], ["none"])
    put("truncated.png", png[: len(png) // 2], ["error", "481"])
    idat = png.index(b"IDAT") + 40
    put("flipped.png", png[:idat] + bytes([png[idat] ^ 0x40]) + png[idat + 1:], ["error", "481"])
    ihdr = png.index(b"IHDR") + 4
    put("huge.png", png[:ihdr] + struct.pack(">II", 100000, 100000) + png[ihdr + 8:], ["error", "481"])
    interlaced = bytearray(png)
    interlaced[ihdr + 12] = 1
    put("interlaced.png", bytes(interlaced), ["none"])
    put("jpeg.jpg", b"\xff\xd8\xff\xe0" + b"\0" * 40, ["none"])
    return cases


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dump", required=True)
    ap.add_argument("--root", required=True)
    args = ap.parse_args()
    committed = sorted(
        p for pattern in ("resources/**/*.gif", "resources/**/*.png", "disc/**/*.gif", "disc/**/*.png")
        for p in glob.glob(os.path.join(args.root, pattern), recursive=True))
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        pictures = committed + made_pictures(tmp)
        for path in pictures:
            problem = compare(args.dump, path)
            if problem:
                failures.append(problem)
        gif = os.path.join(args.root, "disc/setup/images/help.gif")
        png = os.path.join(tmp, "rgb_l6.png")
        for path, answer in damaged(tmp, gif, png):
            got = dump(args.dump, path)
            if got != answer:
                failures.append("%s: expected %s, got %s" % (
                    os.path.basename(path), " ".join(answer),
                    " ".join(got) if isinstance(got, list) else "a picture"))
        print("%d pictures compared with Pillow, damaged and foreign cases checked" % len(pictures))
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
