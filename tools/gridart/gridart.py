#!/usr/bin/env python3
"""Draws the data grid's glyph bitmaps, sort markers and cursors.

Writes 24-bit BMP files and monochrome 32 x 32 CUR files into assets/grid/
(or the directory given as the first argument). Standard library only, so the
outputs can be regenerated anywhere; the outputs are committed as well.
"""
import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
TEAL = (0, 128, 128)
MAGENTA = (255, 0, 255)
GREY = (128, 128, 128)


def write_bmp(path, pixels):
    """pixels: list of rows (top first) of (r, g, b) tuples."""
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def picture(width, height, background, ink, mask):
    """mask: function (x, y) -> colour or None (background)."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            c = mask(x, y)
            row.append(background if c is None else (ink if c is True else c))
        rows.append(row)
    return rows


def in_right_triangle(x, y):
    # 6 x 11, apex at the right of the middle row, full height at the left.
    return x < 6 - abs(y - 5)


def from_art(art, top, left=0):
    def mask(x, y):
        yy, xx = y - top, x - left
        if 0 <= yy < len(art) and 0 <= xx < len(art[yy]):
            return True if art[yy][xx] == "X" else None
        return None
    return mask


IBEAM = ["XXXXX", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..", "..X..",
         "..X..", "XXXXX"]
ASTERISK = ["X.XX.X", ".XXXX.", "XXXXXX", ".XXXX.", "X.XX.X"]
DOT = [".XX.", "XXXX", "XXXX", "XXXX", ".XX."]


def multi_arrow(x, y):
    if not in_right_triangle(x, y):
        return None
    # Two-pixel outline: drop what lies two pixels inside every edge.
    inner = x >= 2 and in_right_triangle(x + 2, y) and in_right_triangle(x, y - 1) \
        and in_right_triangle(x, y + 1) and in_right_triangle(x + 1, y - 1) \
        and in_right_triangle(x + 1, y + 1)
    if 4 <= y <= 6 and x < 2:
        return True
    return None if inner else True


def sort_marker(up):
    # Triangle 8 wide and 7 high inside a 1-pixel margin of a 10 x 9 cell.
    def mask(x, y):
        k = (7 - y) if up else (y - 1)  # 0 at the wide edge
        if not 0 <= k <= 6:
            return None
        left, right = 1 + k // 2, 8 - k // 2
        if not left <= x <= right:
            return None
        if k == 0:  # the wide edge
            return WHITE if up else GREY
        if x == left or (k == 6 and x < (left + right + 1) // 2):
            return GREY
        if x == right or k == 6:
            return WHITE
        return None
    return mask


def write_cursor(path, art, hotspot):
    """art: 32 strings of 32 chars: 'X' black, 'o' white, '.' transparent."""
    xor_rows, and_rows = [], []
    for line in art:
        xor_bits = and_bits = 0
        for x, ch in enumerate(line):
            bit = 1 << (31 - x)
            if ch == ".":
                and_bits |= bit
            elif ch == "o":
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    body = b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(body), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = info + palette + body
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(header + entry + image)


def arrow_cursor(direction):
    """A thick white arrow with a black outline, pointing down, right or left."""
    grid = [["."] * 32 for _ in range(32)]

    def put(x, y, c):
        if direction == "down":
            px, py = x, y
        elif direction == "right":
            px, py = y, x
        else:
            px, py = 31 - y, x
        grid[py][px] = c

    shape = set()
    for y in range(0, 9):  # shaft
        for x in range(13, 19):
            shape.add((x, y))
    for k in range(0, 9):  # head
        for x in range(7 + k, 25 - k):
            shape.add((x, 9 + k))
    for x, y in shape:
        put(x, y, "o")
    for x, y in shape:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            n = (x + dx, y + dy)
            if n not in shape and 0 <= n[0] < 32 and 0 <= n[1] < 32:
                put(n[0], n[1], "X")
    hot = {"down": (15, 18), "right": (18, 15), "left": (13, 15)}[direction]
    return ["".join(r) for r in grid], hot


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets", "grid")
    os.makedirs(out, exist_ok=True)

    def bmp(name, w, h, bg, ink, mask):
        write_bmp(os.path.join(out, name + ".bmp"), picture(w, h, bg, ink, mask))

    bmp("GRIDARROW", 6, 11, WHITE, BLACK, lambda x, y: True if in_right_triangle(x, y) else None)
    bmp("GRIDEDIT", 6, 11, WHITE, BLACK, from_art(IBEAM, 0))
    bmp("GRIDINSERT", 6, 11, WHITE, BLACK, from_art(ASTERISK, 3))
    bmp("GRIDMULTIDOT", 6, 11, WHITE, BLACK, from_art(DOT, 3, 1))
    bmp("GRIDMULTIARROW", 6, 11, WHITE, BLACK, multi_arrow)
    bmp("GRIDARROWW", 6, 11, TEAL, WHITE, lambda x, y: True if in_right_triangle(x, y) else None)
    bmp("GRIDSORTDOWN", 10, 9, MAGENTA, BLACK, sort_marker(False))
    bmp("GRIDSORTUP", 10, 9, MAGENTA, BLACK, sort_marker(True))
    for name, direction in (("GRIDDOWNCUR", "down"), ("GRIDRIGHTCUR", "right"),
                            ("GRIDLEFTCUR", "left")):
        art, hot = arrow_cursor(direction)
        write_cursor(os.path.join(out, name + ".cur"), art, hot)


if __name__ == "__main__":
    main()
