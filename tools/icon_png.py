#!/usr/bin/env python3
"""Writes the program's XPM icon as PNG files at whole multiples of its size.

Usage: icon_png.py ICON.xpm SIZE:OUT.png [SIZE:OUT.png ...]

Each pixel becomes a square of SIZE / 32 pixels (nearest neighbour), so the
picture stays as crisp at 256 pixels as at 32. Needs only the standard library,
so the desktop package and the browser edition make their icons the same way.
"""
import re
import struct
import sys
import zlib
from pathlib import Path


def read_xpm(path: Path) -> list[list[tuple[int, int, int]]]:
    strings = re.findall(r'"([^"]*)"', path.read_text(encoding="ascii"))
    width, height, colours, per_pixel = map(int, strings[0].split()[:4])
    palette = {}
    for entry in strings[1 : 1 + colours]:
        key, rest = entry[:per_pixel], entry[per_pixel:].split()
        value = rest[rest.index("c") + 1]
        if not re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            raise ValueError(f"{path}: colour {value!r} is not #RRGGBB")
        palette[key] = tuple(int(value[i : i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + colours : 1 + colours + height]
    if len(rows) != height or any(len(r) != width * per_pixel for r in rows):
        raise ValueError(f"{path}: pixel rows do not match {width} x {height}")
    return [
        [palette[row[x : x + per_pixel]] for x in range(0, len(row), per_pixel)] for row in rows
    ]


def png(pixels: list[list[tuple[int, int, int]]], scale: int) -> bytes:
    raw = bytearray()
    for row in pixels:
        line = b"".join(bytes(rgb) * scale for rgb in row)
        raw += (b"\x00" + line) * scale
    height, width = len(pixels) * scale, len(pixels[0]) * scale

    def chunk(kind: bytes, data: bytes) -> bytes:
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + chunk(b"IEND", b"")
    )


def main(argv: list[str]) -> int:
    if len(argv) < 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    pixels = read_xpm(Path(argv[1]))
    for target in argv[2:]:
        size, _, out = target.partition(":")
        if not size.isdigit() or not out or int(size) % len(pixels[0]) != 0:
            print(f"icon_png.py: {target!r} is not SIZE:OUT.png with SIZE a multiple of "
                  f"{len(pixels[0])}", file=sys.stderr)
            return 2
        Path(out).write_bytes(png(pixels, int(size) // len(pixels[0])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
