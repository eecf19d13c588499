#!/usr/bin/env python3
"""Writes assets/images/menuglyphs.bmp: the skinned system menu's four 16 x 16
glyphs side by side (restore, maximise, minimise, close), black on white, as
a 64 x 16 monochrome BMP. White is the mask colour."""
import os
import struct
import sys

W, H = 64, 16


def glyphs():
    px = [[0] * W for _ in range(H)]  # 1 = black

    def rect(x0, y0, x1, y1, thick_top=2):
        for x in range(x0, x1 + 1):
            for t in range(thick_top):
                px[y0 + t][x] = 1
            px[y1][x] = 1
        for y in range(y0, y1 + 1):
            px[y][x0] = 1
            px[y][x1] = 1

    # 0 restore: two overlapping windows
    rect(5, 3, 12, 9)
    rect(2, 6, 9, 12)
    for y in range(8, 12):
        for x in range(3, 9):
            px[y][x] = 0
    # 1 maximise: one window with a thick title bar
    rect(16 + 3, 3, 16 + 12, 12)
    # 2 minimise: a thick bar at the bottom
    for y in (11, 12):
        for x in range(32 + 4, 32 + 11):
            px[y][x] = 1
    # 3 close: a cross, two pixels wide
    for i in range(8):
        for dx in (0, 1):
            px[4 + i][48 + 4 + i + dx] = 1
            px[4 + i][48 + 11 - i + dx] = 1
    return px


def bmp(px):
    row_bytes = ((W + 31) // 32) * 4
    rows = []
    for y in reversed(range(H)):  # bottom-up
        bits = bytearray(row_bytes)
        for x in range(W):
            if not px[y][x]:  # palette entry 1 is white
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    data = b"".join(rows)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = 14 + 40 + len(palette)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    return header + info + palette + data


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "assets", "images", "menuglyphs.bmp")
    with open(out, "wb") as f:
        f.write(bmp(glyphs()))


if __name__ == "__main__":
    main()
