#!/usr/bin/python3
"""Writes the picture fuzzer's seeds into a folder.

The committed GIF and PNG pictures as they are in the tree (so the seeds
follow the artwork with no copy to keep in step), each PNG's zlib stream
alone for the inflater (behind the byte that picks its output limit), and
small PNGs of every colour type and depth the decoder takes, whose rows
cycle through the five filters, both stored (so the fuzzer's changes to the
samples and filter bytes keep the stream whole) and compressed.

    seeds.py ROOT FOLDER
"""

import glob
import hashlib
import os
import random
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(w, h, depth, colour, rows, level, extra=b""):
    header = struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(rows, level)) + chunk(b"IEND", b""))


def made(rnd):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
    depths = {0: (1, 2, 4, 8, 16), 2: (8, 16), 3: (1, 2, 4, 8), 4: (8, 16), 6: (8, 16)}
    w, h = 9, 5
    for colour, allowed in depths.items():
        for depth in allowed:
            stride = (w * channels[colour] * depth + 7) // 8
            rows = b"".join(bytes([y % 5]) + bytes(rnd.randrange(256) for _ in range(stride))
                            for y in range(h))
            extra = b""
            if colour == 3:
                extra = chunk(b"PLTE", bytes(rnd.randrange(256) for _ in range(3 << depth)))
                extra += chunk(b"tRNS", bytes(rnd.randrange(256) for _ in range(1 << depth)))
            elif colour in (0, 2):
                extra = chunk(b"tRNS", bytes(rnd.randrange(4) for _ in range(2 * channels[colour])))
            for level in (0, 9):
                yield png(w, h, depth, colour, rows, level, extra)


def main():
    root, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)

    def put(data):
        with open(os.path.join(folder, hashlib.sha1(data).hexdigest()), "wb") as f:
            f.write(data)

    for pattern in ("resources/**/*.gif", "resources/**/*.png", "disc/**/*.gif", "disc/**/*.png"):
        for path in glob.glob(os.path.join(root, pattern), recursive=True):
            data = open(path, "rb").read()
            put(data)
            if data.startswith(b"\x89PNG"):
                pos, stream = 8, b""
                while pos + 8 <= len(data):
                    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
                    if kind == b"IDAT":
                        stream += data[pos + 8:pos + 8 + n]
                    pos += 12 + n
                put(b"\xff" + stream)  # the largest limit, 256 KB
    for data in made(random.Random(3)):
        put(data)


if __name__ == "__main__":
    main()
