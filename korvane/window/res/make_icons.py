#!/usr/bin/env python3
"""Draws korvane.ico: a 3 x 3 grid of boxes with a few filled cells, at 16, 24,
32 and 48 pixels, each in 24-bit and in 32-bit colour. Standard library only.

Run from this folder: python3 make_icons.py (writes korvane.ico next to it).
"""
import struct
import sys
from pathlib import Path

SIZES = (16, 24, 32, 48)
PAPER = (255, 255, 255)
INK = (32, 48, 96)
FILL = (214, 96, 48)
EDGE = (120, 132, 160)


def pixel(size, x, y):
    """Colour and opacity of pixel (x, y), y from the top."""
    margin = max(1, size // 16)
    inner = size - 2 * margin
    if not (margin <= x < size - margin and margin <= y < size - margin):
        return PAPER, 0
    u = (x - margin) * 9 // inner
    v = (y - margin) * 9 // inner
    last = size - margin - 1
    # Thick lines around the boxes, thin ones between the cells on larger sizes.
    thick = max(1, size // 24)
    box_lines = [margin + k * inner // 3 for k in range(3)] + [last]
    if any(abs(x - line) < thick for line in box_lines) or any(
        abs(y - line) < thick for line in box_lines
    ):
        return INK, 255
    if size >= 32 and ((x - margin) * 9 % inner == 0 or (y - margin) * 9 % inner == 0):
        return EDGE, 255
    # A diagonal of filled cells, like givens.
    if (u + 2 * v) % 5 == 0:
        return FILL, 255
    return PAPER, 255


def image(size, bits):
    """One icon image: BITMAPINFOHEADER, bottom-up pixels, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bits, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    for y in range(size - 1, -1, -1):
        row = bytearray()
        mask = bytearray((size + 31) // 32 * 4)
        for x in range(size):
            (r, g, b), alpha = pixel(size, x, y)
            if bits == 32:
                row += bytes((b, g, r, alpha))
            else:
                row += bytes((b, g, r))
            if alpha == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        while len(row) % 4:
            row.append(0)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def icon_file():
    entries = [(size, bits, image(size, bits)) for size in SIZES for bits in (24, 32)]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bits, data in entries:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in entries)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).with_name("korvane.ico")
    target.write_bytes(icon_file())
