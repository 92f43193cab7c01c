"""Writes uncompressed Windows bitmaps for the scripts that draw the toolkit's images."""
import struct


def write_bmp(name, width, height, bits, pixel):
    """pixel(x, y) gives the bytes of one pixel (blue, green, red[, alpha]) for y from the top;
    rows are written bottom-up and padded to four bytes."""
    rows = []
    for y in range(height - 1, -1, -1):
        row = b''.join(pixel(x, y) for x in range(width))
        rows.append(row + b'\0' * (-len(row) % 4))
    pixels = b''.join(rows)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    with open(name, 'wb') as f:
        f.write(file_header + header + pixels)
