#!/usr/bin/env python3
"""Draws the program's icon: an amber honeycomb cell with a dark lens over it.

Writes a Windows .ico holding 16, 32 and 48 pixel images (32-bit BGRA bitmaps).
Run: python3 tools/make_icon.py resources/hivescout.ico
"""
import math
import struct
import sys


def inside_hexagon(x, y, cx, cy, r):
    dx, dy = abs(x - cx), abs(y - cy)
    return dy <= r * math.sqrt(3) / 2 and dx <= r - dy / math.sqrt(3)


def pixel(x, y, size):
    s = size / 32.0
    cx, cy = 13.5 * s, 13.5 * s
    # Lens: ring around the cell's centre and a handle to the bottom right.
    d = math.hypot(x - cx, y - cy)
    ring_outer, ring_inner = 9.5 * s, 7.5 * s
    hx, hy = x - cx, y - cy
    along = (hx + hy) / math.sqrt(2)
    across = abs(hx - hy) / math.sqrt(2)
    if ring_inner <= d <= ring_outer:
        return (40, 40, 48, 255)
    if ring_outer < along <= 20.0 * s and across <= 2.0 * s:
        return (40, 40, 48, 255)
    if d < ring_inner:
        if inside_hexagon(x, y, cx, cy, 6.2 * s):
            return (255, 176, 32, 255) if not inside_hexagon(x, y, cx, cy, 4.6 * s) else (255, 214, 96, 255)
        return (230, 240, 255, 255)
    # Outer honeycomb cells behind the lens.
    for ox, oy in ((23, 6), (25, 20), (6, 26)):
        if inside_hexagon(x, y, ox * s, oy * s, 5.5 * s):
            return (240, 160, 24, 255)
    return (0, 0, 0, 0)


def image(size):
    rows = []
    for y in reversed(range(size)):
        row = b""
        for x in range(size):
            r, g, b, a = pixel(x + 0.5, y + 0.5, size)
            row += struct.pack("BBBB", b, g, r, a)
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "hivescout.ico")
