"""Reading and writing PNG files with the standard library alone.

Pictures are (width, height, rows) where each row is a bytearray of RGB
triples. Reading takes the 8-bit, non-interlaced files that Chromium and the
imaging component write (grey, grey with alpha, RGB, RGBA, palette); alpha is
laid over white, as a page's background is.
"""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


class PngError(Exception):
    pass


def _chunks(data):
    pos = len(SIGNATURE)
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if pos + 12 + length > len(data):
            raise PngError("chunk %r runs past the end of the file" % kind)
        yield kind, data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IEND":
            return
    raise PngError("the file ends before its IEND chunk")


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(raw, height, stride, bpp):
    rows = []
    prev = bytearray(stride)
    pos = 0
    for _ in range(height):
        if pos + 1 + stride > len(raw):
            raise PngError("the image data is shorter than its size says")
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                upleft = prev[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + _paeth(left, prev[i], upleft)) & 0xFF
        elif kind != 0:
            raise PngError("unknown row filter %d" % kind)
        rows.append(line)
        prev = line
    return rows


def _over_white(value, alpha):
    return (value * alpha + 255 * (255 - alpha) + 127) // 255


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        raise PngError("%s is not a PNG file" % path)
    header = None
    palette = b""
    idat = []
    for kind, body in _chunks(data):
        if kind == b"IHDR":
            if len(body) != 13:
                raise PngError("bad IHDR chunk")
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"IDAT":
            idat.append(body)
    if header is None:
        raise PngError("%s has no IHDR chunk" % path)
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or interlace != 0:
        raise PngError("%s: only 8-bit non-interlaced files are read" % path)
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour)
    if channels is None:
        raise PngError("%s: unknown colour type %d" % (path, colour))
    if width == 0 or height == 0 or width * height > 200_000_000:
        raise PngError("%s: unreasonable size %dx%d" % (path, width, height))
    try:
        raw = zlib.decompress(b"".join(idat))
    except zlib.error as e:
        raise PngError("%s: damaged image data (%s)" % (path, e))
    rows = _unfilter(raw, height, width * channels, channels)
    out = []
    for line in rows:
        if colour == 2:
            out.append(line)
            continue
        rgb = bytearray(width * 3)
        for x in range(width):
            if colour == 0:
                rgb[3 * x:3 * x + 3] = bytes((line[x],) * 3)
            elif colour == 4:
                g = _over_white(line[2 * x], line[2 * x + 1])
                rgb[3 * x:3 * x + 3] = bytes((g, g, g))
            elif colour == 3:
                i = line[x] * 3
                if i + 3 > len(palette):
                    raise PngError("%s: palette index out of range" % path)
                rgb[3 * x:3 * x + 3] = palette[i:i + 3]
            else:
                a = line[4 * x + 3]
                rgb[3 * x:3 * x + 3] = bytes(_over_white(line[4 * x + c], a) for c in range(3))
        out.append(rgb)
    return width, height, out


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def encode_png(width, height, rows, alpha=False):
    """The bytes of an RGB (or RGBA when `alpha`) PNG of the given rows."""
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    colour = 6 if alpha else 2
    return (SIGNATURE + _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour, 0, 0, 0)) +
            _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def write_png(path, width, height, rows, alpha=False):
    with open(path, "wb") as f:
        f.write(encode_png(width, height, rows, alpha))
