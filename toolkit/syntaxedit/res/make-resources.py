#!/usr/bin/env python3
"""Draws the editor's margin cursor (margin.cur), its line-mark icons (marks.bmp: three
20 x 16 images on pure green, which is transparent: bookmark, bookmark on the caret's row,
breakpoint) and the auto-complete list's word icon (autocomplete.bmp: one 16 x 16 image on
white, which is transparent). The drag cursors are the toolkit's own. Run it in this folder after changing a
shape; the files it writes are committed."""
import importlib.util
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location(
    'make_cursors', os.path.join(HERE, '..', '..', 'common', 'res', 'make-cursors.py'))
cursors = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(cursors)

W, H = 60, 16
GREEN = (0, 255, 0)


def margin_cursor():
    """The pointer arrow mirrored: it points up and to the right, towards the text."""
    img = cursors.canvas()
    cursors.arrow(img)
    return [list(reversed(row)) for row in img]


def icons():
    px = [[GREEN] * W for _ in range(H)]

    def bookmark(x0, caret):
        for y in range(2, 14):
            for x in range(x0 + 3, x0 + 17):
                edge = y in (2, 13) or x in (x0 + 3, x0 + 16)
                px[y][x] = (0, 0, 128) if edge else (64, 160, 255)
        if caret:
            for k in range(4):
                for y in range(8 - k, 8 + k + 1):
                    px[y][x0 + 6 + k] = (255, 255, 0)

    def breakpoint(x0):
        cx, cy = x0 + 9.5, 7.5
        for y in range(H):
            for x in range(x0, x0 + 20):
                r = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if r < 6:
                    px[y][x] = (200, 0, 0)
                elif r < 7:
                    px[y][x] = (128, 0, 0)

    bookmark(0, False)
    bookmark(20, True)
    breakpoint(40)
    return px


def word_icon():
    """A small blue page with three text lines."""
    px = [[(255, 255, 255)] * 16 for _ in range(16)]
    for y in range(2, 14):
        for x in range(3, 13):
            edge = y in (2, 13) or x in (3, 12)
            px[y][x] = (0, 0, 128) if edge else (224, 236, 255)
    for y in (5, 8, 11):
        for x in range(5, 11):
            px[y][x] = (0, 64, 192)
    return px


def write_bmp(name, px):
    W, H = len(px[0]), len(px)
    stride = (W * 3 + 3) & ~3
    rows = []
    for row in reversed(px):
        data = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        rows.append(data + b'\0' * (stride - len(data)))
    image = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(image), 0, 0, 14 + len(info))
    with open(name, 'wb') as f:
        f.write(header + info + image)


def main():
    cursors.write_cur(os.path.join(HERE, 'margin.cur'), margin_cursor(), (30, 1))
    write_bmp(os.path.join(HERE, 'marks.bmp'), icons())
    write_bmp(os.path.join(HERE, 'autocomplete.bmp'), word_icon())


if __name__ == '__main__':
    main()
