#!/usr/bin/env python3
"""Draws koretta_menu.bmp, the 13 x 13, 24-bit picture of the "Lumeo" menu item:
a page with a folded corner and a red band, the way PDF documents are shown."""
import struct
import sys
from pathlib import Path

SIZE = 13
WHITE = (255, 255, 255)
OUTLINE = (64, 64, 64)
PAGE = (250, 250, 250)
FOLD = (200, 200, 200)
RED = (200, 30, 30)
LINE = (150, 150, 150)


def draw():
    px = [[WHITE] * SIZE for _ in range(SIZE)]
    left, right, top, bottom, fold = 2, 10, 0, 12, 3
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - left > (right - left) - fold + (y - top) and y - top < fold:
                continue  # cut corner
            edge = x in (left, right) or y in (top, bottom)
            px[y][x] = OUTLINE if edge else PAGE
    for i in range(fold + 1):  # the fold's diagonal and its shade
        px[top + i][right - fold + i] = OUTLINE
        for x in range(right - fold, right - fold + i):
            px[top + i][x] = FOLD if px[top + i][x] == PAGE else px[top + i][x]
    px[top + fold][right - fold:right + 1] = [OUTLINE] * (fold + 1)
    for y in (5, 7):
        for x in range(left + 2, right - 1):
            px[y][x] = LINE
    for y in (9, 10):
        for x in range(left + 1, right):
            px[y][x] = RED
    return px


def write_bmp(path, px):
    stride = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):  # bottom-up rows
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    Path(path).write_bytes(header + info + data)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).with_name("koretta_menu.bmp"), draw())
