#!/usr/bin/env python3
"""Draws the skin atlases of the two bitmap-skinned styles, Luna and Metal
Luna, and writes them as 8-bit run-length-encoded PCX files.

    python3 tools/skins/make_skins.py [out-dir]   (default resources/skins)

Each style has a primary skin (active frame and caption buttons, push, check,
radio, speed, spin and combo buttons, status bar) and a secondary skin
(inactive frame and caption buttons, scroll bars, track-bar thumbs, tabs,
panel, state boxes). Every picture sits at the fixed rectangle where the
style cuts it out; the rest is magenta, the key colour. The style reads its
key from one corner pixel, so those pixels carry an exact colour."""

import os
import random
import sys

sys.dont_write_bytecode = True  # no __pycache__ beside the script
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (KEY, Atlas, Pic, darken, ellipse, encode_pcx, grey, lighten, minus, mix, near_key,  # noqa: E402
                    polygon, quantise, ramp, rect_shape, rgb, rounded_rect)

# --- the atlas: where every picture goes -----------------------------------------

PRIMARY_SIZE = (190, 372)
SECONDARY_SIZE = (196, 435)

STANDARD_FRAME = (0, 0, 66, 60)    # caption 0-28, sides 29-56, bottom 57-59
TOOL_FRAME = (66, 0, 132, 51)      # caption 0-18, sides 19-48, bottom 49-50
CAPTION_HEIGHT, TOOL_CAPTION_HEIGHT = 29, 19
BORDER, TOOL_BORDER = 3, 2
BUTTON_TOP, TOOL_BUTTON_TOP = 4, 3  # where the frame puts the caption buttons

CAPTION_BUTTON_ROWS = {'close': 70, 'help': 100, 'maximize': 130, 'minimize': 160,
                       'restore': 190, 'rolldown': 220, 'tray': 250, 'rollup': 280}
CAPTION_BUTTON_COLUMNS = (0, 21, 42)           # normal, hot, pressed
SMALL_CLOSE = (66, 70, (66, 80, 94))           # 14 x 14 each

PUSH_BUTTON = (70, (100, 130, 160, 190, 220))  # normal, hot, pressed, disabled, default; 73 x 21
GLYPH_BUTTON_COLUMNS = (134, 151, 168)         # normal, hot, pressed; 17 x 17
GLYPH_BUTTON_ROWS = {'up': 32, 'down': 49, 'cross': 66}
BAND_GRIP = (119, 58)                          # 10 x 6, tiled
RADIO = (152, (102, 118, 134, 150))            # + 64 checked; 16 x 16
CHECK = (171, (102, 118, 134, 150))            # + 64 checked, + 128 grayed
COMBO_BUTTON = (151, (248, 262, 276, 290))     # 15 x 14
COMBO_ARROW = (155, (314, 321, 328, 335))      # 10 x 7
SPEED_FACES = {'hot': (89, 278), 'pressed': (109, 278), 'down': (89, 301), 'downhot': (109, 301)}  # 20 x 23
GRIP_AREA = (69, 278)                          # 20 x 23, a speed face too
SIZE_GRIP = (69, 279)                          # 16 x 17
CHEVRON = (60, (311, 314, 317, 320), 12)       # 6 x 3; + 12 rows for buttons that stay down
SPIN_FACES = (132, (278, 292, 306, 320))       # 14 x 14
MENU_BUTTONS = ({'minimize': 0, 'restore': 19, 'close': 38}, (310, 329, 348))  # 19 x 19
STATUS_BAR = (60, 331, 128, 346)
PANEL_SEPARATOR = (60, 348, 63, 363)

# Track-bar thumbs: (shape, lying, first rectangle, step down per picture).
# Pictures n = 0..4 are normal, hot, pressed, focused, disabled.
TRACK_THUMBS = [
    (0, True, (75, 128, 97, 139), 43),
    (1, True, (153, 96, 175, 107), 55),
    (2, True, (152, 78, 174, 89), 55),
    (0, False, (80, 100, 91, 123), 43),
    (1, False, (129, 96, 140, 118), 55),
    (2, False, (129, 67, 140, 89), 55),
]
STATE_BOXES = (103, {'raised': 101, 'sunken': 119, 'selected': 137, 'flat': 155})  # 18 x 18
SCROLL_FACES = (1, (305, 322, 339, 356))       # normal, hot, pressed, disabled; 17 x 17
SCROLL_TRACKS = {'horizontal': (19, 305), 'vertical': (37, 305)}  # 17 x 17
SCROLL_ARROWS = ({'up': 2, 'left': 11, 'down': 20, 'right': 29}, (375, 384, 393, 402))  # 9 x 9
TAB_ROWS = {'hot': 344, 'normal': 365, 'selected': 386}
TAB_COLUMNS = {'top': 68, 'bottom': 89, 'right': 110, 'left': 131}  # 21 x 21
# The selected tab of every position is one narrower picture inside the top
# one's cell.
SELECTED_TAB = (69, 386, 87, 407)
PANEL = (153, 344, 168, 362)

STATES = ('normal', 'hot', 'pressed', 'disabled')

# --- colours ---------------------------------------------------------------------


def C(value):
    return tuple(float(v) for v in rgb(value))


class Luna:
    name = 'luna'
    face = C(0xEFEBDE)
    window = C(0xFFFBF7)
    select = C(0x21C321)
    menu_select = C(0x316AC5)
    # Caption rows top to bottom as ramps, active and inactive.
    caption = {True: [(0.0, C(0x2C5BCF)), (0.04, C(0x7DB1FF)), (0.08, C(0x4B93FF)), (0.16, C(0x1A6EF4)),
                      (0.40, C(0x0A5DEB)), (0.75, C(0x0256E3)), (0.90, C(0x0150DA)), (0.96, C(0x0046C8)),
                      (1.0, C(0x003AAE))],
               False: [(0.0, C(0x7C93D4)), (0.04, C(0xD2DFFA)), (0.08, C(0xBACDF5)), (0.16, C(0xA6BDF0)),
                       (0.50, C(0x97B0EA)), (0.90, C(0x8AA4E4)), (1.0, C(0x7590D6))]}
    outline = {True: C(0x1D44B4), False: C(0x7C93D4)}
    # The three border columns from outside in, and the bottom rows from inside out.
    sides = {True: (C(0x1D44B4), C(0x3A7DF2), C(0x0C56DE)), False: (C(0x7C93D4), C(0xB3C6F2), C(0x91A9E6))}
    bottom = {True: (C(0x0C56DE), C(0x2568EA), C(0x1D44B4)), False: (C(0x91A9E6), C(0xA6BBEE), C(0x7C93D4))}
    brushed = 0

    @staticmethod
    def caption_button(active, kind, state):
        """(outer ring colour and alpha, fill stops, glyph colour, glyph shadow)."""
        if kind == 'close':
            base = [(0.0, C(0xF0A48C)), (0.45, C(0xDD6446)), (1.0, C(0xC23A1C))]
        else:
            base = [(0.0, C(0x8AB1FC)), (0.45, C(0x3F79F2)), (1.0, C(0x1F58E0))]
        if state == 'hot':
            base = [(t, lighten(c, 0.22)) for t, c in base]
        elif state == 'pressed':
            base = [(t, darken(c, 0.22)) for t, c in reversed(base)]
            base = [(1.0 - t, c) for t, c in base]
        if not active:
            pale = C(0xA9BEF0)
            base = [(t, lighten(mix(grey(c, 0.45), pale, 0.6), 0.12)) for t, c in base]
            return (C(0xFFFFFF), 0.55), base, C(0xF2F5FF), None
        return (C(0xFFFFFF), 0.92), base, C(0xFFFFFF), darken(base[-1][1], 0.35)

    # Push buttons, speed faces, checks: outlines and fills.
    push_outline = C(0x003C74)
    push_fill = [(0.0, C(0xFFFFFF)), (0.55, C(0xF4F3EE)), (0.85, C(0xEAE7DD)), (1.0, C(0xD6D0C5))]
    push_pressed = [(0.0, C(0xD8D5CA)), (0.2, C(0xE4E2D9)), (1.0, C(0xF1F0EB))]
    hot_ring = (C(0xFFF0CF), C(0xF8B330))
    default_ring = (C(0xCEE7FF), C(0x6982EE))
    disabled_outline = C(0xC9C7BA)
    disabled_fill = C(0xF5F4EA)
    disabled_glyph = C(0xC0BDAE)

    box_outline = C(0x1C5180)
    box_fill = (C(0xDCDCD7), C(0xFFFFFF))
    box_pressed = (C(0xB0B0A7), C(0xE8E8E2))
    mark = C(0x21A121)
    mark_light = C(0x6ADB6A)

    tool_outline = C(0xA39E87)
    tool_fill = [(0.0, C(0xFFFFFF)), (0.5, C(0xF5F3EC)), (1.0, C(0xE2DDCB))]
    tool_pressed = [(0.0, C(0xD2CCB7)), (1.0, C(0xEAE6D9))]
    tool_down = [(0.0, C(0xE9E6DA)), (1.0, C(0xFBFAF6))]

    blue_outline = C(0xA6BEF2)       # combo, spin and scroll faces
    blue_fill = [(0.0, C(0xE3EDFF)), (0.5, C(0xCCDCFD)), (1.0, C(0xB5CBF8))]
    arrow = C(0x4D6185)
    arrow_hot = C(0x2D4B86)
    arrow_pressed = C(0x17305F)

    track = (C(0xF3F1EA), C(0xFEFEFB))
    scroll_face = C(0xC9D8FC)
    scroll_outline = C(0x9AB3EE)
    status = [(0.0, C(0xD8D3C0)), (0.07, C(0xFFFFFF)), (0.2, C(0xF6F4EC)), (1.0, C(0xE4E0CF))]
    separator = (C(0xB8B29C), C(0xFFFFFF))
    dots = (C(0xADA891), C(0xFFFFFF))
    menu_button = (C(0x316AC5), C(0xC1D2EE), C(0x98B5E2))
    tab_outline = C(0x919B9C)
    tab_fill = [(0.0, C(0xFFFFFF)), (1.0, C(0xECEBE6))]
    tab_accent = (C(0xFFC83C), C(0xE68B2C))
    page = C(0xFCFCFE)
    thumb_face = C(0xE3E1D8)
    thumb_accent = {0: C(0x21C321), 1: C(0xF8B330), 2: C(0x16961A), 3: C(0x4C86F0), 4: C(0xC9C7BA)}


class MetalLuna(Luna):
    name = 'metal'
    face = C(0xE0DFE4)
    window = C(0xF8F8FF)
    select = C(0x5A5A7B)
    menu_select = C(0xA3A3B8)
    # Brushed silver with a soft gloss: the upper half lighter, a step at the
    # middle, a darker lower half.
    caption = {True: [(0.0, C(0x6F6F8C)), (0.04, C(0xFFFFFF)), (0.10, C(0xF7F7FA)), (0.50, C(0xE7E7EE)),
                      (0.53, C(0xDBDBE5)), (0.85, C(0xCFCFDB)), (0.95, C(0xC2C2D0)), (1.0, C(0x9797AE))],
               False: [(0.0, C(0xA4A4B6)), (0.04, C(0xFFFFFF)), (0.10, C(0xF8F8FA)), (0.5, C(0xEFEFF2)),
                       (0.94, C(0xE3E3E8)), (1.0, C(0xC6C6D2))]}
    outline = {True: C(0x6F6F8C), False: C(0xA4A4B6)}
    sides = {True: (C(0x6F6F8C), C(0xE6E6EE), C(0xA3A3B8)), False: (C(0xA4A4B6), C(0xF6F6F8), C(0xCDCDD8))}
    bottom = {True: (C(0xA3A3B8), C(0xCBCBD8), C(0x6F6F8C)), False: (C(0xCDCDD8), C(0xE2E2E9), C(0xA4A4B6))}
    brushed = 3.0

    @staticmethod
    def caption_button(active, kind, state):
        base = [(0.0, C(0xFFFFFF)), (0.5, C(0xEBEBF1)), (1.0, C(0xCFCFDB))]
        glyph = C(0x24245A)
        ring = (C(0x6F6F8C), 1.0)
        if state == 'hot':
            if kind == 'close':
                base = [(0.0, C(0xFFF2EE)), (0.5, C(0xF3C4B8)), (1.0, C(0xDB8C7A))]
                glyph = C(0x5C1208)
            else:
                base = [(0.0, C(0xFFFFFF)), (0.5, C(0xFBF4E6)), (1.0, C(0xE9D6B2))]
        elif state == 'pressed':
            base = [(0.0, C(0xB9B9CA)), (0.5, C(0xCACAD8)), (1.0, C(0xE2E2EA))]
            if kind == 'close':
                base = [(0.0, C(0xC98C80)), (0.5, C(0xDDAFA4)), (1.0, C(0xEFD8D2))]
                glyph = C(0x4A0E06)
        if not active:
            base = [(t, mix(c, C(0xF2F2F5), 0.55)) for t, c in base]
            return (C(0xA4A4B6), 1.0), base, C(0x9696AE), None
        return ring, base, glyph, None

    push_outline = C(0x6A6A88)
    push_fill = [(0.0, C(0xFFFFFF)), (0.55, C(0xF1F1F5)), (0.85, C(0xE4E4EB)), (1.0, C(0xC9C9D5))]
    push_pressed = [(0.0, C(0xC4C4D2)), (0.2, C(0xD3D3DE)), (1.0, C(0xEAEAF0))]
    hot_ring = (C(0xFFF7E4), C(0xE7C07A))
    default_ring = (C(0xEDEDF6), C(0x8B8BAE))
    disabled_outline = C(0xBFBFCC)
    disabled_fill = C(0xF1F1F4)
    disabled_glyph = C(0xB4B4C4)

    box_outline = C(0x5A5A7B)
    box_fill = (C(0xD7D7E0), C(0xFFFFFF))
    box_pressed = (C(0xB2B2C4), C(0xE6E6EE))
    mark = C(0x3A3A66)
    mark_light = C(0xA6A6C8)

    tool_outline = C(0x8C8CA6)
    tool_fill = [(0.0, C(0xFFFFFF)), (0.5, C(0xF2F2F6)), (1.0, C(0xDADAE4))]
    tool_pressed = [(0.0, C(0xC3C3D2)), (1.0, C(0xDEDEE7))]
    tool_down = [(0.0, C(0xDCDCE5)), (1.0, C(0xF7F7FA))]

    blue_outline = C(0x9C9CB4)
    blue_fill = [(0.0, C(0xFFFFFF)), (0.5, C(0xEDEDF2)), (1.0, C(0xD6D6E1))]
    arrow = C(0x3A3A66)
    arrow_hot = C(0x26264E)
    arrow_pressed = C(0x17173A)

    track = (C(0xE9E9EF), C(0xF8F8FB))
    scroll_face = C(0xD9D9E4)
    scroll_outline = C(0x8C8CA6)
    status = [(0.0, C(0xA3A3B8)), (0.07, C(0xFFFFFF)), (0.2, C(0xF3F3F7)), (1.0, C(0xD8D7DF))]
    separator = (C(0xA3A3B8), C(0xFFFFFF))
    dots = (C(0x8F8FA8), C(0xFFFFFF))
    menu_button = (C(0x5A5A7B), C(0xE6E6F0), C(0xC9C9DA))
    tab_outline = C(0x9292AA)
    tab_fill = [(0.0, C(0xFFFFFF)), (1.0, C(0xE7E7EE))]
    tab_accent = (C(0xFFD98A), C(0xC99A4C))
    page = C(0xF8F8FF)
    thumb_face = C(0xD8D8E2)
    thumb_accent = {0: C(0x5A5A7B), 1: C(0xE2B45E), 2: C(0x3F3F5E), 3: C(0x8080A8), 4: C(0xC3C3CF)}


# --- glyphs (crisp pixel art) -----------------------------------------------------

GLYPHS = {
    'close': ["##....##",
              "###..###",
              ".######.",
              "..####..",
              "..####..",
              ".######.",
              "###..###",
              "##....##"],
    'close_small': ["##..##",
                    ".####.",
                    "..##..",
                    "..##..",
                    ".####.",
                    "##..##"],
    'minimize': [".........",
                 ".........",
                 ".........",
                 ".........",
                 ".........",
                 ".........",
                 "######...",
                 "######...",
                 "######..."],
    'maximize': ["#########",
                 "#########",
                 "#.......#",
                 "#.......#",
                 "#.......#",
                 "#.......#",
                 "#.......#",
                 "#.......#",
                 "#########"],
    'restore': ["..#######",
                "..#######",
                "..#.....#",
                "#######.#",
                "#######.#",
                "#.....###",
                "#.....#..",
                "#.....#..",
                "#######.."],
    'help': [".####.",
             "##..##",
             "....##",
             "...##.",
             "..##..",
             "..##..",
             "......",
             "..##..",
             "..##.."],
    'rollup': ["....#....",
               "...###...",
               "..##.##..",
               ".##...##.",
               ".........",
               "....#....",
               "...###...",
               "..##.##..",
               ".##...##."],
    'tray': [".#######.",
             "..#####..",
             "...###...",
             "....#....",
             ".........",
             ".........",
             "#########",
             "#########"],
    'double_up': ["...#...",
                  "..###..",
                  ".##.##.",
                  "##...##",
                  "...#...",
                  "..###..",
                  ".##.##.",
                  "##...##"],
    'cross': ["##...##",
              "###.###",
              ".#####.",
              "..###..",
              ".#####.",
              "###.###",
              "##...##"],
    'arrow_up': ["...#...",
                 "..###..",
                 ".##.##.",
                 "##...##"],
    'combo_arrow': ["##....##",
                    "###..###",
                    ".######.",
                    "..####..",
                    "...##..."],
    'chevron': ["######",
                ".####.",
                "..##.."],
    'check': ["......#",
              ".....##",
              "#...###",
              "##.###.",
              "#####..",
              ".###...",
              "..#...."],
}
GLYPHS['rolldown'] = GLYPHS['rollup'][::-1]
GLYPHS['double_down'] = GLYPHS['double_up'][::-1]
GLYPHS['arrow_down'] = GLYPHS['arrow_up'][::-1]


def transpose(rows):
    return [''.join(row[i] for row in rows) for i in range(len(rows[0]))]


GLYPHS['arrow_left'] = transpose(GLYPHS['arrow_up'])
GLYPHS['arrow_right'] = [row[::-1] for row in GLYPHS['arrow_left']]


def glyph_at(pic, name, colour, dx=0, dy=0, box=None, alpha=1.0):
    """Draws a glyph centred in box (default the whole picture)."""
    rows = GLYPHS[name]
    x0, y0, x1, y1 = box or (0, 0, pic.w, pic.h)
    x = x0 + (x1 - x0 - len(rows[0])) // 2 + dx
    y = y0 + (y1 - y0 - len(rows)) // 2 + dy
    pic.pixels(x, y, rows, colour, alpha)


def vfill(stops, h, top=0):
    """A colour function of (x, y) for a vertical ramp over rows top..top+h-1."""
    return lambda x, y: ramp(stops, (y - top) / max(1, h - 1))


# --- frames ----------------------------------------------------------------------


def caption_rows(st, active, height):
    noise = random.Random(7 if active else 11)
    rows = []
    for y in range(height):
        c = ramp(st.caption[active], y / (height - 1))
        if st.brushed and 2 < y < height - 2:
            shift = noise.uniform(-st.brushed, st.brushed)  # brushed: each row its own shade
            c = tuple(v + shift for v in c)
        rows.append(c)
    return rows


def frame_pic(st, active, w, h, caption_h, border, rounded):
    pic = Pic(w, h)
    cap = caption_rows(st, active, caption_h)
    sides = st.sides[active][:border - 1] + st.sides[active][-1:]
    bottom = st.bottom[active][-border:][::-1]   # from the outside in
    outline = st.outline[active]
    for y in range(h):
        for x in range(w):
            dx = min(x, w - 1 - x)
            dy = h - 1 - y
            if y < caption_h:
                c = cap[y]
                if dx == 0 and y > 0:
                    c = outline
                elif x == 1:
                    c = lighten(c, 0.18)
                elif x == w - 2:
                    c = darken(c, 0.06)
            elif dx >= border and dy >= border:
                continue  # the client area: no picture
            elif dx < dy:
                c = sides[dx]
                if x > w // 2 and dx == 1:
                    c = darken(c, 0.08)  # light comes from the top left
            else:
                c = bottom[dy]
            pic.set(x, y, c)
    if rounded:
        round_corners(pic, cap, outline)
    return pic


# Visible start of each of the top rows once the window region has cut the
# rounded corners away; rows below start at column 0.
CORNER_START = (5, 3, 2, 1, 1)


def round_corners(pic, cap, outline):
    for side in (0, 1):
        def px(x):
            return x if side == 0 else pic.w - 1 - x
        for y, start in enumerate(CORNER_START):
            for x in range(start):
                pic.set(px(x), y, darken(outline, 0.1))  # cut away by the region
            pic.set(px(start), y, outline)
        pic.set(px(CORNER_START[0]), 0, cap[0])
        for x in range(CORNER_START[0], 8):
            pic.set(px(x), 0, cap[0])
        # Outline steps between the rows, softened on the inside.
        pic.set(px(4), 1, outline)
        pic.set(px(2), 2, outline)
        pic.set(px(3), 2, mix(lighten(cap[2], 0.2 if side == 0 else 0), outline, 0.35))
        pic.set(px(2), 3, mix(lighten(cap[3], 0.2 if side == 0 else 0), outline, 0.35))
        pic.set(px(5), 1, mix(cap[1], outline, 0.3))
        for y in range(5, len(cap)):
            pic.set(px(0), y, outline)


# --- caption buttons ---------------------------------------------------------------


def caption_button_pic(st, active, kind, state, size):
    (ring_colour, ring_alpha), stops, glyph, shadow = st.caption_button(active, kind, state)
    pic = Pic(size, size)
    r = 3 if size > 16 else 2
    base = vfill(stops, size - 2, 1)
    strength = 0.10 if state == 'pressed' else 0.28

    def lit(x, y):
        # A soft glow from the top left, as if lit from there.
        d = ((x - size * 0.3) / (size * 0.7)) ** 2 + ((y - size * 0.2) / (size * 0.55)) ** 2
        return lighten(base(x, y), max(0.0, 1.0 - d) * strength)
    inner = rounded_rect(1, 1, size - 1, size - 1, r - 1)
    pic.fill(inner, lit)
    pic.ring(rounded_rect(0, 0, size, size, r), inner, ring_colour)
    if ring_alpha < 1:
        # A translucent ring: the caption shows through it once placed.
        for y in range(size):
            for x in range(size):
                if x in (0, size - 1) or y in (0, size - 1):
                    pic.a[y][x] *= ring_alpha
    name = 'close_small' if size < 16 else kind
    d = 1 if state == 'pressed' else 0
    if shadow is not None and size > 16:  # too busy on the small button
        glyph_at(pic, name, shadow, d + 1, d + 1, alpha=0.45)
    glyph_at(pic, name, glyph, d, d)
    return pic


# --- buttons and small controls ----------------------------------------------------


def push_button_pic(st, state):
    w, h = 73, 21
    pic = Pic(w, h)
    outer = rounded_rect(0, 0, w, h, 3)
    inner = rounded_rect(1, 1, w - 1, h - 1, 2)
    if state == 'disabled':
        pic.fill(inner, st.disabled_fill)
        pic.ring(outer, inner, st.disabled_outline)
        return pic
    fill = st.push_pressed if state == 'pressed' else st.push_fill
    pic.fill(inner, vfill(fill, h - 2, 1))
    if state in ('hot', 'default'):
        top, bottom = st.hot_ring if state == 'hot' else st.default_ring
        ring_colour = lambda x, y: mix(top, bottom, (y - 1) / (h - 3))  # noqa: E731
        pic.ring(inner, rounded_rect(3, 3, w - 3, h - 3, 1), ring_colour)
        pic.ring(rounded_rect(2, 2, w - 2, h - 2, 1), rounded_rect(3, 3, w - 3, h - 3, 1),
                 lambda x, y: lighten(ring_colour(x, y), 0.25))
    pic.ring(outer, inner, st.push_outline)
    return pic


def tool_face_pic(st, kind, w=20, h=23):
    pic = Pic(w, h)
    outer = rounded_rect(0, 0, w, h, 3)
    inner = rounded_rect(1, 1, w - 1, h - 1, 2)
    if kind == 'hot':
        pic.fill(inner, vfill(st.tool_fill, h - 2, 1))
        pic.ring(inner, rounded_rect(2, 2, w - 1, h - 1, 2), (255, 255, 255))
        outline = st.tool_outline
    elif kind == 'pressed':
        pic.fill(inner, vfill(st.tool_pressed, h - 2, 1))
        pic.ring(inner, rounded_rect(2, 2, w - 1, h - 1, 2), darken(st.tool_pressed[0][1], 0.08))
        outline = darken(st.tool_outline, 0.15)
    else:
        fill = st.tool_down if kind == 'down' else [(t, lighten(c, 0.35)) for t, c in st.tool_down]
        pic.fill(inner, vfill(fill, h - 2, 1))
        pic.ring(inner, rounded_rect(2, 2, w - 1, h - 1, 2), darken(fill[0][1], 0.06))
        outline = darken(st.tool_outline, 0.08)
    pic.ring(outer, inner, outline)
    return pic


def check_box_pic(st, state, mark):
    pic = Pic(16, 16)
    outer = rect_shape(1, 1, 15, 15)
    inner = rect_shape(2, 2, 14, 14)
    if state == 'disabled':
        pic.fill(inner, (255, 255, 255))
        pic.ring(outer, inner, st.disabled_outline)
        colour = st.disabled_glyph
    else:
        a, b = st.box_pressed if state == 'pressed' else st.box_fill
        pic.fill(inner, lambda x, y: mix(a, b, min(1.0, (x + y - 4) / 16.0)))
        if state == 'hot':
            top, bottom = st.hot_ring
            pic.ring(inner, rect_shape(4, 4, 12, 12), lambda x, y: mix(top, bottom, (y - 2) / 11.0))
        pic.ring(outer, inner, st.box_outline)
        colour = st.mark
    if mark == 'checked':
        pic.pixels(4, 4, GLYPHS['check'], colour)
    elif mark == 'grayed':
        if state == 'disabled':
            pic.fill(rect_shape(4, 4, 12, 12), colour)
        else:
            pic.fill(rect_shape(4, 4, 12, 12), lambda x, y: mix(st.mark_light, st.mark, (x + y - 8) / 14.0))
    return pic


def radio_pic(st, state, checked):
    pic = Pic(16, 16)
    outer = ellipse(8, 8, 6.5, 6.5)
    inner = ellipse(8, 8, 5.5, 5.5)
    if state == 'disabled':
        pic.fill(inner, (255, 255, 255))
        pic.ring(outer, inner, st.disabled_outline)
        dot = st.disabled_glyph
    else:
        a, b = st.box_pressed if state == 'pressed' else st.box_fill
        pic.fill(inner, lambda x, y: mix(a, b, min(1.0, (x + y - 4) / 14.0)))
        if state == 'hot':
            top, bottom = st.hot_ring
            pic.ring(inner, ellipse(8, 8, 3.6, 3.6), lambda x, y: mix(top, bottom, (y - 2) / 11.0))
        pic.ring(outer, inner, st.box_outline)
        dot = None
    if checked:
        if dot is not None:
            pic.fill(ellipse(8, 8, 2.7, 2.7), dot)
        else:
            pic.fill(ellipse(8, 8, 2.7, 2.7), lambda x, y: mix(st.mark_light, st.mark, (x + y - 10) / 6.0))
            pic.put(7, 6, lighten(st.mark_light, 0.5), 0.8)
    return pic


def blue_face_pic(st, state, w, h, r):
    """Combo, spin and scroll faces: a soft rounded button."""
    pic = Pic(w, h)
    outer = rounded_rect(0, 0, w, h, r)
    inner = rounded_rect(1, 1, w - 1, h - 1, max(0.5, r - 1))
    if state == 'disabled':
        pic.fill(inner, st.disabled_fill)
        pic.ring(outer, inner, st.disabled_outline)
        return pic
    fill = st.blue_fill
    outline = st.blue_outline
    if state == 'hot':
        fill = [(t, lighten(c, 0.4)) for t, c in fill]
        outline = darken(outline, 0.05)
    elif state == 'pressed':
        fill = [(1.0 - t, darken(c, 0.12)) for t, c in reversed(fill)]
        outline = darken(outline, 0.2)
    pic.fill(inner, vfill(fill, h - 2, 1))
    if state != 'pressed':
        pic.ring(inner, rounded_rect(2, 2, w - 1, h - 1, max(0.5, r - 1)), lighten(fill[0][1], 0.6))
    pic.ring(outer, inner, outline)
    return pic


def arrow_colour(st, state):
    return {'normal': st.arrow, 'hot': st.arrow_hot, 'pressed': st.arrow_pressed,
            'disabled': st.disabled_glyph}[state]


def glyph_button_pic(st, glyph, state):
    # At rest only the glyph shows; hot and pressed get a face behind it.
    pic = Pic(17, 17) if state == 'normal' else blue_face_pic(st, state, 17, 17, 3)
    d = 1 if state == 'pressed' else 0
    glyph_at(pic, {'up': 'double_up', 'down': 'double_down', 'cross': 'cross'}[glyph],
             arrow_colour(st, state), d, d)
    return pic


def size_grip_pic(st):
    pic = Pic(16, 17)
    dark, light = st.dots
    for gx, gy in ((12, 4), (8, 8), (12, 8), (4, 12), (8, 12), (12, 12)):
        pic.put(gx + 1, gy + 1 + 1, light)
        pic.put(gx + 2, gy + 1 + 1, light)
        pic.put(gx + 2, gy + 1, light)
        pic.put(gx, gy, dark)
        pic.put(gx + 1, gy, dark)
        pic.put(gx, gy + 1, dark)
        pic.put(gx + 1, gy + 1, mix(dark, light, 0.4))
    return pic


def band_grip_pic(st):
    pic = Pic(10, 6)
    dark, light = st.dots
    for gx, gy in ((2, 1), (6, 1), (2, 4), (6, 4)):
        pic.put(gx + 1, gy + 1, light)
        pic.put(gx, gy, dark)
    return pic


def menu_button_pic(st, kind, row):
    pic = Pic(19, 19)
    pic.fill(rect_shape(0, 0, 19, 19), (255, 255, 255))
    border, hot, pressed = st.menu_button
    if row > 0:
        pic.fill(rect_shape(1, 1, 18, 18), hot if row == 1 else pressed)
        pic.ring(rect_shape(1, 1, 18, 18), rect_shape(2, 2, 17, 17), border)
    d = 1 if row == 2 else 0
    glyph_at(pic, kind, (0, 0, 0), d, d)
    return pic


def status_bar_pic(st):
    x0, y0, x1, y1 = STATUS_BAR
    pic = Pic(x1 - x0, y1 - y0)
    pic.fill(rect_shape(0, 0, pic.w, pic.h), vfill(st.status, pic.h))
    return pic


def separator_pic(st):
    pic = Pic(3, 15)
    dark, light = st.separator
    for y in range(2, 13):
        pic.put(1, y, dark)
        pic.put(2, y, light)
    return pic


# --- secondary pictures -------------------------------------------------------------


def scroll_face_pic(st, state):
    """Opaque, drawn with a framed nine-part of margin 3 along either axis:
    all shading sits in the 3-pixel edges, the centre is one colour."""
    pic = Pic(17, 17)
    lo, hi = st.track
    if state == 'disabled':
        pic.fill(rect_shape(0, 0, 17, 17), hi)
        pic.fill(rect_shape(1, 1, 16, 16), st.disabled_fill)
        pic.ring(rect_shape(1, 1, 16, 16), rect_shape(2, 2, 15, 15), st.disabled_outline)
        return pic
    face = st.scroll_face
    outline = st.scroll_outline
    if state == 'hot':
        face = lighten(face, 0.4)
    elif state == 'pressed':
        face = darken(face, 0.12)
        outline = darken(outline, 0.2)
    pic.fill(rect_shape(0, 0, 17, 17), hi)
    pic.fill(rect_shape(1, 1, 16, 16), face)
    light = lighten(face, 0.7) if state != 'pressed' else darken(face, 0.06)
    shade = darken(face, 0.07) if state != 'pressed' else lighten(face, 0.2)
    for i in range(2, 15):
        pic.set(i, 2, light)
        pic.set(2, i, light)
        pic.set(i, 14, shade)
        pic.set(14, i, shade)
    pic.ring(rect_shape(1, 1, 16, 16), rect_shape(2, 2, 15, 15), outline)
    for x, y in ((1, 1), (15, 1), (1, 15), (15, 15)):  # softened corners
        pic.set(x, y, mix(outline, hi, 0.55))
    return pic


def scroll_track_pic(st, vertical):
    pic = Pic(17, 17)
    lo, hi = st.track
    stops = [(0.0, lo), (0.25, hi), (0.75, hi), (1.0, lo)]
    if vertical:
        pic.fill(rect_shape(0, 0, 17, 17), lambda x, y: ramp(stops, x / 16.0))
    else:
        pic.fill(rect_shape(0, 0, 17, 17), lambda x, y: ramp(stops, y / 16.0))
    return pic


def arrow_pic(st, direction, state):
    pic = Pic(9, 9)
    glyph_at(pic, 'arrow_' + direction, arrow_colour(st, state))
    return pic


def thumb_pic(st, shape, n, h):
    """Upright thumbs (11 wide); lying ones are their transposes."""
    w = 11
    pic = Pic(w, h)
    if shape == 0:
        outer = rounded_rect(0, 0, w, h, 3)
        inner = rounded_rect(1, 1, w - 1, h - 1, 2)
        accent = rect_shape(1, h - 5, w - 1, h - 1)
    else:
        tip = 5.5
        body = h - 6
        outer = polygon([(0, 0.0), (w, 0.0), (w, body), (tip, h), (0, body)])
        inner = polygon([(1, 1.0), (w - 1, 1.0), (w - 1, body - 0.3), (tip, h - 1.6), (1, body - 0.3)])
        accent = minus(inner, rect_shape(0, 0, w, body - 4))
        if shape == 2:
            outer, inner, accent = flip_v(outer, h), flip_v(inner, h), flip_v(accent, h)
    disabled = n == 4
    fill = [(0.0, C(0xFFFFFF)), (1.0, st.thumb_face)]
    if n == 1:
        fill = [(t, lighten(c, 0.3)) for t, c in fill]
    elif n == 2:
        fill = [(t, darken(c, 0.1)) for t, c in reversed(fill)]
        fill = [(1.0 - t, c) for t, c in fill]
    if disabled:
        fill = [(0.0, st.disabled_fill), (1.0, st.disabled_fill)]
    # Lit from the top left, whichever way the thumb lies.
    colour = lambda x, y: ramp(fill, 0.5 * x / (w - 1.0) + 0.5 * y / (h - 1.0))  # noqa: E731
    pic.fill(inner, colour)
    acc = st.thumb_accent[n]
    pic.fill(accent, lambda x, y: mix(lighten(acc, 0.35), acc, x / (w - 1.0)))
    pic.ring(outer, inner, st.disabled_outline if disabled else st.box_outline)
    return pic


def flip_v(shape, h):
    return lambda px, py: shape(px, h - py)


def transposed(pic):
    out = Pic(pic.h, pic.w)
    for y in range(pic.h):
        for x in range(pic.w):
            out.c[x][y] = pic.c[y][x]
            out.a[x][y] = pic.a[y][x]
    return out


def flipped(pic, horizontal):
    out = Pic(pic.w, pic.h)
    for y in range(pic.h):
        for x in range(pic.w):
            sx, sy = (pic.w - 1 - x, y) if horizontal else (x, pic.h - 1 - y)
            out.c[y][x] = pic.c[sy][sx]
            out.a[y][x] = pic.a[sy][sx]
    return out


def state_box_pic(st, variant):
    pic = Pic(18, 18)
    if variant == 'raised':
        pic.fill(rect_shape(0, 0, 18, 18), st.face)
        top, bottom = (255, 255, 255), darken(st.face, 0.25)
    elif variant == 'sunken':
        pic.fill(rect_shape(0, 0, 18, 18), st.window)
        top, bottom = darken(st.face, 0.25), (255, 255, 255)
    elif variant == 'selected':
        pic.fill(rect_shape(0, 0, 18, 18), lighten(st.select, 0.55))
        top, bottom = lighten(st.select, 0.8), st.select
    else:
        pic.fill(rect_shape(0, 0, 18, 18), st.face)
        top = bottom = st.menu_select
    for i in range(18):
        pic.set(i, 0, top)
        pic.set(0, i, top)
        pic.set(i, 17, bottom)
        pic.set(17, i, bottom)
    return pic


def tab_pic(st, kind, w=21, h=21):
    """A tab on top of its page: rounded top, open bottom."""
    pic = Pic(w, h)
    outer = rounded_rect(0, 0, w, h + 4, 3)
    inner = rounded_rect(1, 1, w - 1, h + 4, 2)
    if kind == 'selected':
        pic.fill(inner, st.page)
    else:
        fill = st.tab_fill if kind == 'normal' else [(t, lighten(c, 0.5)) for t, c in st.tab_fill]
        pic.fill(inner, vfill(fill, h - 2, 1))
    pic.ring(outer, inner, st.tab_outline)
    if kind != 'normal':
        a, b = st.tab_accent
        pic.fill(rounded_rect(0, 0, w, 4, 3), lambda x, y: b if y == 0 else a)
        pic.fill(rect_shape(1, 3, w - 1, 4), (lambda x, y: lighten(a, 0.4)) if kind == 'hot' else a)
    if kind != 'selected':
        for x in range(w):
            pic.set(x, h - 1, st.tab_outline)  # the page's own border
    return pic


def panel_pic(st):
    x0, y0, x1, y1 = PANEL
    pic = Pic(x1 - x0, y1 - y0)
    pic.fill(rect_shape(0, 0, pic.w, pic.h), st.page)
    pic.ring(rect_shape(0, 0, pic.w, pic.h), rect_shape(1, 1, pic.w - 1, pic.h - 1), st.tab_outline)
    pic.ring(rect_shape(1, 1, pic.w - 1, pic.h - 1), rect_shape(2, 2, pic.w - 2, pic.h - 2),
             lambda x, y: (255, 255, 255) if x == 1 or y == 1 else darken(st.page, 0.05))
    return pic


# --- the two skins --------------------------------------------------------------------


def draw_frames_and_buttons(atlas, st, active):
    fx, fy, fr, fb = STANDARD_FRAME
    atlas.place(frame_pic(st, active, fr - fx, fb - fy, CAPTION_HEIGHT, BORDER, True), fx, fy)
    tx, ty, tr, tb = TOOL_FRAME
    atlas.place(frame_pic(st, active, tr - tx, tb - ty, TOOL_CAPTION_HEIGHT, TOOL_BORDER, False), tx, ty)
    cap = caption_rows(st, active, CAPTION_HEIGHT)
    tool_cap = caption_rows(st, active, TOOL_CAPTION_HEIGHT)
    for kind, row in CAPTION_BUTTON_ROWS.items():
        for state, col in zip(STATES, CAPTION_BUTTON_COLUMNS):
            pic = caption_button_pic(st, active, kind, state, 21)
            atlas.place(pic, col, row, matte=lambda j: cap[BUTTON_TOP + j])
    cx, cy, cols = SMALL_CLOSE
    for state, col in zip(STATES, cols):
        pic = caption_button_pic(st, active, 'close', state, 14)
        atlas.place(pic, col, cy, matte=lambda j: tool_cap[TOOL_BUTTON_TOP + j])


def primary(st, key_pixel):
    atlas = Atlas(*PRIMARY_SIZE)
    draw_frames_and_buttons(atlas, st, True)
    px, rows = PUSH_BUTTON
    for state, row in zip(('normal', 'hot', 'pressed', 'disabled', 'default'), rows):
        atlas.place_keyed(push_button_pic(st, state), px, row, st.face)
    for glyph, row in GLYPH_BUTTON_ROWS.items():
        for state, col in zip(STATES, GLYPH_BUTTON_COLUMNS):
            atlas.place_keyed(glyph_button_pic(st, glyph, state), col, row, st.face)
    atlas.place_keyed(band_grip_pic(st), BAND_GRIP[0], BAND_GRIP[1], st.face)
    rx, rows = RADIO
    for checked in (False, True):
        for state, row in zip(STATES, rows):
            atlas.place_keyed(radio_pic(st, state, checked), rx, row + 64 * checked, st.face)
    cx, rows = CHECK
    for i, mark in enumerate(('unchecked', 'checked', 'grayed')):
        for state, row in zip(STATES, rows):
            atlas.place_keyed(check_box_pic(st, state, mark), cx, row + 64 * i, st.face)
    bx, rows = COMBO_BUTTON
    for state, row in zip(STATES, rows):
        atlas.place(blue_face_pic(st, state, 15, 14, 2.5), bx, row, matte=st.window)
    ax, rows = COMBO_ARROW
    for state, row in zip(STATES, rows):
        pic = Pic(10, 7)
        glyph_at(pic, 'combo_arrow', arrow_colour(st, state))
        atlas.place_keyed(pic, ax, row, st.face)
    for kind, (x, y) in SPEED_FACES.items():
        atlas.place_keyed(tool_face_pic(st, kind), x, y, st.face)
    # The grip area doubles as a speed face: a faint frame around the grip,
    # left open where the grip's own keyed column lies.
    gx, gy = GRIP_AREA
    frame = Pic(20, 23)
    frame.ring(rect_shape(0, 0, 20, 23), rect_shape(1, 1, 19, 22), lighten(st.tool_outline, 0.5))
    for y in range(1, 18):
        frame.a[y][0] = 0.0
    atlas.place_keyed(frame, gx, gy, st.face)
    atlas.place_keyed(size_grip_pic(st), SIZE_GRIP[0], SIZE_GRIP[1], st.face)
    sx, rows = SPIN_FACES
    for state, row in zip(STATES, rows):
        atlas.place_keyed(blue_face_pic(st, state, 14, 14, 2.5), sx, row, st.face)
    kinds, rows = MENU_BUTTONS
    for kind, col in kinds.items():
        for i, row in enumerate(rows):
            atlas.place(menu_button_pic(st, kind, i), col, row, matte=(255, 255, 255))
    hx, rows, down = CHEVRON
    for extra in (0, down):
        for state, row in zip(STATES, rows):
            pic = Pic(6, 3)
            colour = arrow_colour(st, state)
            if extra and row + extra + 3 > STATUS_BAR[1]:
                # Its last row is the status bar's top line: a smaller
                # chevron above it.
                pic.pixels(0, 0, GLYPHS['chevron'][1:], darken(colour, 0.25))
            else:
                pic.pixels(0, 0, GLYPHS['chevron'], darken(colour, 0.25) if extra else colour)
            atlas.place_keyed(pic, hx, row + extra, st.face)
    # The status bar overlaps the last rows of the stays-down chevrons; it
    # is stretched across the whole bar, so it wins.
    atlas.place(status_bar_pic(st), STATUS_BAR[0], STATUS_BAR[1])
    atlas.place_keyed(separator_pic(st), PANEL_SEPARATOR[0], PANEL_SEPARATOR[1], st.face)
    atlas.set(0, 0, key_pixel)
    return atlas


def secondary(st, key_at, key_pixel):
    atlas = Atlas(*SECONDARY_SIZE)
    draw_frames_and_buttons(atlas, st, False)
    for shape, lying, (x0, y0, x1, y1), step in TRACK_THUMBS:
        for n in range(5):
            pic = thumb_pic(st, shape, n, max(x1 - x0, y1 - y0))
            if lying:
                pic = transposed(pic)
            assert (pic.w, pic.h) == (x1 - x0, y1 - y0), (shape, lying, pic.w, pic.h)
            atlas.place_keyed(pic, x0, y0 + step * n, st.face)
    bx, rows = STATE_BOXES
    for variant, row in rows.items():
        atlas.place(state_box_pic(st, variant), bx, row)
    fx, rows = SCROLL_FACES
    for state, row in zip(STATES, rows):
        atlas.place(scroll_face_pic(st, state), fx, row)
    for kind, (x, y) in SCROLL_TRACKS.items():
        atlas.place(scroll_track_pic(st, kind == 'vertical'), x, y)
    cols, rows = SCROLL_ARROWS
    for direction, col in cols.items():
        for state, row in zip(STATES, rows):
            atlas.place_keyed(arrow_pic(st, direction, state), col, row, st.face)
    for kind, row in TAB_ROWS.items():
        top = tab_pic(st, kind)
        pics = {'top': top, 'bottom': flipped(top, False), 'left': transposed(top),
                'right': flipped(transposed(top), True)}
        for position, col in TAB_COLUMNS.items():
            atlas.place_keyed(pics[position], col, row, st.face)
    x0, y0, x1, y1 = SELECTED_TAB
    top_cell = TAB_COLUMNS['top']
    for y in range(y0, y1):
        for x in range(top_cell, top_cell + 21):
            atlas.set(x, y, KEY)
    atlas.place_keyed(tab_pic(st, 'selected', x1 - x0, y1 - y0), x0, y0, st.face)
    atlas.place(panel_pic(st), PANEL[0], PANEL[1])
    atlas.set(key_at[0], key_at[1], key_pixel)
    return atlas


SKINS = [
    ('XP_MAIN.pcx', lambda: primary(Luna, rgb(0xFE02FE)), rgb(0xFE02FE)),
    ('XP_MAIN1.pcx', lambda: secondary(Luna, (0, 0), rgb(0xFF01FF)), rgb(0xFF01FF)),
    ('XP_METAL_MAIN.pcx', lambda: primary(MetalLuna, rgb(0xFF00FF)), rgb(0xFF00FF)),
    ('XP_METAL_MAIN1.pcx', lambda: secondary(MetalLuna, (0, 434), rgb(0xFF00FF)), rgb(0xFF00FF)),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'resources', 'skins')
    os.makedirs(out, exist_ok=True)
    for name, build, key in SKINS:
        atlas = build()
        # The background is plain magenta; the corner key may differ slightly.
        quantise(atlas, keep=(KEY, key))
        for row in atlas.px:
            for c in row:
                if near_key(c) and c not in (KEY, key):
                    raise ValueError('%s: picture colour %r is within the key tolerance' % (name, c))
        with open(os.path.join(out, name), 'wb') as f:
            f.write(encode_pcx(atlas))
        print(name, atlas.w, 'x', atlas.h)


if __name__ == '__main__':
    main()
