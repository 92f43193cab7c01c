#!/usr/bin/env python3
# Writes the tab tests' skin: a vertical strip of six flat 16x16 parts for the ribbon tab
# (part k in colour RGB(40k, 100, 200)), a 24x24 group frame (grey rim, white inside) and the
# UTF-16LE INI that makes the module a valid skin.
import struct


def bmp(path, width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):   # bottom-up rows
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


bmp('ribbon-tab.bmp', 16, 96, lambda x, y: (40 * (y // 16), 100, 200))
bmp('ribbon-groups.bmp', 24, 24,
    lambda x, y: (128, 128, 128) if x in (0, 23) or y in (0, 23) else (255, 255, 255))
with open('tab-skin.ini', 'wb') as f:
    f.write('; tab test skin\r\n[Ribbon]\r\nRibbonFace = 200 210 220\r\n'.encode('utf-16-le'))
