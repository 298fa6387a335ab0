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


# The 16 colours of the platform's standard palette; the key is one of them.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
             (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
             (0, 255, 255), (255, 255, 255)]


def bmp4(pixels):
    """A bottom-up 16-colour BMP file of rows of (r, g, b), each one of PALETTE16."""
    height = len(pixels)
    width = len(pixels[0])
    stride = ((width + 1) // 2 + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, colour in enumerate(row):
            index = PALETTE16.index(colour)
            line[x // 2] |= index << 4 if x % 2 == 0 else index
        body += line
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(body), 2835, 2835, 16, 16)
    return header + info + table + bytes(body)
