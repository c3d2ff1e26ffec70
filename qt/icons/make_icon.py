#!/usr/bin/env python3
"""Writes tavolen.xpm: the 32 x 32 program icon, a raised white tile showing 2 1/3.

The colour table is the whole standard 16-colour palette, so the image stays a
4-bit picture even though the tile uses only four of the colours, and no pixel
is transparent. Run it from anywhere; it writes next to itself.
"""
from pathlib import Path

SIZE = 32

# Key character, colour. Order is the usual 4-bit palette order.
PALETTE = [
    ("0", "#000000"), ("1", "#800000"), ("2", "#008000"), ("3", "#808000"),
    ("4", "#000080"), ("5", "#800080"), ("6", "#008080"), ("7", "#C0C0C0"),
    ("8", "#808080"), ("9", "#FF0000"), ("a", "#00FF00"), ("b", "#FFFF00"),
    ("c", "#0000FF"), ("d", "#FF00FF"), ("e", "#00FFFF"), ("f", "#FFFFFF"),
]
BLACK, SILVER, GRAY, WHITE = "0", "7", "8", "f"

WHOLE_TWO = [
    ".######.",
    "########",
    "##....##",
    "......##",
    "......##",
    ".....###",
    "....###.",
    "...###..",
    "..###...",
    ".###....",
    "###.....",
    "########",
    "########",
]
ONE = [
    "..##..",
    ".###..",
    "####..",
    "..##..",
    "..##..",
    "..##..",
    "..##..",
    "######",
    "######",
]
THREE = [
    "#####.",
    "######",
    "....##",
    "....##",
    ".####.",
    "....##",
    "....##",
    "######",
    "#####.",
]


def tile():
    rows = [[WHITE] * SIZE for _ in range(SIZE)]
    last = SIZE - 1
    for i in range(SIZE):
        rows[0][i] = SILVER
        rows[i][0] = SILVER
    # The dark edges are drawn last so they own the top-right and bottom-left
    # corners, as on a raised button.
    for i in range(SIZE):
        rows[last][i] = GRAY
        rows[i][last] = GRAY
    return rows


def stamp(rows, glyph, left, top):
    for dy, line in enumerate(glyph):
        for dx, cell in enumerate(line):
            if cell == "#":
                rows[top + dy][left + dx] = BLACK


def bar(rows, left, right, top, thickness):
    for y in range(top, top + thickness):
        for x in range(left, right + 1):
            rows[y][x] = BLACK


def draw():
    rows = tile()
    stamp(rows, WHOLE_TWO, 4, 10)
    stamp(rows, ONE, 18, 4)
    bar(rows, 15, 27, 15, 2)
    stamp(rows, THREE, 18, 19)
    return ["".join(r) for r in rows]


def xpm(pixels):
    lines = ["/* XPM */", "static const char* tavolen_xpm[] = {",
             f'"{SIZE} {SIZE} {len(PALETTE)} 1",']
    lines += [f'"{key} c {colour}",' for key, colour in PALETTE]
    lines += [f'"{row}",' for row in pixels[:-1]]
    lines += [f'"{pixels[-1]}"', "};", ""]
    return "\n".join(lines)


def main():
    out = Path(__file__).resolve().with_name("tavolen.xpm")
    out.write_text(xpm(draw()), encoding="ascii")


if __name__ == "__main__":
    main()
