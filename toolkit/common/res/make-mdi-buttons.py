#!/usr/bin/env python3
"""Draws the icons of a maximised MDI child's buttons (restore, minimise, maximise, close; 16 x 16
each, black on transparent) into one 32-bit bitmap with alpha.

Run it in this folder after changing a shape; the .bmp file it writes is committed."""
import struct

from bmpfile import write_bmp

SIZE, COUNT = 16, 4


def restore():
    px = set()
    for x in range(6, 13):  # back window
        px |= {(x, 3), (x, 4)}
    for y in range(3, 10):
        px.add((12, y))
    for x in range(3, 10):  # front window
        px |= {(x, 6), (x, 7), (x, 12)}
    for y in range(6, 13):
        px |= {(3, y), (9, y)}
    return px


def minimize():
    return {(x, y) for x in range(4, 11) for y in (11, 12)}


def maximize():
    px = set()
    for x in range(3, 13):
        px |= {(x, 3), (x, 4), (x, 12)}
    for y in range(3, 13):
        px |= {(3, y), (12, y)}
    return px


def close():
    px = set()
    for i in range(4, 12):
        px |= {(i, i), (i + 1, i), (15 - i, i), (14 - i, i)}
    return px


def main():
    shapes = [restore(), minimize(), maximize(), close()]

    def pixel(x, y):
        return struct.pack('<BBBB', 0, 0, 0, 255 if (x % SIZE, y) in shapes[x // SIZE] else 0)

    write_bmp('mdi-buttons.bmp', SIZE * COUNT, SIZE, 32, pixel)


main()
