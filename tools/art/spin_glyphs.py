#!/usr/bin/env python3
"""Draws the arrows of the spin button's two halves as small BMP files for
the resources.

    python3 tools/art/spin_glyphs.py [out-dir]   (default resources/glyphs)

Each file is one 9 x 6 cell: a black triangle, 7 pixels at its base, on the
magenta key, which the button takes from the bottom-left pixel."""

import os
import sys

from bmpfile import bmp24, canvas

WIDTH, HEIGHT = 9, 6
INK = (0, 0, 0)


def arrow(up):
    px = canvas(WIDTH, HEIGHT)
    for row in range(4):
        half = row if up else 3 - row
        for x in range(4 - half, 5 + half):
            px[1 + row][x] = INK
    return px


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..', '..', 'resources', 'glyphs')
    for name, up in (('spin_up.bmp', True), ('spin_down.bmp', False)):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(bmp24(arrow(up)))


if __name__ == '__main__':
    main()
