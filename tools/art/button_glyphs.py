#!/usr/bin/env python3
"""Draws the glyphs of the standard dialog buttons (OK, Cancel, Help, Yes,
No, Close, Abort, Retry, Ignore, All) as small BMP files for the resources.

    python3 tools/art/button_glyphs.py [out-dir]   (default resources/glyphs)

Each file holds two 18 x 18 cells side by side: the glyph, and its disabled
form (embossed grey). Magenta (255, 0, 255) is the background, keyed by the
button through the bottom-left pixel."""

import math
import os
import sys

from bmpfile import KEY, bmp24
CELL = 18


def cell():
    return [[KEY for _ in range(CELL)] for _ in range(CELL)]


def dot(px, x, y, colour):
    if 0 <= x < CELL and 0 <= y < CELL:
        px[y][x] = colour


def line(px, x0, y0, x1, y1, colour, width=2):
    """A thick line: squares of width pixels along the segment."""
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        for dy in range(width):
            for dx in range(width):
                dot(px, x + dx, y + dy, colour)


def disc(px, cx, cy, r, colour):
    for y in range(CELL):
        for x in range(CELL):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                px[y][x] = colour


def ring(px, cx, cy, r, colour, thickness=2.0, start=0.0, end=360.0):
    for y in range(CELL):
        for x in range(CELL):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if r - thickness <= d <= r:
                a = math.degrees(math.atan2(cy - (y + 0.5), x + 0.5 - cx)) % 360
                if start <= a <= end:
                    px[y][x] = colour


def rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            dot(px, x, y, colour)


GREEN, DARK_GREEN = (0, 160, 0), (0, 96, 0)
RED, DARK_RED = (208, 24, 24), (128, 0, 0)
BLUE, NAVY = (40, 90, 210), (0, 0, 128)
AMBER, BROWN = (232, 168, 24), (120, 72, 16)
WHITE = (255, 255, 255)


def check(px, colour, dx=0):
    line(px, 3 + dx, 9, 6 + dx, 12, colour)
    line(px, 6 + dx, 12, 13 + dx, 4, colour)


def cross(px, colour):
    line(px, 4, 4, 12, 12, colour)
    line(px, 12, 4, 4, 12, colour)


def glyph_ok(px):
    check(px, GREEN)


def glyph_cancel(px):
    cross(px, RED)


def glyph_help(px):
    disc(px, 9, 9, 8, BLUE)
    ring(px, 9, 9, 8, NAVY, 1.0)
    mark = [".###.",
            "#...#",
            "....#",
            "...#.",
            "..#..",
            ".....",
            "..#.."]
    for y, row in enumerate(mark):
        for x, ch in enumerate(row):
            if ch == '#':
                dot(px, 7 + x, 5 + y, WHITE)


def glyph_yes(px):
    check(px, DARK_GREEN)
    line(px, 3, 14, 14, 14, DARK_GREEN, 1)


def glyph_no(px):
    ring(px, 9, 9, 8, RED, 2.0)
    line(px, 4, 4, 13, 13, RED)


def glyph_close(px):
    rect(px, 4, 2, 13, 16, BROWN)  # the door frame
    rect(px, 5, 3, 12, 16, AMBER)
    rect(px, 10, 9, 11, 10, BROWN)  # the handle
    line(px, 1, 9, 6, 9, DARK_GREEN, 1)  # an arrow out of the door
    line(px, 1, 9, 3, 7, DARK_GREEN, 1)
    line(px, 1, 9, 3, 11, DARK_GREEN, 1)


def glyph_abort(px):
    disc(px, 9, 9, 8, RED)
    line(px, 5, 5, 12, 12, WHITE)
    line(px, 12, 5, 5, 12, WHITE)


def glyph_retry(px):
    ring(px, 9, 9, 7, BLUE, 2.0, 0, 300)
    for i in range(4):  # the arrow head at the ring's open end
        rect(px, 13 - i, 6 + i, 17 - i, 7 + i, BLUE)


def glyph_ignore(px):
    line(px, 2, 9, 12, 9, NAVY)
    for i in range(5):  # arrow head pointing right, over a bar it skips
        rect(px, 10 + i, 5 + i, 11 + i, 14 - i, NAVY)
    rect(px, 6, 3, 8, 15, (128, 128, 128))


def glyph_all(px):
    check(px, GREEN, -2)
    check(px, DARK_GREEN, 3)


GLYPHS = [
    ('ok', glyph_ok),
    ('cancel', glyph_cancel),
    ('help', glyph_help),
    ('yes', glyph_yes),
    ('no', glyph_no),
    ('close', glyph_close),
    ('abort', glyph_abort),
    ('retry', glyph_retry),
    ('ignore', glyph_ignore),
    ('all', glyph_all),
]


def disabled(px):
    """The classic look of a disabled glyph: the dark parts grey over a white
    shadow; light parts (the white inside a disc) stay open, so the shape
    still reads."""
    out = cell()
    grey, shadow = (128, 128, 128), WHITE
    dark = [[px[y][x] != KEY and sum(px[y][x]) < 600 for x in range(CELL)] for y in range(CELL)]
    for y in range(CELL):
        for x in range(CELL):
            if dark[y][x]:
                dot(out, x + 1, y + 1, shadow)
    for y in range(CELL):
        for x in range(CELL):
            if dark[y][x]:
                out[y][x] = grey
    return out


def strip(draw):
    px = cell()
    draw(px)
    # The bottom-left pixel is the key the button reads.
    assert px[CELL - 1][0] == KEY
    off = disabled(px)
    return [a + b for a, b in zip(px, off)]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join('resources', 'glyphs')
    os.makedirs(out, exist_ok=True)
    for name, draw in GLYPHS:
        with open(os.path.join(out, 'btn_%s.bmp' % name), 'wb') as f:
            f.write(bmp24(strip(draw)))


if __name__ == '__main__':
    main()
