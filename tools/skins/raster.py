"""Small raster toolkit for the skin generator: pictures with coverage,
anti-aliased shapes by supersampling, palette reduction and the PCX writer.

Colours are (r, g, b) tuples of floats 0..255 while drawing; the atlas holds
integer tuples once a picture is placed."""

import struct

KEY = (255, 0, 255)
SAMPLES = 4  # supersampling grid per pixel side for anti-aliased edges


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else v


def rgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def mix(a, b, t):
    """a blended towards b by t (0 = a, 1 = b)."""
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def grey(c, t):
    """Desaturated by t towards the colour's own luminance."""
    lum = 0.30 * c[0] + 0.59 * c[1] + 0.11 * c[2]
    return mix(c, (lum, lum, lum), t)


def ramp(stops, t):
    """Colour at t (0..1) along [(t0, colour), (t1, colour), ...]."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 1.0)
    return stops[-1][1]


def near_key(c, tolerance=5):
    return all(abs(int(round(c[i])) - KEY[i]) <= tolerance for i in range(3))


# --- coverage shapes (functions of a continuous point, pixel (x, y) spans
# [x, x+1) x [y, y+1)) ------------------------------------------------------


def rounded_rect(x0, y0, x1, y1, r):
    def inside(px, py):
        if px < x0 or px >= x1 or py < y0 or py >= y1:
            return False
        cx = x0 + r if px < x0 + r else x1 - r if px > x1 - r else px
        cy = y0 + r if py < y0 + r else y1 - r if py > y1 - r else py
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside


def rect_shape(x0, y0, x1, y1):
    return lambda px, py: x0 <= px < x1 and y0 <= py < y1


def ellipse(cx, cy, rx, ry):
    return lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0


def polygon(points):
    def inside(px, py):
        hit = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > py) != (by > py):
                if px < ax + (py - ay) * (bx - ax) / (by - ay):
                    hit = not hit
        return hit
    return inside


def minus(a, b):
    return lambda px, py: a(px, py) and not b(px, py)


class Pic:
    """A picture with per-pixel coverage (alpha 0..1)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.c = [[(0.0, 0.0, 0.0)] * w for _ in range(h)]
        self.a = [[0.0] * w for _ in range(h)]

    def put(self, x, y, colour, alpha=1.0):
        if 0 <= x < self.w and 0 <= y < self.h and alpha > 0:
            oa = self.a[y][x]
            na = alpha + oa * (1 - alpha)
            oc = self.c[y][x]
            self.c[y][x] = tuple((colour[i] * alpha + oc[i] * oa * (1 - alpha)) / na for i in range(3))
            self.a[y][x] = na

    def fill(self, shape, colour, bounds=None, boost=1.0):
        """Paints colour (a tuple, or a function of x, y) where shape covers;
        boost > 1 firms up thin anti-aliased lines."""
        x0, y0, x1, y1 = bounds or (0, 0, self.w, self.h)
        step = 1.0 / SAMPLES
        offsets = [(i + 0.5) * step for i in range(SAMPLES)]
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if shape(x + ox, y + oy):
                            hits += 1
                if hits:
                    c = colour(x, y) if callable(colour) else colour
                    self.put(x, y, c, min(1.0, boost * hits / (SAMPLES * SAMPLES)))

    def ring(self, outer, inner, colour, bounds=None, boost=1.5):
        self.fill(minus(outer, inner), colour, bounds, boost)

    def pixels(self, x, y, rows, colour, alpha=1.0):
        """Crisp pixel art: '#' is colour, '+' is colour at half strength."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.put(x + i, y + j, colour, alpha)
                elif ch == '+':
                    self.put(x + i, y + j, colour, alpha * 0.5)

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.c[y][x] = tuple(colour)
            self.a[y][x] = 1.0


class Atlas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[KEY] * w for _ in range(h)]

    def place(self, pic, x, y, matte=None, keep=0.3):
        """Copies pic at (x, y). Without a matte, pixels covered less than
        `keep` stay the key and the others keep their own colour; with a
        matte (a colour, or a function of the picture row for backgrounds
        that change from row to row) every pixel is blended onto it."""
        for j in range(pic.h):
            for i in range(pic.w):
                a = pic.a[j][i]
                c = pic.c[j][i]
                if matte is None:
                    if a < keep:
                        continue
                    out = c
                else:
                    m = matte(j) if callable(matte) else matte
                    out = mix(m, c, a)
                self.px[y + j][x + i] = tuple(int(round(clamp(v))) for v in out)

    def place_keyed(self, pic, x, y, edge, keep=0.3):
        """Keyed picture: blends partial coverage against `edge`, the colour
        the picture is expected to sit on, and keys the rest."""
        for j in range(pic.h):
            for i in range(pic.w):
                a = pic.a[j][i]
                if a < keep:
                    continue
                out = mix(edge, pic.c[j][i], min(1.0, a))
                self.px[y + j][x + i] = tuple(int(round(clamp(v))) for v in out)

    def set(self, x, y, colour):
        self.px[y][x] = tuple(colour)

    def get(self, x, y):
        return self.px[y][x]


# --- palette reduction ----------------------------------------------------------


def _median_cut(colours, count):
    """colours: list of ((r, g, b), weight); returns up to count boxes."""
    boxes = [colours]
    while len(boxes) < count:
        best, best_score = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
            score = max(spans) * sum(w for _, w in box) ** 0.5
            if score > best_score:
                best, best_score = i, score
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: c[0][axis])
        total = sum(w for _, w in box)
        run, cut = 0, 1
        for i, (_, w) in enumerate(box):
            run += w
            if run * 2 >= total:
                cut = min(max(i + 1, 1), len(box) - 1)
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    return boxes


def quantise(atlas, keep=()):
    """Reduces the atlas to at most 256 colours in place. Colours in `keep`
    (the key colours) survive exactly and nothing else is mapped onto them."""
    counts = {}
    for row in atlas.px:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    fixed = [c for c in keep if c in counts]
    others = [(c, n) for c, n in counts.items() if c not in fixed]
    room = 256 - len(fixed)
    if len(others) <= room:
        return
    boxes = _median_cut(others, room)
    palette = []
    for box in boxes:
        total = sum(w for _, w in box)
        palette.append(tuple(int(round(sum(c[k] * w for c, w in box) / total)) for k in range(3)))
    # A few rounds of refinement towards the weighted means of the members.
    for _ in range(3):
        sums = [[0, 0, 0, 0] for _ in palette]
        mapping = {}
        for c, n in others:
            best = min(range(len(palette)), key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
            mapping[c] = best
            s = sums[best]
            for k in range(3):
                s[k] += c[k] * n
            s[3] += n
        palette = [tuple(int(round(s[k] / s[3])) for k in range(3)) if s[3] else palette[i]
                   for i, s in enumerate(sums)]
    lookup = {c: palette[mapping[c]] for c, _ in others}
    for row in atlas.px:
        for i, c in enumerate(row):
            if c in lookup:
                row[i] = lookup[c]


# --- PCX ----------------------------------------------------------------------------


def encode_pcx(atlas):
    """Version 5, 8 bits, one plane, run-length encoded, palette block last.
    The colour of the top-left pixel is palette entry 0."""
    index = {}
    order = []
    for row in atlas.px:
        for c in row:
            if c not in index:
                index[c] = len(order)
                order.append(c)
    if len(order) > 256:
        raise ValueError('more than 256 colours: %d' % len(order))
    w, h = atlas.w, atlas.h
    header = bytearray(128)
    struct.pack_into('<BBBBHHHHHH', header, 0, 10, 5, 1, 8, 0, 0, w - 1, h - 1, 72, 72)
    struct.pack_into('<BHH', header, 65, 1, w + (w & 1), 1)
    data = bytearray()
    for row in atlas.px:
        line = [index[c] for c in row] + ([0] if w & 1 else [])
        i = 0
        while i < len(line):
            v = line[i]
            n = 1
            while i + n < len(line) and line[i + n] == v and n < 63:
                n += 1
            if n > 1 or v >= 0xC0:
                data += bytes((0xC0 | n, v))
            else:
                data.append(v)
            i += n
    palette = bytearray([12])
    for i in range(256):
        palette += bytes(order[i]) if i < len(order) else bytes(3)
    return bytes(header) + bytes(data) + bytes(palette)
