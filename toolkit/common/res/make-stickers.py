#!/usr/bin/env python3
"""Draws the docking stickers' bitmaps: the cross backdrop (9451), the arrows in three colour
schemes (9452 blue, 9453 olive, 9454 silver) and the second style's strip (9455). Every part sits
at the source rectangle the drag context copies it from; RGB(0, 255, 0) is transparent and no
shape uses pure black (a sticker's window region is made of its non-black pixels).

Run it in this folder after changing a shape; the .bmp files it writes are committed."""
import struct

KEY = (0, 255, 0)
FRAME = (96, 96, 96)
FILL = (244, 244, 244)
HOT = (255, 226, 150)
BACK = (206, 206, 206)
BACK_HOT = (226, 232, 244)

# Arrows by direction: 'u' up, 'l' left, 'd' down, 'r' right; 'c' the centre's tab glyph.
STYLE0 = {  # part: (direction, normal rectangle, highlighted rectangle), as left, top, right, bottom
    'top': ('u', (0, 0, 43, 30), (0, 76, 43, 106)),
    'left': ('l', (30, 33, 60, 76), (90, 33, 120, 76)),
    'bottom': ('d', (43, 0, 86, 30), (43, 76, 86, 106)),
    'right': ('r', (0, 33, 30, 76), (60, 33, 90, 76)),
    'centre': ('c', (86, 0, 119, 33), (86, 76, 119, 109)),
}
STYLE1_ARMS = [
    ('u', (61, 29, 90, 59), (61, 90, 90, 120)),
    ('l', (90, 30, 120, 59), (90, 91, 120, 120)),
    ('d', (91, 0, 120, 30), (91, 61, 120, 91)),
    ('r', (62, 0, 92, 29), (62, 61, 92, 90)),
    ('u', (0, 29, 29, 61), (0, 90, 29, 122)),     # edge stickers
    ('l', (29, 32, 61, 61), (29, 93, 61, 122)),
    ('d', (32, 0, 61, 32), (32, 61, 61, 93)),
    ('r', (0, 0, 32, 29), (0, 61, 32, 90)),
]
STYLE1_CENTRE = (120, 82, 148, 111)
STYLE1_BACKDROP = ((120, 0, 161, 41), (120, 41, 161, 82))


def canvas(width, height):
    return [[KEY] * width for _ in range(height)]


def box(img, rect, fill, inset=1):
    left, top, right, bottom = rect
    for y in range(top + inset, bottom - inset):
        for x in range(left + inset, right - inset):
            edge = y in (top + inset, bottom - inset - 1) or x in (left + inset, right - inset - 1)
            img[y][x] = FRAME if edge else fill


def arrow(img, rect, direction, colour):
    left, top, right, bottom = rect
    cx, cy = (left + right - 1) / 2, (top + bottom - 1) / 2
    half = min(right - left, bottom - top) // 4
    for y in range(top, bottom):
        for x in range(left, right):
            dx, dy = x - cx, y - cy
            along = {'u': -dy, 'd': dy, 'l': -dx, 'r': dx}[direction]
            across = dx if direction in 'ud' else dy
            if -half <= along <= half and abs(across) <= (half - along) * 0.6:
                img[y][x] = colour


def tab_glyph(img, rect, colour):
    left, top, right, bottom = rect
    for y in range(top + 8, bottom - 8):
        for x in range(left + 8, right - 8):
            if y in (top + 8, bottom - 9) or x in (left + 8, right - 9) or y == top + 11:
                img[y][x] = colour


def part(img, rect, direction, colour, fill):
    box(img, rect, fill)
    if direction == 'c':
        tab_glyph(img, rect, colour)
    else:
        arrow(img, rect, direction, colour)


def backdrop(img, rect, fill):
    left, top, right, bottom = rect
    radius = (right - left) // 4
    for y in range(top + 1, bottom - 1):
        for x in range(left + 1, right - 1):
            cut = min(x - left, right - 1 - x) + min(y - top, bottom - 1 - y)
            if cut >= radius:
                img[y][x] = FRAME if cut <= radius + 1 or x in (left + 1, right - 2) or y in (top + 1, bottom - 2) else fill


def write_bmp(path, img):
    height, width = len(img), len(img[0])
    stride = (width * 3 + 3) & ~3
    pixels = b''
    for row in reversed(img):  # bottom-up
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + b'\0' * (stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + pixels)


def style0_arrows(colour):
    img = canvas(120, 109)
    for direction, normal, hot in STYLE0.values():
        part(img, normal, direction, colour, FILL)
        part(img, hot, direction, colour, HOT)
    return img


def style1_strip(colour):
    img = canvas(161, 122)
    for direction, normal, hot in STYLE1_ARMS:
        part(img, normal, direction, colour, FILL)
        part(img, hot, direction, colour, HOT)
    backdrop(img, STYLE1_BACKDROP[0], BACK)
    backdrop(img, STYLE1_BACKDROP[1], BACK_HOT)
    part(img, STYLE1_CENTRE, 'c', colour, FILL)
    return img


def main():
    back = canvas(43, 43)
    backdrop(back, (0, 0, 43, 43), BACK)
    write_bmp('sticker-backdrop.bmp', back)
    write_bmp('sticker-arrows.bmp', style0_arrows((40, 90, 200)))
    write_bmp('sticker-arrows-olive.bmp', style0_arrows((90, 120, 40)))
    write_bmp('sticker-arrows-silver.bmp', style0_arrows((110, 110, 140)))
    write_bmp('sticker-cross.bmp', style1_strip((40, 90, 200)))


if __name__ == '__main__':
    main()
