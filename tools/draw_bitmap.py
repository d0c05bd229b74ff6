#!/usr/bin/env python3
"""Draws a 16-colour Windows bitmap from pixel art written as text.

    tools/draw_bitmap.py ART.txt OUT.bmp

The art file: lines starting with "#" are comments; the first other line
maps letters to colours ("g=808080 w=FFFFFF r=FF0000"), each colour one of
the sixteen of the standard palette; every following line is one row of
pixels, one letter a pixel, top row first, all rows of one width.

The bitmap is written uncompressed at 4 bits a pixel with the standard
palette, so the resource compiler and LoadImage take it as it is. Black is
the colour that image lists make transparent: art for them leaves it out.
"""
import struct
import sys

# The standard sixteen colours, in the order of their palette indexes.
PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF,
    0x00FFFF, 0xFFFFFF,
]


def read_art(path):
    lines = []
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("#") or not line.strip():
                continue
            lines.append((number, line))
    if len(lines) < 2:
        sys.exit(f"{path}: a colour line and at least one row are needed")
    colours = {}
    number, mapping = lines[0]
    for pair in mapping.split():
        letter, _, hex_colour = pair.partition("=")
        if len(letter) != 1 or int(hex_colour, 16) not in PALETTE:
            sys.exit(f"{path}:{number}: {pair!r} is not a letter and a colour "
                     "of the standard palette")
        colours[letter] = PALETTE.index(int(hex_colour, 16))
    rows = []
    for number, row in lines[1:]:
        if len(row) != len(lines[1][1]):
            sys.exit(f"{path}:{number}: the row is {len(row)} pixels wide, "
                     f"not {len(lines[1][1])}")
        unknown = set(row) - colours.keys()
        if unknown:
            sys.exit(f"{path}:{number}: no colour for {''.join(sorted(unknown))!r}")
        rows.append([colours[c] for c in row])
    return rows


def bitmap_bytes(rows):
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom row first
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += packed
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0)
                       for c in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: draw_bitmap.py ART.txt OUT.bmp")
    data = bitmap_bytes(read_art(sys.argv[1]))
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
