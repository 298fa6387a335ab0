#!/usr/bin/env python3
"""Draws the corpus pages' pictures: admonition icons, a diagram, a logo and
a chart. Run again after changing them; the PNGs are committed beside it."""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import pngio  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, width, height, fill=(255, 255, 255, 0)):
        self.width, self.height = width, height
        self.px = [[list(fill) for _ in range(width)] for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = list(colour) + [255] * (4 - len(colour))

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.rect(x0, y0, x1, y0 + 1, colour)
        self.rect(x0, y1 - 1, x1, y1, colour)
        self.rect(x0, y0, x0 + 1, y1, colour)
        self.rect(x1 - 1, y0, x1, y1, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(self.height):
            for x in range(self.width):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r - 0.5:
                    self.put(x, y, colour)
                elif d < r + 0.5:  # a soft edge through alpha
                    a = int(255 * (r + 0.5 - d))
                    self.put(x, y, tuple(colour[:3]) + (a,))

    def triangle(self, colour, outline):
        w, h = self.width, self.height
        for y in range(h):
            half = (y + 1) * (w / 2) / h
            for x in range(w):
                if abs(x + 0.5 - w / 2) <= half:
                    edge = abs(x + 0.5 - w / 2) > half - 1.5 or y == h - 1
                    self.put(x, y, outline if edge else colour)

    def save(self, name):
        rows = [bytearray(v for p in row for v in p) for row in self.px]
        pngio.write_png(os.path.join(HERE, "images", name), self.width, self.height, rows, alpha=True)


def note():
    c = Canvas(24, 24)
    c.disc(12, 12, 11, (40, 90, 170))
    c.rect(11, 5, 13, 8, (255, 255, 255))
    c.rect(11, 10, 13, 19, (255, 255, 255))
    c.save("note.png")


def warning():
    c = Canvas(24, 22)
    c.triangle((250, 200, 40), (150, 100, 0))
    c.rect(11, 7, 13, 15, (40, 30, 0))
    c.rect(11, 17, 13, 19, (40, 30, 0))
    c.save("warning.png")


def diagram():
    # Three stages joined by arrows, on an opaque pale ground.
    c = Canvas(420, 110, (248, 248, 240, 255))
    c.frame(0, 0, 420, 110, (160, 160, 150))
    stages = [(20, (200, 220, 250)), (160, (210, 240, 210)), (300, (250, 225, 200))]
    for x, fill in stages:
        c.rect(x, 30, x + 100, 80, fill)
        c.frame(x, 30, x + 100, 80, (60, 60, 60))
    for x in (120, 260):
        c.rect(x + 4, 54, x + 34, 56, (60, 60, 60))
        for i in range(6):
            c.rect(x + 34 - i, 55 - i, x + 35 - i, 56 + i, (60, 60, 60))
    c.save("pipeline.png")


def logo():
    c = Canvas(160, 48)
    for y in range(48):
        for x in range(160):
            t = x / 159
            c.put(x, y, (int(30 + 60 * t), int(80 + 90 * t), int(140 + 80 * t), 255 if 4 <= y < 44 else 0))
    c.disc(24, 24, 16, (255, 255, 255))
    c.disc(24, 24, 9, (50, 110, 170))
    c.save("logo.png")


def chart():
    # A bar chart for the Chinese page: five bars on a grid.
    c = Canvas(300, 160, (255, 255, 255, 255))
    for y in range(20, 150, 26):
        c.rect(30, y, 290, y + 1, (220, 220, 220))
    c.rect(30, 10, 31, 150, (80, 80, 80))
    c.rect(30, 149, 290, 150, (80, 80, 80))
    for i, h in enumerate((60, 95, 120, 80, 130)):
        c.rect(45 + i * 50, 149 - h, 75 + i * 50, 149, (200, 60 + i * 30, 60))
    c.save("chart.png")


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "images"), exist_ok=True)
    note()
    warning()
    diagram()
    logo()
    chart()
