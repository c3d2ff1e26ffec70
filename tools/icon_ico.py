#!/usr/bin/env python3
"""Writes the program's XPM icon as a Windows .ico with several sizes.

Usage: icon_ico.py ICON.xpm OUT.ico SIZE...

Each SIZE is a whole multiple of the picture's 32 pixels, blown up by whole
pixels as icon_png.py does. Sizes up to 64 are stored as bitmaps, which every
Windows reads; larger ones as PNG, as Windows stores them itself.
"""
import struct
import sys
from pathlib import Path

from icon_png import png, read_xpm

PNG_FROM = 128


def bitmap(pixels: list[list[tuple[int, int, int]]], scale: int) -> bytes:
    size = len(pixels) * scale
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r, 255)) * scale for r, g, b in row)
        rows += [line] * scale
    # The AND mask: every pixel opaque, each row padded to 32 bits.
    mask = bytes(((size + 31) // 32) * 4) * size
    return header + b"".join(rows) + mask


def main(argv: list[str]) -> int:
    if len(argv) < 4 or not all(s.isdigit() for s in argv[3:]):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    pixels = read_xpm(Path(argv[1]))
    sizes = [int(s) for s in argv[3:]]
    images = [
        png(pixels, s // len(pixels)) if s >= PNG_FROM else bitmap(pixels, s // len(pixels))
        for s in sizes
    ]
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(sizes, images):
        side = size if size < 256 else 0
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    Path(argv[2]).write_bytes(struct.pack("<HHH", 0, 1, len(images)) + entries + b"".join(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
