#!/usr/bin/env python3
"""Draws the program icon, a battery two thirds charged, into res/chargewright.ico.

Thirteen images: 48, 32, 24 and 16 pixels at 4 and at 8 bits per pixel, and 256, 48, 32, 24 and 16
pixels at 32 bits per pixel, the 256-pixel one stored as PNG. Pure Python with zlib; the output is
the same on every run. The build uses the committed .ico; run this by hand after changing the drawing:

    python3 res/make_icon.py [output.ico]
"""

import os
import struct
import sys
import zlib

OUTLINE = (48, 56, 64)
BACKGROUND = (236, 240, 236)
CHARGE = (48, 176, 64)
SUBSAMPLES = 4  # per pixel and axis, for the anti-aliased 32-bit images

# (size, bits per pixel), in the order of the icon directory.
IMAGES = [(48, 4), (32, 4), (24, 4), (16, 4), (48, 8), (32, 8), (24, 8), (16, 8),
          (256, 32), (48, 32), (32, 32), (24, 32), (16, 32)]


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def shapes(size):
    """The battery as painted layers, back to front, in pixel coordinates of a size x size canvas."""
    line = max(1, round(size / 16))
    left, right = round(size * 0.06), round(size * 0.84)
    top, bottom = round(size * 0.24), size - round(size * 0.24)
    gap = max(1, line // 2)
    inner = (left + line, top + line, right - line, bottom - line)
    charge_right = inner[0] + gap + round((inner[2] - inner[0] - 2 * gap) * 0.66)
    nub_top, nub_bottom = round(size * 0.38), size - round(size * 0.38)
    return [
        (OUTLINE, (left, top, right, bottom), 2 * line),
        (BACKGROUND, inner, line),
        (CHARGE, (inner[0] + gap, inner[1] + gap, charge_right, inner[3] - gap), line / 2),
        (OUTLINE, (right - 1, nub_top, round(size * 0.94), nub_bottom), line / 2),
    ]


def render(size):
    """Straight RGBA rows, top row first, anti-aliased by supersampling."""
    layers = shapes(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            red = green = blue = 0.0
            covered = 0
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = px + (sx + 0.5) / SUBSAMPLES
                    y = py + (sy + 0.5) / SUBSAMPLES
                    colour = None
                    for layer_colour, rect, radius in layers:
                        if inside_rounded(x, y, *rect, radius):
                            colour = layer_colour
                    if colour is not None:
                        covered += 1
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / SUBSAMPLES ** 2)
                row.append((round(red / covered), round(green / covered), round(blue / covered), alpha))
        rows.append(row)
    return rows


def palette_4bpp():
    """The 16 standard VGA colours."""
    return [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
            (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
            (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def palette_8bpp():
    """A 6x6x6 colour cube, then 40 greys."""
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(round(i * 255 / 39),) * 3 for i in range(40)]
    return cube + greys


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][c] - colour[c]) ** 2 for c in range(3)))


def row_bytes(bits):
    """Rows of a bitmap are padded to whole 32-bit words."""
    return (bits + 31) // 32 * 4


def and_mask(rows, size):
    """1 bit per pixel, bottom row first: 1 where the image is transparent."""
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(row_bytes(size))
        for x, pixel in enumerate(row):
            if pixel[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def bitmap_image(rows, size, bpp):
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0, 0, 0, 0, 0, 0)
    if bpp == 32:
        pixels = bytearray()
        for row in reversed(rows):
            for red, green, blue, alpha in row:
                pixels += bytes((blue, green, red, alpha))
        return header + bytes(pixels) + and_mask(rows, size)
    palette = palette_4bpp() if bpp == 4 else palette_8bpp()
    colour_table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    colour_table += bytes(4 * ((1 << bpp) - len(palette)))
    pixels = bytearray()
    for row in reversed(rows):
        indices = [0 if p[3] < 128 else nearest(palette, p) for p in row]
        line = bytearray(row_bytes(size * bpp))
        for x, index in enumerate(indices):
            if bpp == 8:
                line[x] = index
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += line
    return header + colour_table + bytes(pixels) + and_mask(rows, size)


def png_image(rows, size):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_file():
    rendered = {}
    images = []
    for size, bpp in IMAGES:
        if size not in rendered:
            rendered[size] = render(size)
        rows = rendered[size]
        images.append(png_image(rows, size) if size == 256 else bitmap_image(rows, size, bpp))
    directory = struct.pack("<HHH", 0, 1, len(IMAGES))
    offset = len(directory) + 16 * len(IMAGES)
    entries = b""
    for (size, bpp), image in zip(IMAGES, images):
        colours = 16 if bpp == 4 else 0
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(image), offset)
        offset += len(image)
    return directory + entries + b"".join(images)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "chargewright.ico")
    with open(target, "wb") as out:
        out.write(icon_file())


if __name__ == "__main__":
    main()
