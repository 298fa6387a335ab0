#!/usr/bin/env python3
"""Side-by-side comparison sheets: the built-in page view's rendering on the
left, Chromium's on the right, a label strip across the top.

  sheet.py compose --left A.png --right B.png --out S.png --page NAME --width W
  sheet.py index --out DIR/index.html --width W NAME...

Chromium's shot is taken in a window taller than the page; the rows below
the page, all of the page's background colour, are cut off first.
"""

import argparse
import html
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngio  # noqa: E402

# A 5x7 font for the labels: capitals, digits and the punctuation that page
# file names use. Lower case letters are drawn as capitals.
FONT = {
    "A": ".###.#...##...#######...##...##...#", "B": "####.#...#####.#...##...##...#####.",
    "C": ".###.#...##....#....#....#...#.###.", "D": "####.#...##...##...##...##...#####.",
    "E": "######....####.#....#....#....#####", "F": "######....####.#....#....#....#....",
    "G": ".###.#...##....#.####...##...#.####", "H": "#...##...#######...##...##...##...#",
    "I": ".###...#....#....#....#....#...###.", "J": "..###...#....#....#....##..#..##...",
    "K": "#...##..#.###..#.#..#..#.#...##...#", "L": "#....#....#....#....#....#....#####",
    "M": "#...###.###.#.##...##...##...##...#", "N": "#...###..##.#.##..###...##...##...#",
    "O": ".###.#...##...##...##...##...#.###.", "P": "####.#...##...#####.#....#....#....",
    "Q": ".###.#...##...##...##.#.##..#..##.#", "R": "####.#...##...#####.#.#..#..#.#...#",
    "S": ".####.....#....###.....#....#####..", "T": "#####..#....#....#....#....#....#..",
    "U": "#...##...##...##...##...##...#.###.", "V": "#...##...##...##...##...#.#.#...#..",
    "W": "#...##...##...##.#.##.#.##.#.#.#.#.", "X": "#...##...#.#.#...#...#.#.#...##...#",
    "Y": "#...##...#.#.#...#....#....#....#..", "Z": "#####....#...#...#...#...#....#####",
    "0": ".###.#...##..###.#.###..##...#.###.", "1": "..#...##....#....#....#....#...###.",
    "2": ".###.#...#....#...#...#...#...#####", "3": "#####...#...#.....#.....##...#.###.",
    "4": "...#...##..#.#.#..#.#####...#....#.", "5": "######....####.....#....##...#.###.",
    "6": "..##..#...#....####.#...##...#.###.", "7": "#####....#...#...#...#....#....#...",
    "8": ".###.#...##...#.###.#...##...#.###.", "9": ".###.#...##...#.####....#...#..##..",
    " ": "." * 35, ".": "." * 25 + "..##...##.", "-": "." * 15 + "#####" + "." * 15,
    "_": "." * 30 + "#####", ":": "......##...##........##...##.......",
    "(": "...#...#...#....#....#.....#.....#.", ")": ".#.....#.....#....#....#...#...#...",
    "/": "....#...#....#...#...#....#...#....", "%": "##...##..#...#...#...#...#..##...##",
    ",": ".....................##....#...#...", "+": ".......#....#..#####..#....#.......",
}
SCALE = 2
GLYPH_W, GLYPH_H = 5, 7
STRIP = 2 * (GLYPH_H * SCALE + 6)  # two lines of labels
GAP = 12
STRIP_COLOUR = (48, 52, 60)
GAP_COLOUR = (160, 160, 170)
INK = (255, 255, 255)
DIM = (190, 200, 215)


def blank(width, height, colour):
    row = bytes(colour) * width
    return [bytearray(row) for _ in range(height)]


def draw_text(rows, x, y, text, colour):
    """Draws `text` with its top left corner at (x, y); clipped to `rows`."""
    width = len(rows[0]) // 3 if rows else 0
    for ch in text.upper():
        bits = FONT.get(ch, FONT["."] if ch.isprintable() else FONT[" "])
        for gy in range(GLYPH_H):
            for gx in range(GLYPH_W):
                i = gy * GLYPH_W + gx
                if i >= len(bits) or bits[i] != "#":
                    continue
                for sy in range(SCALE):
                    py = y + gy * SCALE + sy
                    if not 0 <= py < len(rows):
                        continue
                    for sx in range(SCALE):
                        px = x + gx * SCALE + sx
                        if 0 <= px < width:
                            rows[py][3 * px:3 * px + 3] = bytes(colour)
        x += (GLYPH_W + 1) * SCALE
    return x


def trim_bottom(height, rows):
    """The height without the trailing rows that are all one colour, the
    colour of the last row (the page's bottom margin goes with them); never
    less than one row."""
    last = rows[height - 1]
    first = last[0:3]
    if last != first * (len(last) // 3):
        return height
    while height > 1 and rows[height - 1] == last:
        height -= 1
    return height


def paste(target, source, x, y, width, height):
    for row in range(height):
        target[y + row][3 * x:3 * (x + width)] = source[row][0:3 * width]


def compose(left_path, right_path, out_path, page, width):
    lw, lh, left = pngio.read_png(left_path)
    rw, rh, right = pngio.read_png(right_path)
    rh = trim_bottom(rh, right)
    height = max(lh, rh)
    total_w = lw + GAP + rw
    rows = blank(total_w, STRIP + height, GAP_COLOUR)
    for y in range(STRIP):
        rows[y][:] = bytes(STRIP_COLOUR) * total_w
    line2 = GLYPH_H * SCALE + 9
    draw_text(rows, 6, 4, "%s at %d px" % (page, width), DIM)
    draw_text(rows, 6, line2, "built-in view  %dx%d" % (lw, lh), INK)
    draw_text(rows, lw + GAP + 6, line2, "chromium  %dx%d" % (rw, rh), INK)
    paste(rows, left, 0, STRIP, lw, lh)
    paste(rows, right, lw + GAP, STRIP, rw, rh)
    pngio.write_png(out_path, total_w, STRIP + height, rows)
    return lh, rh


def write_index(out_path, width, pages):
    items = []
    for page in pages:
        name = html.escape(page)
        items.append('<li><a href="%s.png">%s</a><br><a href="%s.png"><img src="%s.png" width="400" alt="%s"></a></li>'
                     % (name, name, name, name, name))
    with open(out_path, "w", encoding="utf-8") as f:
        f.write("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Page comparison</title></head><body>\n"
                "<h1>Page comparison at %d px</h1>\n<p>Left: the built-in page view. Right: Chromium.</p>\n"
                "<ul>\n%s\n</ul>\n</body></html>\n" % (width, "\n".join(items)))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    c = sub.add_parser("compose")
    c.add_argument("--left", required=True)
    c.add_argument("--right", required=True)
    c.add_argument("--out", required=True)
    c.add_argument("--page", required=True)
    c.add_argument("--width", type=int, required=True)
    i = sub.add_parser("index")
    i.add_argument("--out", required=True)
    i.add_argument("--width", type=int, required=True)
    i.add_argument("pages", nargs="*")
    args = parser.parse_args(argv)
    try:
        if args.command == "compose":
            compose(args.left, args.right, args.out, args.page, args.width)
        else:
            write_index(args.out, args.width, args.pages)
    except (OSError, pngio.PngError) as e:
        print("sheet.py: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
