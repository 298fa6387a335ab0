"""What the art scripts share: the magenta key and a 24-bit BMP writer."""

import struct

KEY = (255, 0, 255)


def bmp24(pixels):
    """A bottom-up 24-bit BMP file of rows of (r, g, b)."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(body), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return header + info + bytes(body)


def canvas(width, height, fill=KEY):
    return [[fill for _ in range(width)] for _ in range(height)]
