#!/usr/bin/env python3
"""Draws the icons of the new tab group commands (16 x 16 each: a new horizontal group, two pages
stacked; a new vertical group, two pages side by side) into one 24-bit bitmap whose pure green
pixels are transparent.

Run it in this folder after changing a shape; the .bmp file it writes is committed."""
import struct

from bmpfile import write_bmp

SIZE, COUNT = 16, 2
GREEN, FRAME, PAGE, TITLE = (0, 255, 0), (64, 64, 64), (255, 255, 255), (48, 96, 192)


def page(px, x0, y0, x1, y1):
    """A framed page from (x0, y0) to (x1, y1) inclusive with a title band on top."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            px[(x, y)] = FRAME if edge else (TITLE if y == y0 + 1 else PAGE)


def stacked():
    px = {}
    page(px, 1, 1, 14, 7)
    page(px, 1, 8, 14, 14)
    return px


def side_by_side():
    px = {}
    page(px, 1, 1, 7, 14)
    page(px, 8, 1, 14, 14)
    return px


def main():
    shapes = [stacked(), side_by_side()]

    def pixel(x, y):
        r, g, b = shapes[x // SIZE].get((x % SIZE, y), GREEN)
        return struct.pack('<BBB', b, g, r)

    write_bmp('tab-groups.bmp', SIZE * COUNT, SIZE, 24, pixel)


main()
