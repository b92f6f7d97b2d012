#!/usr/bin/env python3
"""Writes the shot bitmap templates shipped beside the built-in one, into bitmaps/.

Each is 100 x 80 pixels, 24 bits, with a magenta window that lets the video
frame show through:
- film_frame.bmp: a frame of black film with a row of sprocket holes above and
  below the picture;
- white_border.bmp: a plain white border 5 pixels wide with a thin grey line
  around the picture;
- slide_mount.bmp: a cream slide mount with rounded window corners and a
  darker edge.

Run once from this folder; the generated files are committed next to it.
"""
import os

from make_shot_template_141 import bmp_bytes

MAGENTA = (255, 0, 255)


def film_frame(x, y):
    if 2 <= x <= 97 and 14 <= y <= 65:
        return MAGENTA
    # Sprocket holes: 6 x 5 pixels every 12 pixels along both strips.
    if (4 <= y <= 8 or 71 <= y <= 75) and 5 <= x <= 94 and (x - 5) % 12 < 6:
        return (236, 236, 230)
    return (22, 22, 24)


def white_border(x, y):
    if 6 <= x <= 93 and 6 <= y <= 73:
        return MAGENTA
    if x in (5, 94) and 5 <= y <= 74 or y in (5, 74) and 5 <= x <= 94:
        return (150, 150, 150)
    return (255, 255, 255)


def slide_mount(x, y):
    left, top, right, bottom, radius = 14, 10, 85, 69, 5
    inside = left <= x <= right and top <= y <= bottom
    # Round the window's corners: the corner squares keep only a quarter disc.
    cx = left + radius if x < left + radius else right - radius if x > right - radius else x
    cy = top + radius if y < top + radius else bottom - radius if y > bottom - radius else y
    if inside and (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
        return MAGENTA
    if x in (0, 99) or y in (0, 79):
        return (150, 136, 100)
    if x in (1, 98) or y in (1, 78):
        return (200, 186, 150)
    return (240, 232, 208)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    for name, pixel in (("film_frame", film_frame), ("white_border", white_border),
                        ("slide_mount", slide_mount)):
        with open(os.path.join(here, "bitmaps", name + ".bmp"), "wb") as out:
            out.write(bmp_bytes(pixel))
