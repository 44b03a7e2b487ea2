"""Byte-exact writers (and small readers) for the picture formats of the disc
and the programs: GIF89a with one global colour table, Windows icons and
cursors with BMP entries, animated cursors (RIFF ACON).

The writers take Pillow images but lay out every byte themselves, so the
files carry no time stamps or extra blocks of an encoder and come out the same
on every run.
"""

import struct

from PIL import Image

# --------------------------------------------------------------------- GIF


def _lzw(indices, min_code_size):
    """GIF-flavoured LZW of a sequence of palette indices, as packed bytes."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def fresh():
        return {(i,): i for i in range(clear)}, min_code_size + 1, end + 1

    table, size, next_code = fresh()
    emit(clear, size)
    prefix = (indices[0],)
    for value in indices[1:]:
        grown = prefix + (value,)
        if grown in table:
            prefix = grown
            continue
        emit(table[prefix], size)
        table[grown] = next_code
        next_code += 1
        if next_code > (1 << size) and size < 12:
            size += 1
        if next_code == 4096:
            emit(clear, size)
            table, size, next_code = fresh()
        prefix = (value,)
    emit(table[prefix], size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif_bytes(indexed, palette, transparent=None):
    """A GIF89a file of one image.

    indexed: Pillow 'L' or 'P' image whose values index palette.
    palette: list of (r, g, b); its length is padded to a power of two
    (at least 2), which becomes the global colour table.
    transparent: palette index shown as transparent, or None for opaque.
    """
    width, height = indexed.size
    bits = 1
    while (1 << bits) < len(palette):
        bits += 1
    table = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0x80 | ((bits - 1) << 4) | (bits - 1), 0, 0)
    for r, g, b in table:
        out += bytes((r, g, b))
    if transparent is not None:
        out += bytes((0x21, 0xF9, 4, 0x01, 0, 0, transparent, 0))
    out += b"\x2c" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = max(2, bits)
    data = _lzw(list(indexed.getdata()), min_code_size)
    out.append(min_code_size)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out.append(len(block))
        out += block
    out += b"\x00\x3b"
    return bytes(out)


def exact_palette(rgb, first=None):
    """Indexes an RGB image by its exact colours (at most 256).

    first: a colour put at index 0 (the transparent ground), whether used
    or not. The other colours follow in order of first appearance, so the
    result depends only on the pixels.
    """
    colours = []
    seen = {}
    if first is not None:
        seen[first] = 0
        colours.append(first)
    for c in rgb.getdata():
        if c not in seen:
            seen[c] = len(colours)
            colours.append(c)
    if len(colours) > 256:
        raise ValueError("%d colours, more than a GIF holds" % len(colours))
    indexed = Image.new("L", rgb.size)
    indexed.putdata([seen[c] for c in rgb.getdata()])
    return indexed, colours


def limit_colours(rgb, count, keep=()):
    """Reduces an RGB image to at most count colours with a fixed median cut,
    then snaps the colours in keep back to their exact values."""
    if len(set(rgb.getdata())) <= count:
        return rgb
    q = rgb.quantize(colors=count, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[: 3 * count]
    pal = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    for k in keep:
        best = min(range(len(pal)), key=lambda i: sum((a - b) ** 2 for a, b in zip(pal[i], k)))
        pal[best] = k
    out = Image.new("RGB", rgb.size)
    out.putdata([pal[i] for i in q.getdata()])
    return out


def write_gif(path, rgb, transparent_colour=None, max_colours=256):
    """Writes an RGB picture as GIF; transparent_colour, if given, becomes
    palette index 0 and is marked transparent."""
    keep = () if transparent_colour is None else (transparent_colour,)
    rgb = limit_colours(rgb.convert("RGB"), max_colours, keep)
    indexed, palette = exact_palette(rgb, transparent_colour)
    data = gif_bytes(indexed, palette, 0 if transparent_colour is not None else None)
    with open(path, "wb") as f:
        f.write(data)
    return data


# ------------------------------------------------------ icons and cursors


def _and_mask(alpha, threshold=128):
    """The 1-bit AND mask, bottom row first, rows padded to 32 bits: set
    where the picture is transparent."""
    w, h = alpha.size
    stride = ((w + 31) // 32) * 4
    px = alpha.load()
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y] < threshold:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def _bmp_header(w, h, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, image_size, 0, 0, colours, 0)


def dib_32(rgba):
    """A 32-bit BGRA DIB with its AND mask, as icons and cursors hold it."""
    w, h = rgba.size
    px = rgba.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    mask = _and_mask(rgba.getchannel("A"))
    return _bmp_header(w, h, 32, len(xor) + len(mask), 0) + bytes(xor) + mask


def dib_indexed(indices, alpha, palette, bits):
    """A paletted DIB (1, 4 or 8 bits) with its AND mask. indices: 'L'
    image of palette indices; alpha: 'L' image, transparent below 128."""
    w, h = indices.size
    per_byte = 8 // bits
    stride = (((w * bits) + 31) // 32) * 4
    px = indices.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            shift = (per_byte - 1 - x % per_byte) * bits
            row[x // per_byte] |= px[x, y] << shift
        xor += row
    table = bytearray()
    for r, g, b in list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette)):
        table += bytes((b, g, r, 0))
    mask = _and_mask(alpha)
    return (_bmp_header(w, h, bits, len(xor) + len(mask), 0) + bytes(table) + bytes(xor) + mask)


def icon_file(entries, cursor_hotspot=None):
    """An .ico (or, with a hot spot, a .cur) file.

    entries: list of (width, height, colour_count, bits, dib_bytes).
    """
    kind = 2 if cursor_hotspot is not None else 1
    out = bytearray(struct.pack("<HHH", 0, kind, len(entries)))
    offset = 6 + 16 * len(entries)
    for w, h, colours, bits, dib in entries:
        if cursor_hotspot is None:
            plane_or_x, bits_or_y = 1, bits
        else:
            plane_or_x, bits_or_y = cursor_hotspot
        out += struct.pack("<BBBBHHII", w & 0xFF, h & 0xFF, colours & 0xFF, 0, plane_or_x,
                           bits_or_y, len(dib), offset)
        offset += len(dib)
    for entry in entries:
        out += entry[4]
    return bytes(out)


def ani_file(frames, jiffies, title, artist):
    """An animated cursor: RIFF 'ACON' with an INFO list, the 'anih'
    header and a 'fram' list of 'icon' chunks (each a .cur file)."""

    def chunk(tag, payload):
        pad = b"\x00" if len(payload) % 2 else b""
        return tag + struct.pack("<I", len(payload)) + payload + pad

    def zstr(text):
        return text.encode("ascii") + b"\x00"

    info = b"INFO" + chunk(b"INAM", zstr(title)) + chunk(b"IART", zstr(artist))
    AF_ICON = 1
    anih = struct.pack("<9I", 36, len(frames), len(frames), 32, 32, 32, 1, jiffies, AF_ICON)
    fram = b"fram" + b"".join(chunk(b"icon", f) for f in frames)
    body = b"ACON" + chunk(b"LIST", info) + chunk(b"anih", anih) + chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ----------------------------------------------------------------- readers


def read_icon_entries(data):
    """Decodes every entry of an .ico/.cur file (BMP entries of 1, 4, 8 or
    32 bits) into RGBA images: list of (image, info dict)."""
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    result = []
    for i in range(count):
        w, h, colours, _, a, b, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        dib = data[offset:offset + size]
        (hsize, bw, bh, planes, bits, _, _, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", dib, 0)
        bh //= 2
        pos = hsize
        palette = []
        if bits <= 8:
            n = used or (1 << bits)
            for k in range(n):
                bb, gg, rr, _ = dib[pos + 4 * k:pos + 4 * k + 4]
                palette.append((rr, gg, bb))
            pos += 4 * n
        stride = ((bw * bits + 31) // 32) * 4
        mstride = ((bw + 31) // 32) * 4
        mask_at = pos + stride * bh
        img = Image.new("RGBA", (bw, bh))
        px = img.load()
        for y in range(bh):
            row = pos + (bh - 1 - y) * stride
            mrow = mask_at + (bh - 1 - y) * mstride
            for x in range(bw):
                masked = dib[mrow + (x >> 3)] & (0x80 >> (x & 7))
                if bits == 32:
                    bb, gg, rr, aa = dib[row + 4 * x:row + 4 * x + 4]
                    px[x, y] = (rr, gg, bb, aa)
                    continue
                per = 8 // bits
                byte = dib[row + x // per]
                idx = (byte >> ((per - 1 - x % per) * bits)) & ((1 << bits) - 1)
                rr, gg, bb = palette[idx]
                if masked:
                    # AND 1: screen kept (XOR 0) or inverted (XOR set).
                    px[x, y] = (255, 0, 255, 128) if idx else (0, 0, 0, 0)
                else:
                    px[x, y] = (rr, gg, bb, 255)
        info = {"kind": kind, "width": w or 256, "height": h or 256, "colours": colours,
                "bits": bits, "hotspot": (a, b) if kind == 2 else None}
        result.append((img, info))
    return result


def read_ani(data):
    """The frames (raw .cur bytes) and the anih fields of an animated
    cursor."""
    assert data[:4] == b"RIFF" and data[8:12] == b"ACON"
    frames = []
    header = None
    pos = 12
    while pos < len(data):
        tag = data[pos:pos + 4]
        size = struct.unpack_from("<I", data, pos + 4)[0]
        body = data[pos + 8:pos + 8 + size]
        if tag == b"anih":
            header = struct.unpack("<9I", body)
        elif tag == b"LIST" and body[:4] == b"fram":
            sub = 4
            while sub < len(body):
                stag = body[sub:sub + 4]
                ssize = struct.unpack_from("<I", body, sub + 4)[0]
                if stag == b"icon":
                    frames.append(body[sub + 8:sub + 8 + ssize])
                sub += 8 + ssize + (ssize & 1)
        pos += 8 + size + (size & 1)
    return header, frames
