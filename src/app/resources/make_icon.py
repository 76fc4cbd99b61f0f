#!/usr/bin/env python3
"""Draws Veskra's icon (a page of text cut in two by a dashed line) and
writes veskra.ico with 16, 24, 32, 48 and 128 pixel images at 32 bits per
pixel, each stored as a bottom-up BGRA bitmap with its AND mask.

Run: python3 make_icon.py veskra.ico
"""
import struct
import sys

SIZES = (16, 24, 32, 48, 128)
SAMPLES = 4  # supersampling per axis, for smooth edges


def colour_at(x, y):
    """The picture on a unit square; (x, y) in [0, 1), y downward. RGBA."""
    # Rounded blue tile.
    r = 0.18
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    colour = (32, 96, 176, 255)
    # A white page.
    if 0.24 <= x <= 0.76 and 0.14 <= y <= 0.86:
        colour = (250, 250, 245, 255)
        # Lines of text.
        for top in (0.24, 0.34, 0.44, 0.62, 0.72):
            if top <= y <= top + 0.045 and 0.31 <= x <= 0.69:
                colour = (90, 90, 100, 255)
    # The cut: a red dashed line across the page.
    if 0.515 <= y <= 0.565 and 0.08 <= x <= 0.92 and int(x * 10) % 2 == 0:
        colour = (220, 40, 40, 255)
    return colour


def render(size):
    pixels = []
    for row in range(size):
        line = []
        for col in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (col + (sx + 0.5) / SAMPLES) / size
                    y = (row + (sy + 0.5) / SAMPLES) / size
                    r, g, b, a = colour_at(x, y)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] == 0:
                line.append((0, 0, 0, 0))
            else:
                line.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha),))
        pixels.append(line)
    return pixels


def bitmap_entry(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for line in reversed(pixels):  # bottom-up
        for r, g, b, a in line:
            body += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    for line in reversed(pixels):
        mask = bytearray(stride)
        for col, (_, _, _, a) in enumerate(line):
            if a == 0:
                mask[col // 8] |= 0x80 >> (col % 8)
        body += mask
    return header + bytes(body)


def main(out):
    images = [(size, bitmap_entry(size)) for size in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        side = size if size < 256 else 0
        data += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        data += image
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "veskra.ico")
