#!/usr/bin/env python3
"""Draws the icons of both programs, at 16, 24, 32 and 48 pixels, each in 24-bit
and in 32-bit colour, on the same 3 x 3 grid of boxes: korvane.ico, the generator's,
with a few filled cells like givens; sudoku.ico, the solver's, with every cell filled
and a tick over it. Standard library only.

python3 scripts/make_icons.py writes korvane.ico into korvane/window/res/ and sudoku.ico
into source_resolveur/res/, wherever it is run from.
"""
import struct
from pathlib import Path

SIZES = (16, 24, 32, 48)
PAPER = (255, 255, 255)
INK = (32, 48, 96)
FILL = (214, 96, 48)
EDGE = (120, 132, 160)
SOLVED = (206, 222, 246)
TICK = (40, 150, 64)


def grid(size, x, y, cell):
    """Colour and opacity of pixel (x, y) of the grid, y from the top; cell(u, v) gives
    the colour inside cell (u, v)."""
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
    return cell(u, v), 255


def korvane_pixel(size, x, y):
    # A diagonal of filled cells, like givens.
    return grid(size, x, y, lambda u, v: FILL if (u + 2 * v) % 5 == 0 else PAPER)


def sudoku_pixel(size, x, y):
    # A tick from the left to the bottom, then up to the right, over the solved grid.
    fx, fy = (x + 0.5) / size, (y + 0.5) / size
    width = max(1.5 / size, 0.08)
    for (x0, y0), (x1, y1) in (((0.18, 0.52), (0.40, 0.76)), ((0.40, 0.76), (0.84, 0.22))):
        t = ((fx - x0) * (x1 - x0) + (fy - y0) * (y1 - y0)) / ((x1 - x0) ** 2 + (y1 - y0) ** 2)
        t = min(1.0, max(0.0, t))
        if (fx - x0 - t * (x1 - x0)) ** 2 + (fy - y0 - t * (y1 - y0)) ** 2 <= width**2:
            return TICK, 255
    return grid(size, x, y, lambda u, v: SOLVED)


def image(pixel, size, bits):
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


def icon_file(pixel):
    entries = [(size, bits, image(pixel, size, bits)) for size in SIZES for bits in (24, 32)]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bits, data in entries:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in entries)


if __name__ == "__main__":
    top = Path(__file__).resolve().parents[1]
    top.joinpath("korvane/window/res/korvane.ico").write_bytes(icon_file(korvane_pixel))
    top.joinpath("source_resolveur/res/sudoku.ico").write_bytes(icon_file(sudoku_pixel))
