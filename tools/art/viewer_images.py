#!/usr/bin/env python3
"""Draws the help viewer's own small images (the logo and the two tree
images) and prints them as hex blocks for the main window's stored layout.

    python3 tools/art/viewer_images.py logo   -> Picture.Data block (TBitmap)
    python3 tools/art/viewer_images.py tree   -> image list Bitmap block

Magenta (255, 0, 255) is the transparent key of both."""

import sys

from bmpfile import KEY, bmp24


def canvas(w, h):
    return [[KEY for _ in range(w)] for _ in range(h)]


def rect(px, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            px[y][x] = colour


def frame(px, x0, y0, x1, y1, colour):
    for x in range(x0, x1):
        px[y0][x] = colour
        px[y1 - 1][x] = colour
    for y in range(y0, y1):
        px[y][x0] = colour
        px[y][x1 - 1] = colour


def blend(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def logo():
    """A navy help book with a white question mark, 19 x 22."""
    px = canvas(19, 22)
    navy, light, pages = (28, 52, 120), (86, 120, 200), (244, 244, 236)
    for y in range(1, 21):
        rect(px, 2, y, 17, y + 1, blend(light, navy, (y - 1) / 19))
    frame(px, 2, 1, 17, 21, (16, 28, 70))
    rect(px, 3, 19, 17, 21, pages)  # the page edges at the foot
    frame(px, 2, 18, 17, 21, (16, 28, 70))
    rect(px, 4, 2, 5, 18, (150, 170, 225))  # spine highlight
    mark = ["..###..",
            ".#...#.",
            ".....#.",
            "....#..",
            "...#...",
            "...#...",
            ".......",
            "...#..."]
    for dy, line in enumerate(mark):
        for dx, ch in enumerate(line):
            if ch == '#':
                px[5 + dy][7 + dx] = (255, 255, 255)
                if 8 + dx < 17:
                    pass
    return px


def page(selected):
    """A page with a folded corner; the selected one is open and highlighted."""
    px = canvas(16, 16)
    edge = (60, 70, 90)
    paper = (255, 255, 255) if not selected else (255, 246, 200)
    rect(px, 3, 1, 13, 15, paper)
    frame(px, 3, 1, 13, 15, edge)
    for y in range(1, 5):  # folded corner
        for x in range(13 - (5 - y), 13):
            px[y][x] = KEY
    for i in range(4):
        px[1 + i][12 - (3 - i)] = edge
    rect(px, 9, 1, 10, 5, edge)
    rect(px, 9, 4, 13, 5, edge)
    rule = (120, 140, 190) if not selected else (40, 90, 200)
    for y in (6, 8, 10, 12):
        rect(px, 5, y, 11, y + 1, rule)
    if selected:
        rect(px, 1, 6, 3, 11, (40, 90, 200))  # a marker beside the open page
    return px


def hexlines(data, indent='      '):
    text = data.hex().upper()
    return [indent + text[i:i + 64] for i in range(0, len(text), 64)]


def main():
    what = sys.argv[1] if len(sys.argv) > 1 else 'logo'
    if what == 'logo':
        data = bytes([7]) + b'TBitmap' + bmp24(logo())
    else:
        strip = [a + b for a, b in zip(page(False), page(True))]
        data = bmp24(strip)
    print('\n'.join(hexlines(data)))


if __name__ == '__main__':
    main()
