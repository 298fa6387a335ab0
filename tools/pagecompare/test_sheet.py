"""Tests of the comparison sheets' PNG reading and writing and their layout.

PNGs of every filter and colour type come from ImageMagick, an encoder of
its own, so that the reader is checked against files it did not write.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pngio  # noqa: E402
import sheet  # noqa: E402


def pattern(width, height, colour):
    """Rows whose pixels vary in every channel, so that each filter has work."""
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes(colour(x, y))
        rows.append(row)
    return rows


def rgb_at(rows, x, y):
    return tuple(rows[y][3 * x:3 * x + 3])


class PngRoundTrip(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def magick(self, source, target, *options):
        subprocess.run(["convert", source, *options, target], check=True)

    def test_our_file_reads_back_exactly(self):
        rows = pattern(17, 9, lambda x, y: ((x * 15) & 255, (y * 28) & 255, (x * y * 7) & 255))
        pngio.write_png(self.path("a.png"), 17, 9, rows)
        self.assertEqual(pngio.read_png(self.path("a.png")), (17, 9, rows))

    @unittest.skipUnless(shutil.which("convert"), "ImageMagick is needed")
    def test_every_row_filter_of_another_encoder(self):
        rows = pattern(33, 21, lambda x, y: ((x * 7 + y) & 255, (y * 11) & 255, (x * y) & 255))
        pngio.write_png(self.path("src.png"), 33, 21, rows)
        for f in range(5):  # none, sub, up, average, paeth
            with self.subTest(filter=f):
                self.magick(self.path("src.png"), "PNG24:" + self.path("f.png"),
                            "-define", "png:compression-filter=%d" % f)
                self.assertEqual(pngio.read_png(self.path("f.png")), (33, 21, rows))

    @unittest.skipUnless(shutil.which("convert"), "ImageMagick is needed")
    def test_grey_palette_and_alpha_files(self):
        grey = pattern(10, 6, lambda x, y: ((x * 25) & 255,) * 3)
        pngio.write_png(self.path("grey-src.png"), 10, 6, grey)
        self.magick(self.path("grey-src.png"), "PNG8:" + self.path("pal.png"))
        self.assertEqual(pngio.read_png(self.path("pal.png")), (10, 6, grey))
        self.magick(self.path("grey-src.png"), self.path("g.png"), "-colorspace", "Gray",
                    "-define", "png:color-type=0", "-depth", "8")
        self.assertEqual(pngio.read_png(self.path("g.png")), (10, 6, grey))
        # Half-transparent black over white is mid grey; opaque pixels stay.
        rgba = [bytearray((0, 0, 0, 128, 200, 10, 20, 255))]
        pngio.write_png(self.path("rgba.png"), 2, 1, rgba, alpha=True)
        _, _, back = pngio.read_png(self.path("rgba.png"))
        self.assertEqual(rgb_at(back, 0, 0), (127, 127, 127))
        self.assertEqual(rgb_at(back, 1, 0), (200, 10, 20))

    def test_damaged_files_are_refused_with_a_reason(self):
        pngio.write_png(self.path("ok.png"), 4, 4, pattern(4, 4, lambda x, y: (x, y, 0)))
        with open(self.path("ok.png"), "rb") as f:
            data = f.read()
        cases = {
            "not a PNG": b"GIF89a" + data[6:],
            "cut short": data[:40],
            "no image data": data[:33] + data[-12:],
        }
        for name, body in cases.items():
            with self.subTest(name):
                with open(self.path("bad.png"), "wb") as f:
                    f.write(body)
                with self.assertRaises(pngio.PngError):
                    pngio.read_png(self.path("bad.png"))
        # A file whose rows are fewer than its header says.
        short = zlib.compress(b"\x00" + b"\x00" * 12)
        body = (pngio.SIGNATURE + pngio._chunk(b"IHDR", bytes.fromhex("00000004000000040802000000")) +
                pngio._chunk(b"IDAT", short) + pngio._chunk(b"IEND", b""))
        with open(self.path("bad.png"), "wb") as f:
            f.write(body)
        with self.assertRaisesRegex(pngio.PngError, "shorter"):
            pngio.read_png(self.path("bad.png"))


class Sheets(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def test_trailing_background_rows_are_cut(self):
        white = bytearray(b"\xff" * 9)
        ink = bytearray(b"\xff\xff\xff\x00\x00\x00\xff\xff\xff")
        self.assertEqual(sheet.trim_bottom(5, [white, ink, white, white, white]), 2)
        self.assertEqual(sheet.trim_bottom(3, [white, white, white]), 1)
        # The last row is the page itself when it is not of one colour.
        self.assertEqual(sheet.trim_bottom(3, [white, white, ink]), 3)
        # Whatever colour the page's background has.
        grey = bytearray(b"\x80" * 9)
        self.assertEqual(sheet.trim_bottom(5, [white, ink, grey, grey, grey]), 2)

    def test_built_in_left_chromium_right_under_a_label_strip(self):
        left = pattern(6, 5, lambda x, y: (255, 0, 0))
        right = pattern(4, 9, lambda x, y: (0, 0, 255) if y < 3 else (255, 255, 255))
        pngio.write_png(self.path("l.png"), 6, 5, left)
        pngio.write_png(self.path("r.png"), 4, 9, right)
        self.assertEqual(sheet.compose(self.path("l.png"), self.path("r.png"), self.path("s.png"), "p.htm", 6),
                         (5, 3))
        width, height, rows = pngio.read_png(self.path("s.png"))
        self.assertEqual(width, 6 + sheet.GAP + 4)
        self.assertEqual(height, sheet.STRIP + 5)
        top = sheet.STRIP
        self.assertEqual(rgb_at(rows, 0, top), (255, 0, 0))
        self.assertEqual(rgb_at(rows, 5, top + 4), (255, 0, 0))
        self.assertEqual(rgb_at(rows, 6, top), sheet.GAP_COLOUR)
        self.assertEqual(rgb_at(rows, 6 + sheet.GAP, top), (0, 0, 255))
        self.assertEqual(rgb_at(rows, 6 + sheet.GAP + 3, top + 2), (0, 0, 255))
        # Chromium's empty rows are gone; below its page the gap colour shows.
        self.assertEqual(rgb_at(rows, 6 + sheet.GAP, top + 3), sheet.GAP_COLOUR)
        self.assertEqual(rgb_at(rows, width - 1, 0), sheet.STRIP_COLOUR)

    def test_labels_are_drawn_in_the_strip(self):
        rows = sheet.blank(40, sheet.STRIP, sheet.STRIP_COLOUR)
        end = sheet.draw_text(rows, 2, 3, "L1", sheet.INK)
        self.assertEqual(end, 2 + 2 * (sheet.GLYPH_W + 1) * sheet.SCALE)
        # The L's upright, and nothing left of where the text starts.
        for y in range(3, 3 + 7 * sheet.SCALE):
            self.assertEqual(rgb_at(rows, 2, y), sheet.INK)
            self.assertEqual(rgb_at(rows, 1, y), sheet.STRIP_COLOUR)
        # Text running past the edge is clipped, not an error.
        sheet.draw_text(rows, 35, sheet.STRIP - 4, "WWWW", sheet.INK)

    def test_every_glyph_fills_its_cell(self):
        for ch, bits in sheet.FONT.items():
            self.assertEqual(len(bits), sheet.GLYPH_W * sheet.GLYPH_H, ch)
            self.assertLessEqual(set(bits), {"#", "."}, ch)

    def test_index_lists_every_sheet_with_names_escaped(self):
        sheet.write_index(self.path("index.html"), 640, ["a.html", "b&c.htm"])
        with open(self.path("index.html"), encoding="utf-8") as f:
            text = f.read()
        self.assertIn("at 640 px", text)
        self.assertIn('<a href="a.html.png">a.html</a>', text)
        self.assertIn('<a href="b&amp;c.htm.png">b&amp;c.htm</a>', text)
        self.assertNotIn("b&c", text)


if __name__ == "__main__":
    unittest.main()
