#!/usr/bin/env python3
"""Draws the toolkit's cursors (32 x 32, black and white with transparency) into .cur files.

Run it in this folder after changing a shape; the .cur files it writes are committed."""
import struct

SIZE = 32
T, B, W = ' ', '#', '.'  # transparent, black, white


def canvas():
    return [[T] * SIZE for _ in range(SIZE)]


def outline(img, fill):
    """Paints fill (a set of (x, y)) white with a one-pixel black border around it."""
    for (x, y) in fill:
        img[y][x] = W
    for (x, y) in fill:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (-1, -1), (1, -1), (-1, 1)):
            nx, ny = x + dx, y + dy
            if 0 <= nx < SIZE and 0 <= ny < SIZE and (nx, ny) not in fill:
                img[ny][nx] = B


def arrow(img):
    """The pointer arrow, tip at (1, 1)."""
    fill = set()
    for y in range(1, 17):
        for x in range(1, 1 + (y - 1) * 2 // 3 + 1):
            fill.add((x, y))
    for y in range(13, 21):
        for x in range(5 + (y - 13) // 3, 8 + (y - 13) // 3):
            fill.add((x, y))
    outline(img, fill)


def box(img, x0, y0, w, h, plus=False):
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            edge = x in (x0, x0 + w - 1) or y in (y0, y0 + h - 1)
            img[y][x] = B if edge else W
    if plus:
        cx, cy = x0 + w // 2, y0 + h // 2
        for d in range(-3, 4):
            img[cy][cx + d] = B
            img[cy + d][cx] = B


def no_drop(img):
    c = 15.5
    for y in range(SIZE):
        for x in range(SIZE):
            r = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            slash = abs((x - c) - (y - c)) < 2.5 and r < 12
            if 9 <= r < 12 or slash:
                img[y][x] = B
            elif r < 9 or 12 <= r < 13:
                img[y][x] = W


def add_double_arrow(fill):
    """A shaft across the middle with arrow heads at both ends, pointing left and right."""
    for x in range(4, 28):           # the shaft
        fill.add((x, 15))
        fill.add((x, 16))
    for k in range(5):               # arrow heads
        for y in range(15 - k, 17 + k):
            fill.add((4 + k, y))
            fill.add((27 - k, y))


def split(img, horizontal):
    """Two parallel bars with arrows pointing away from them; horizontal: the arrows point left and right."""
    fill = set()
    for a in range(8, 24):           # the bars across the drag direction
        for b in (14, 17):
            fill.add((b, a))
    add_double_arrow(fill)
    if not horizontal:
        fill = {(y, x) for (x, y) in fill}
    outline(img, fill)


def resize(img):
    """One upright bar with arrows pointing left and right away from it: a width that can be dragged."""
    fill = set()
    for y in range(6, 26):
        for x in (15, 16):
            fill.add((x, y))
    add_double_arrow(fill)
    outline(img, fill)


def hand(img):
    fill = set()
    for y in range(2, 14):           # the pointing finger
        for x in range(12, 16):
            fill.add((x, y))
    for x0 in (16, 20, 24):          # the folded fingers
        for y in range(10, 16):
            for x in range(x0, x0 + 4):
                fill.add((x, y))
    for y in range(14, 26):          # the palm
        for x in range(9, 28):
            fill.add((x, y))
    for y in range(16, 21):          # the thumb
        for x in range(5, 9):
            fill.add((x, y))
    outline(img, fill)


def tab_page(img, x0, y0, cross=False):
    """A page with a tab on its top left corner (a document tab being dragged); crossed out when
    it would be dropped nowhere."""
    box(img, x0, y0 + 3, 14, 10)
    box(img, x0, y0, 7, 4)
    for x in range(x0 + 1, x0 + 6):
        img[y0 + 3][x] = W
    if cross:
        for d in range(2, 8):
            img[y0 + 3 + d][x0 + 2 + d] = B
            img[y0 + 3 + d][x0 + 11 - d] = B


def control_outline(img, x0, y0, w, h):
    """A dotted button outline below the arrow: a command-bar control being dragged."""
    for x in range(x0, x0 + w):
        for y in (y0, y0 + h - 1):
            img[y][x] = B if (x + y) % 2 == 0 else W
    for y in range(y0, y0 + h):
        for x in (x0, x0 + w - 1):
            img[y][x] = B if (x + y) % 2 == 0 else W


def plus_badge(img, x0, y0):
    """A small boxed plus: the control is copied."""
    box(img, x0, y0, 9, 9)
    for d in range(-2, 3):
        img[y0 + 4][x0 + 4 + d] = B
        img[y0 + 4 + d][x0 + 4] = B


def no_badge(img, x0, y0):
    """A small crossed circle: nowhere to drop."""
    c, r_out, r_in = 5.0, 5.5, 3.5
    for y in range(11):
        for x in range(11):
            r = ((x - c) ** 2 + (y - c) ** 2) ** 0.5
            if r_in <= r < r_out or (abs(x - y) < 1.5 and r < r_out):
                img[y0 + y][x0 + x] = B
            elif r < r_in:
                img[y0 + y][x0 + x] = W


def write_cur(name, img, hotspot):
    xor_rows, and_rows = [], []
    for row in reversed(img):  # bottom-up
        xor_bits = and_bits = 0
        for x, ch in enumerate(row):
            bit = 1 << (31 - x)
            if ch == T:
                and_bits |= bit
            elif ch == W:
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, hotspot[0], hotspot[1],
                                                           len(image), 22)
    with open(name, 'wb') as f:
        f.write(directory + image)


def main():
    shapes = {
        'drag-move.cur': (lambda img: (arrow(img), box(img, 14, 18, 12, 10)), (1, 1)),
        'drag-copy.cur': (lambda img: (arrow(img), box(img, 14, 18, 12, 10, plus=True)), (1, 1)),
        'drag-none.cur': (no_drop, (15, 15)),
        'split-horz.cur': (lambda img: split(img, True), (15, 15)),
        'split-vert.cur': (lambda img: split(img, False), (15, 15)),
        'hand.cur': (hand, (13, 2)),
        'resize-horz.cur': (resize, (15, 15)),
        'tab-drag-over.cur': (lambda img: (arrow(img), tab_page(img, 14, 16)), (1, 1)),
        'tab-drag-outside.cur': (lambda img: (arrow(img), tab_page(img, 14, 16, cross=True)), (1, 1)),
        'control-drag-move.cur': (lambda img: (arrow(img), control_outline(img, 10, 21, 14, 9)), (1, 1)),
        'control-drag-copy.cur': (lambda img: (arrow(img), control_outline(img, 10, 21, 14, 9),
                                               plus_badge(img, 20, 12)), (1, 1)),
        'control-drag-none.cur': (lambda img: (arrow(img), no_badge(img, 17, 17)), (1, 1)),
    }
    for name, (draw, hotspot) in shapes.items():
        img = canvas()
        draw(img)
        write_cur(name, img, hotspot)


if __name__ == '__main__':
    main()
