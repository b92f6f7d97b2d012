#!/usr/bin/env python3
"""Writes bitmaps/shot_template_141.bmp, the built-in shot bitmap template.

100 x 80 pixels, 24 bits: a magenta window (columns 4..90, rows 4..70) that
lets the video frame show through, a gold frame around it that gets lighter
towards its outer edge, a one-pixel near-white margin and a grey drop shadow
three pixels wide along the right and bottom edges. The opaque border is
4 pixels wide at the top and left and 9 pixels wide at the right and bottom.

Run once from this folder; the generated file is committed next to it.
"""
import os
import struct

WIDTH, HEIGHT = 100, 80
WINDOW_LEFT, WINDOW_TOP, WINDOW_RIGHT, WINDOW_BOTTOM = 4, 4, 90, 70  # inclusive
MAGENTA = (255, 0, 255)
GOLD = (206, 172, 70)
LIGHT_GOLD = (240, 218, 150)
MARGIN = (250, 250, 244)
SHADOW = (128, 128, 128)
SHADOW_WIDTH = 3
FRAME_RIGHT = WIDTH - 1 - SHADOW_WIDTH - 1  # last gold column (95)
FRAME_BOTTOM = HEIGHT - 1 - SHADOW_WIDTH - 1  # last gold row (75)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gold_at(x, y):
    """Gold shaded by how far the pixel lies from the window, per side."""
    # Share of the light gold: 0 next to the window, 1 at the frame's outer edge.
    shares = []
    if x < WINDOW_LEFT:
        shares.append((WINDOW_LEFT - 1 - x) / (WINDOW_LEFT - 2))
    if x > WINDOW_RIGHT:
        shares.append((x - WINDOW_RIGHT - 1) / (FRAME_RIGHT - WINDOW_RIGHT - 1))
    if y < WINDOW_TOP:
        shares.append((WINDOW_TOP - 1 - y) / (WINDOW_TOP - 2))
    if y > WINDOW_BOTTOM:
        shares.append((y - WINDOW_BOTTOM - 1) / (FRAME_BOTTOM - WINDOW_BOTTOM - 1))
    return mix(GOLD, LIGHT_GOLD, max(shares))


def pixel(x, y):
    if WINDOW_LEFT <= x <= WINDOW_RIGHT and WINDOW_TOP <= y <= WINDOW_BOTTOM:
        return MAGENTA
    if x > FRAME_RIGHT + 1 or y > FRAME_BOTTOM + 1:
        # The shadow is offset by its width: above and left of it the margin shows.
        if x >= SHADOW_WIDTH and y >= SHADOW_WIDTH:
            return SHADOW
        return MARGIN
    if x == 0 or y == 0 or x == FRAME_RIGHT + 1 or y == FRAME_BOTTOM + 1:
        return MARGIN
    return gold_at(x, y)


def bmp_bytes(pixel):
    """A 24-bit BMP of WIDTH x HEIGHT whose colour at (x, y) is pixel(x, y)."""
    row_size = (WIDTH * 3 + 3) & ~3
    rows = []
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "bitmaps", "shot_template_141.bmp"), "wb") as out:
        out.write(bmp_bytes(pixel))
