#!/usr/bin/env python3
"""Draws a 16-colour Windows bitmap from pixel art written as text.

    tools/draw_bitmap.py ART.txt OUT.bmp

The art file: lines starting with "#" are comments; the first other line
maps letters to colours ("g=808080 w=FFFFFF r=FF0000"), at most sixteen;
every following line is one row of pixels, one letter a pixel, top row
first, all rows of one width.

The bitmap is written uncompressed at 4 bits a pixel, so the resource
compiler and LoadImage take it as it is: with the standard palette when
every colour is one of its sixteen (art for the system's controls), else
with the art's own colours (a picture). Black is
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
    number, mapping = lines[0]
    wanted = {}
    for pair in mapping.split():
        letter, _, hex_colour = pair.partition("=")
        try:
            value = int(hex_colour, 16)
        except ValueError:
            value = -1
        if len(letter) != 1 or not 0 <= value <= 0xFFFFFF:
            sys.exit(f"{path}:{number}: {pair!r} is not a letter and a colour")
        wanted[letter] = value
    if len(set(wanted.values())) > 16:
        sys.exit(f"{path}:{number}: more than sixteen colours")
    if all(value in PALETTE for value in wanted.values()):
        palette = PALETTE
    else:
        palette = sorted(set(wanted.values()))
        palette += [0] * (16 - len(palette))
    colours = {letter: palette.index(value) for letter, value in wanted.items()}
    rows = []
    for number, row in lines[1:]:
        if len(row) != len(lines[1][1]):
            sys.exit(f"{path}:{number}: the row is {len(row)} pixels wide, "
                     f"not {len(lines[1][1])}")
        unknown = set(row) - colours.keys()
        if unknown:
            sys.exit(f"{path}:{number}: no colour for {''.join(sorted(unknown))!r}")
        rows.append([colours[c] for c in row])
    return rows, palette


def bitmap_bytes(rows, palette):
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom row first
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += packed
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0)
                       for c in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels),
                       2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: draw_bitmap.py ART.txt OUT.bmp")
    data = bitmap_bytes(*read_art(sys.argv[1]))
    with open(sys.argv[2], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
