#!/usr/bin/env python3
# Writes the tab tests' skin: a vertical strip of six flat 16x16 parts for the ribbon tab
# (part k in colour RGB(40k, 100, 200)), a 24x24 group frame (grey rim, white inside), the
# navigation buttons' strip of four 22x22 parts (part k flat RGB(30 + 50k, 60, 90) inside a grey
# rim, the rim's corners magenta, the key colour) and the UTF-16LE INI that makes the module a
# valid skin, with the tab colour set's keys (DarkShadow left out on purpose).
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


def button_part(x, y):
    k, yy = y // 22, y % 22
    if x in (0, 21) and yy in (0, 21):
        return (255, 0, 255)
    if x in (0, 21) or yy in (0, 21):
        return (128, 128, 128)
    return (30 + 50 * k, 60, 90)


bmp('toolbar-buttons22.bmp', 22, 88, button_part)
ini = ('; tab test skin\r\n'
       '[Ribbon]\r\nRibbonFace = 200 210 220\r\nTabNormalText = 1 2 3\r\nTabSelectedText = 4 5 6\r\n'
       '[TabManager]\r\nFrameBorder = 10 20 30\r\nLightShadow = 40 50 60\r\n'
       '[Window]\r\nButtonFace = 70 80 90\r\nHighlightChecked = 100 110 120\r\n'
       'HighlightSelected = 130 140 150\r\nWindowFrame = 160 170 180\r\n')
with open('tab-skin.ini', 'wb') as f:
    f.write(ini.encode('utf-16-le'))
