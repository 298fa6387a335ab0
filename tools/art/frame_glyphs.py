#!/usr/bin/env python3
"""Draws the glyphs of the themed frame's caption buttons and system menu
(close, minimize, maximize, restore, rollup, minimize to tray, and the unused
move and size arrows) as 16-colour BMP files for the resources.

    python3 tools/art/frame_glyphs.py [out-dir]   (default resources/frame)

Glyphs are black on magenta (255, 0, 255), which the frame's image list keys
out. Every glyph is 16 x 16 but minimize, which is 17 x 17."""

import os
import sys

from bmpfile import KEY, bmp4, canvas

BLACK = (0, 0, 0)
GREY = (128, 128, 128)


def fill(px, x0, y0, x1, y1, colour=BLACK):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = colour


def frame(px, x0, y0, x1, y1, title=2):
    """A window outline with a title bar `title` pixels thick."""
    fill(px, x0, y0, x1, y0 + title)
    fill(px, x0, y1 - 1, x1, y1)
    fill(px, x0, y0, x0 + 1, y1)
    fill(px, x1 - 1, y0, x1, y1)


def glyph_close(px):
    for i in range(7):  # two pixels wide, corner to corner
        fill(px, 4 + i, 4 + i, 6 + i, 5 + i)
        fill(px, 10 - i, 4 + i, 12 - i, 5 + i)


def glyph_minimize(px):
    fill(px, 4, 11, 11, 13)


def glyph_maximize(px):
    frame(px, 3, 3, 13, 12)


def glyph_restore(px):
    frame(px, 5, 2, 13, 9)
    frame(px, 3, 6, 11, 13)
    fill(px, 4, 8, 10, 12, KEY)  # the front window hides the back one


def glyph_rollup(px):
    for i in range(4):  # a triangle pointing up over the title bar it rolls into
        fill(px, 7 - i, 5 + i, 9 + i, 6 + i)
    fill(px, 3, 11, 13, 13)


def glyph_tray(px):
    for i in range(4):  # an arrow down into the notification area
        fill(px, 4 + i, 6 + i, 12 - i, 7 + i)
    fill(px, 7, 2, 9, 6)
    frame(px, 2, 11, 14, 14, 1)
    fill(px, 10, 12, 12, 13, GREY)


def glyph_move(px):
    fill(px, 7, 2, 9, 14)
    fill(px, 2, 7, 14, 9)
    for i in range(3):  # four arrow heads
        fill(px, 6 - i + 1, 2 + i, 9 + i, 3 + i)
        fill(px, 6 - i + 1, 13 - i, 9 + i, 14 - i)
        fill(px, 2 + i, 6 - i + 1, 3 + i, 9 + i)
        fill(px, 13 - i, 6 - i + 1, 14 - i, 9 + i)


def glyph_size(px):
    for i in range(10):  # a diagonal with heads at both ends
        fill(px, 3 + i, 3 + i, 4 + i, 4 + i)
    fill(px, 3, 3, 8, 4)
    fill(px, 3, 3, 4, 8)
    fill(px, 8, 12, 13, 13)
    fill(px, 12, 8, 13, 13)


GLYPHS = [
    ('close', 16, glyph_close),
    ('minimize', 17, glyph_minimize),
    ('maximize', 16, glyph_maximize),
    ('restore', 16, glyph_restore),
    ('rollup', 16, glyph_rollup),
    ('tray', 16, glyph_tray),
    ('move', 16, glyph_move),
    ('size', 16, glyph_size),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join('resources', 'frame')
    os.makedirs(out, exist_ok=True)
    for name, size, draw in GLYPHS:
        px = canvas(size, size)
        draw(px)
        assert px[size - 1][0] == KEY
        with open(os.path.join(out, 'form_%s.bmp' % name), 'wb') as f:
            f.write(bmp4(px))


if __name__ == '__main__':
    main()
