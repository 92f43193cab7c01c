"""Draws the program's bitmaps and icon (run from this folder; writes the .bmp and .ico files)."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'toolkit', 'common', 'res'))
from bmpfile import write_bmp  # noqa: E402

GREY = (192, 192, 192)
GREEN = (0, 255, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
NAVY = (0, 0, 128)
BLUE = (40, 90, 200)
YELLOW = (240, 200, 40)
RED = (200, 40, 40)
DARKGREEN = (0, 128, 0)
TEAL = (0, 128, 128)
PURPLE = (128, 0, 128)


class Canvas:
    def __init__(self, width, height, back):
        self.width, self.height = width, height
        self.px = [[back] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill=None, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                if border and edge:
                    self.put(x, y, edge)
                elif fill:
                    self.put(x, y, fill)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)

    def save(self, name):
        write_bmp(name, self.width, self.height, 24,
                  lambda x, y: bytes((self.px[y][x][2], self.px[y][x][1], self.px[y][x][0])))


# Glyphs, each drawn into a cell whose top-left corner is (ox, oy).
def page(c, ox, oy, lines=True):
    c.rect(ox + 3, oy + 1, ox + 12, oy + 14, WHITE, BLACK)
    if lines:
        for y in (4, 6, 8, 10):
            c.line(ox + 5, oy + y, ox + 10, oy + y, NAVY)


def folder(c, ox, oy):
    c.rect(ox + 1, oy + 4, ox + 14, oy + 13, YELLOW, BLACK)
    c.rect(ox + 1, oy + 2, ox + 6, oy + 4, YELLOW, BLACK)


def disk(c, ox, oy, colour=NAVY):
    c.rect(ox + 1, oy + 1, ox + 14, oy + 14, colour, BLACK)
    c.rect(ox + 4, oy + 2, ox + 11, oy + 6, WHITE, BLACK)
    c.rect(ox + 5, oy + 9, ox + 10, oy + 14, GREY, BLACK)


def disks(c, ox, oy):
    disk(c, ox - 1, oy - 1, TEAL)
    c.rect(ox + 6, oy + 6, ox + 15, oy + 15, NAVY, BLACK)


def scissors(c, ox, oy):
    c.line(ox + 4, oy + 1, ox + 10, oy + 10, BLACK)
    c.line(ox + 11, oy + 1, ox + 5, oy + 10, BLACK)
    c.rect(ox + 2, oy + 10, ox + 6, oy + 14, None, RED)
    c.rect(ox + 9, oy + 10, ox + 13, oy + 14, None, RED)


def copies(c, ox, oy):
    c.rect(ox + 1, oy + 1, ox + 9, oy + 11, WHITE, BLACK)
    c.rect(ox + 6, oy + 4, ox + 14, oy + 14, WHITE, NAVY)


def paste(c, ox, oy):
    c.rect(ox + 2, oy + 2, ox + 11, oy + 14, YELLOW, BLACK)
    c.rect(ox + 5, oy + 1, ox + 8, oy + 3, GREY, BLACK)
    c.rect(ox + 7, oy + 6, ox + 14, oy + 14, WHITE, NAVY)


def arrow(c, ox, oy, left):
    sign = -1 if left else 1
    cx = ox + 8
    for i in range(5):
        c.line(cx - sign * i, oy + 4 + i, cx - sign * i, oy + 12 - i, BLUE)
    c.rect(ox + (3 if not left else 9), oy + 7, ox + (8 if not left else 13), oy + 9, BLUE, None)


def bookmark(c, ox, oy, mark):
    c.rect(ox + 2, oy + 4, ox + 13, oy + 11, TEAL, BLACK)
    if mark == 'next':
        c.line(ox + 7, oy + 13, ox + 11, oy + 13, BLACK)
        c.line(ox + 9, oy + 12, ox + 11, oy + 13, BLACK)
    elif mark == 'prev':
        c.line(ox + 4, oy + 13, ox + 8, oy + 13, BLACK)
        c.line(ox + 4, oy + 13, ox + 6, oy + 12, BLACK)


def gear(c, ox, oy):
    c.rect(ox + 4, oy + 4, ox + 11, oy + 11, DARKGREEN, BLACK)
    for x0, y0, x1, y1 in ((7, 1, 8, 3), (7, 12, 8, 14), (1, 7, 3, 8), (12, 7, 14, 8)):
        c.rect(ox + x0, oy + y0, ox + x1, oy + y1, DARKGREEN, None)
    c.rect(ox + 6, oy + 6, ox + 9, oy + 9, WHITE, None)


def hammer(c, ox, oy):
    c.line(ox + 3, oy + 13, ox + 10, oy + 6, BLACK)
    c.rect(ox + 8, oy + 1, ox + 14, oy + 5, RED, BLACK)


def question(c, ox, oy):
    c.rect(ox + 2, oy + 1, ox + 13, oy + 14, NAVY, BLACK)
    for x, y in ((6, 4), (7, 3), (8, 3), (9, 4), (9, 5), (8, 6), (7, 7), (7, 8), (7, 11)):
        c.put(ox + x, oy + y, WHITE)
        c.put(ox + x, oy + y + (1 if y == 11 else 0), WHITE)


def toolbar():
    glyphs = [lambda c, x, y: page(c, x, y, False), folder, disk, disks, scissors, copies, paste,
              lambda c, x, y: arrow(c, x, y, True), lambda c, x, y: arrow(c, x, y, False),
              lambda c, x, y: bookmark(c, x, y, 'toggle'), lambda c, x, y: bookmark(c, x, y, 'next'),
              lambda c, x, y: bookmark(c, x, y, 'prev'), gear, hammer, question]
    c = Canvas(17 * len(glyphs), 16, GREY)
    for i, draw in enumerate(glyphs):
        draw(c, i * 17, 0)
    c.save('toolbar.bmp')


def properties_toolbar():
    c = Canvas(16 * 3, 15, GREY)
    for i, draw in enumerate((folder, page, gear)):
        draw(c, i * 16, 0)
    c.save('properties-toolbar.bmp')


def pane_icons():
    c = Canvas(32, 16, GREEN)
    gear(c, 0, 0)
    page(c, 16, 0)
    c.save('pane-icons.bmp')


def tree_image(name, draw, back=WHITE):
    c = Canvas(16, 16, back)
    draw(c, 0, 0)
    c.save(name)


def about():
    c = Canvas(400, 50, NAVY)
    for x in range(400):
        shade = 60 + x * 150 // 400
        for y in range(50):
            c.put(x, y, (0, shade // 2, shade))
    # Rings standing for a service and its clients.
    for cx in (40, 80, 120):
        for y in range(50):
            for x in range(cx - 14, cx + 15):
                d = (x - cx) ** 2 + (y - 25) ** 2
                if 100 <= d <= 169:
                    c.put(x, y, WHITE)
    c.line(54, 25, 66, 25, YELLOW)
    c.line(94, 25, 106, 25, YELLOW)
    c.save('about.bmp')


def icon():
    """A 32 by 32 icon with a 24-bit image and its AND mask."""
    c = Canvas(32, 32, WHITE)
    c.rect(2, 2, 29, 29, BLUE, NAVY)
    for x0, y0 in ((6, 6), (18, 6), (6, 18), (18, 18)):
        c.rect(x0, y0, x0 + 7, y0 + 7, YELLOW, BLACK)
    c.line(13, 9, 18, 9, WHITE)
    c.line(9, 13, 9, 18, WHITE)
    rows = []
    for y in range(31, -1, -1):
        rows.append(b''.join(bytes((p[2], p[1], p[0])) for p in c.px[y]))
    xor = b''.join(rows)
    mask = b'\0' * (4 * 32)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    with open('kelvane.ico', 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, 1))
        f.write(struct.pack('<BBBBHHII', 32, 32, 0, 0, 1, 24, len(image), 22))
        f.write(image)


if __name__ == '__main__':
    toolbar()
    properties_toolbar()
    pane_icons()
    tree = Canvas(16 * 5, 16, GREEN)
    for i, draw in enumerate((folder, page, copies, gear, disk)):
        draw(tree, i * 16, 0)
    tree.save('solution-tree.bmp')
    tree_image('tree-protocol.bmp', folder)
    tree_image('tree-packet.bmp', copies)
    tree_image('tree-field.bmp', page)
    tree_image('tree-header.bmp', lambda c, x, y: bookmark(c, x, y, 'toggle'))
    tree_image('tree-root.bmp', disks)
    tree_image('tree-diagram.bmp', gear)
    about()
    icon()
