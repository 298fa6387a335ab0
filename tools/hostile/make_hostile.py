#!/usr/bin/env python3
"""Writes hostile help sets: folders that each hold a topic index
(TrvNode.DLL) and pages made to hurt a viewer that reads files it did not
write. Python standard library only.

    make_hostile.py OUT [--scale S] [--seed N]

--scale 1 gives the full sizes (a 100 MB index, 250,000 topics, 10,000
levels, a 50 MB page, 100,000 nested elements, a 10,000 x 10 table); the
test run uses a small scale. Every set is a folder OUT/<name>; OUT/sets.txt
lists them, one a line, with what the viewer is to do on each:

    <name> TAB quiet               no message at all
    <name> TAB message TAB <text>  one error message holding <text>, then quiet

A set may hold TrvNode.next and further TrvNode.<n> files: indexes that
replace the first between two shows ("gone" in their place means the index
is deleted before that show), each line of OUT/<name>/reshow.txt naming one
with its expectation as above.
"""

import argparse
import os
import random
import sys

MAX_FILE_BYTES = 32 << 20  # larger indexes are refused by their size
MAX_TOPICS = 250000
REMOTE = "http://127.0.0.1:47611"  # the test listens here: nothing may arrive


def index_expectation(data):
    """What the viewer reports for an index, by the format's rules."""
    if len(data) > MAX_FILE_BYTES:
        return ("message", "too large")
    text = data.split(b"\0", 1)[0]
    lines = []
    start = 0
    i = 0
    while i < len(text):
        c = text[i]
        if c in (13, 10):
            lines.append(text[start:i])
            i += 2 if c == 13 and text[i + 1:i + 2] == b"\n" else 1
            start = i
        else:
            i += 1
    if start < len(text):
        lines.append(text[start:])
    if len(lines) > MAX_TOPICS:
        return ("message", "a tree takes at most")
    previous = None
    for line in lines:
        level = len(line) - len(line.lstrip(b"\t "))
        if previous is not None and level > previous + 1:
            return ("message", "Invalid level (%d)" % level)
        previous = 0 if previous is None else level
    return ("quiet", "")


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def sparse(path, size):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.truncate(size)


class Sets:
    def __init__(self, out, scale, rng):
        self.out = out
        self.scale = scale
        self.rng = rng
        self.lines = []

    def n(self, full, least):
        return max(least, int(full * self.scale))

    def folder(self, name):
        return os.path.join(self.out, name)

    def add(self, name, expectation):
        kind, text = expectation
        self.lines.append("%s\t%s\t%s" % (name, kind, text) if kind == "message" else "%s\tquiet" % name)

    def index(self, name, data):
        write(os.path.join(self.folder(name), "TrvNode.DLL"), data)
        self.add(name, index_expectation(data))

    # --- indexes -----------------------------------------------------------

    def huge_index(self):
        path = os.path.join(self.folder("huge-index"), "TrvNode.DLL")
        size = 100 << 20
        if self.scale >= 1:
            line = b"Topic pages\\topic.htm\r\n"
            write(path, line * (size // len(line) + 1))
        else:
            sparse(path, size)  # refused by its size before a byte is read
        self.add("huge-index", ("message", "too large"))

    def many_topics(self):
        count = self.n(MAX_TOPICS, 2000)
        self.index("many-topics", b"".join(b"T%d p\\%d.htm\r\n" % (i, i) for i in range(count)))
        self.index("too-many-topics", b"t\n" * (MAX_TOPICS + 1))

    def deep_nesting(self):
        levels = self.n(10000, 200)
        self.index("deep-nesting", b"".join(b"\t" * i + b"L%d p.htm\r\n" % i for i in range(levels)))

    def level_jumps(self):
        # Down one level at a time, then back up by every distance from every
        # depth, then one jump of two that ends the loading.
        depth = self.n(200, 20)
        out = []
        for top in range(depth):
            out += [b"\t" * d + b"D%d_%d\r\n" % (top, d) for d in range(top + 1)]
        out.append(b"Root\r\n\t\tTooDeep\r\nNever\r\n")
        self.index("level-jumps", b"".join(out))
        self.index("first-line-deep", b"\t\t\tFirst a.htm\r\n\t\t\t\tSecond b.htm\r\n")

    def binary_junk(self):
        size = self.n(4 << 20, 64 << 10)
        junk = bytearray(self.rng.getrandbits(8) for _ in range(size))
        # Mostly lines without indentation, so that the loading gets far
        # before the NUL that ends the text.
        for i in range(len(junk)):
            if junk[i] in (9, 32) and i and junk[i - 1] in (10, 13):
                junk[i] = 65
        nul = len(junk) * 3 // 4
        junk[nul] = 0
        self.index("binary-junk", bytes(junk))

    def long_lines(self):
        mb = self.n(1 << 20, 64 << 10)
        lines = [b"T" * mb, b"Title " + b"p" * mb, b"\t" + b"x" * mb + b" " + b"y" * mb, b"Last last.htm"]
        self.index("long-lines", b"\r\n".join(lines) + b"\r\n")

    def hostile_paths(self):
        name = "hostile-paths"
        paths = [
            b"..\\outside.htm", b"..\\..\\..\\..\\..\\..\\windows\\win.ini", b"pages\\..\\..\\outside.htm",
            b"C:\\windows\\win.ini", b"Z:\\etc\\hostname", b"\\\\?\\C:\\windows\\win.ini",
            b"CON", b"NUL", b"AUX", b"PRN", b"COM1", b"LPT1", b"CON.htm", b"pages\\NUL.htm", b"nul:",
            b"\\\\.\\CON", b"\\\\.\\NUL", b"\\\\.\\PhysicalDrive0", b"CONIN$", b"CONOUT$",
            b"a\\" * 16400 + b"x.htm",  # longer than 32,767 characters
            b"\\" * 40000, b"pages\\page.htm",
        ]
        write(os.path.join(self.out, "outside.htm"), b"<p>outside the set</p>")
        write(os.path.join(self.folder(name), "pages", "page.htm"), b"<p>a page</p>")
        self.index(name, b"".join(b"P%d %s\r\n" % (i, p) for i, p in enumerate(paths)))

    def index_folder(self):
        os.makedirs(os.path.join(self.folder("index-folder"), "TrvNode.DLL"), exist_ok=True)
        self.add("index-folder", ("quiet", ""))

    def changing_index(self):
        # Shown once with the first index, then again after each change.
        name = "changing-index"
        first = b"One a.htm\r\n\tTwo b.htm\r\n"
        self.index(name, first)
        steps = [
            ("TrvNode.1", b"Other a.htm\r\nThird c.htm\r\nFourth d.htm\r\n"),
            ("gone", None),
            ("TrvNode.3", b"Back a.htm\r\n\t\tJump b.htm\r\n"),
            ("TrvNode.4", MAX_FILE_BYTES + 1),
            ("TrvNode.5", first),
        ]
        listed = []
        for file, data in steps:
            if data is None:
                listed.append("gone\tquiet")
                continue
            if isinstance(data, int):
                sparse(os.path.join(self.folder(name), file), data)
                kind, text = "message", "too large"
            else:
                write(os.path.join(self.folder(name), file), data)
                kind, text = index_expectation(data)
            listed.append("%s\t%s\t%s" % (file, kind, text) if kind == "message" else "%s\tquiet" % file)
        write(os.path.join(self.folder(name), "reshow.txt"), ("\n".join(listed) + "\n").encode())

    # --- pages -------------------------------------------------------------

    def pages(self):
        name = "hostile-pages"
        base = os.path.join(self.folder(name), "pages")
        big = self.n(50 << 20, 512 << 10)
        para = b"<p>Lorem ipsum dolor sit amet, <b>consectetur</b> adipiscing elit.</p>\n"
        depth = self.n(100000, 2000)
        rows = self.n(10000, 200)
        row = b"<tr>" + b"".join(b"<td>c%d</td>" % i for i in range(10)) + b"</tr>\n"
        pages = {
            "empty.htm": b"",
            "big.htm": b"<html><body>" + para * (big // len(para)) + b"</body></html>",
            "binary.htm": bytes(self.rng.getrandbits(8) for _ in range(self.n(1 << 20, 32 << 10))),
            "deep.htm": b"<html><body>" + b"<div><b><i>" * (depth // 3) + b"deep" + b"</i></b></div>" * (depth // 3),
            "unclosed.htm": b"<ul><li>" * depth + b"<table><tr><td>" * (depth // 10),
            "table.htm": b"<table border=1>" + row * rows + b"</table>",
            "bad-utf8.htm": b'<meta charset="utf-8"><p>\xc3\x28 \xa0\xa1 \xe2\x28\xa1 \xf0\x28\x8c\xbc \xed\xa0\x80'
                            b' \xc0\xaf \xf8\x88\x80\x80\x80 \xff\xfe\xfd\xe2\x82</p>',
            "bad-utf16.htm": b"\xff\xfe" + "<p>surrogates ".encode("utf-16-le") + b"\x00\xd8\x41\x00\x00\xdc\x00\xd8"
                             + "</p>".encode("utf-16-le") + b"\x3c",
            "bad-utf16be.htm": b"\xfe\xff" + "<p>big end ".encode("utf-16-be") + b"\xdc\x00\xd8\x00\x00",
            "script.htm": b'<html><head><script>while(true){}</script><meta http-equiv="refresh" content="0;url='
                          b'javascript:alert(1)"></head><body onload="alert(2)"><a href="javascript:alert(3)">run</a>'
                          b'<a href="vbscript:msgbox(4)">vb</a><img src="javascript:alert(5)"><script src="'
                          + REMOTE.encode() + b'/s.js"></script><p onclick="alert(6)">text</p></body></html>',
            "remote.htm": b'<html><body><img src="' + REMOTE.encode() + b'/i.png"><a href="' + REMOTE.encode()
                          + b'/page.htm">remote</a><iframe src="' + REMOTE.encode() + b'/frame.htm"></iframe>'
                          b'<link rel="stylesheet" href="' + REMOTE.encode() + b'/s.css"><img src="file://'
                          + REMOTE[7:].encode() + b'/share/x.png"><img src="\\\\127.0.0.1\\share\\x.png">'
                          b'<object data="' + REMOTE.encode() + b'/o"></object></body></html>',
            "pictures.htm": b'<img src="binary.htm"><img src="empty.htm"><img src="missing.png"><img src="'
                            + b"../" * 50 + b'x.bmp"><img src="CON"><img src="NUL">',
        }
        for file, data in pages.items():
            write(os.path.join(base, file), data)
        order = ["missing.htm"] + list(pages)
        self.index(name, b"".join(b"Page%d pages\\%s\r\n" % (i, f.encode()) for i, f in enumerate(order)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out")
    parser.add_argument("--scale", type=float, default=1.0, help="1 for the full sizes, less for a quick run")
    parser.add_argument("--seed", type=int, default=20261209)
    args = parser.parse_args()
    if not 0 < args.scale <= 1:
        parser.error("--scale must lie in (0, 1]")
    os.makedirs(args.out, exist_ok=True)
    sets = Sets(args.out, args.scale, random.Random(args.seed))
    for make in (sets.huge_index, sets.many_topics, sets.deep_nesting, sets.level_jumps, sets.binary_junk,
                 sets.long_lines, sets.hostile_paths, sets.index_folder, sets.changing_index, sets.pages):
        make()
    write(os.path.join(args.out, "sets.txt"), ("\n".join(sets.lines) + "\n").encode())
    print("%d sets in %s (scale %g, seed %d)" % (len(sets.lines), args.out, args.scale, args.seed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
