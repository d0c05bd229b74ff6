#!/usr/bin/env python3
"""Draws the module's two bitmaps as 16-colour BMP files.

    python3 tools/gen_bitmaps.py resources

writes resources/check_images.bmp and resources/product_picture.bmp. Both
files are committed, so a build never needs Python; run this again only to
change the art.

check_images.bmp is the state-image strip of the site lists: 33 x 11, three
images of 11 x 11 side by side (not ticked, ticked, unavailable). The list
loads it with black as the transparent colour, so no pixel of it is black.

product_picture.bmp is the about dialog's picture, 64 x 64: a page with a
bookmark ribbon and a quill across it.
"""

import math
import struct
import sys
from pathlib import Path

# The sixteen colours every display knows; the strip uses silver, grey,
# red and white from them.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, SILVER, GREY, RED, WHITE = 0, 7, 8, 9, 15


def bmp_4bit(width, height, palette, pixels):
    """The bytes of an uncompressed 4-bit BMP; pixels[y][x], top row first."""
    assert len(palette) == 16
    row_bytes = (width * 4 + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):  # BMP rows run bottom-up
        row = bytearray(row_bytes)
        for x in range(width):
            index = pixels[y][x]
            assert 0 <= index < 16
            row[x // 2] |= index << (0 if x % 2 else 4)
        rows.append(bytes(row))
    image = b"".join(rows)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(image),
                       2835, 2835, 16, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    return header + info + colours + image


def check_box(mark):
    """One 11 x 11 state image: a grey frame around a white or silver box."""
    fill = SILVER if mark == "unavailable" else WHITE
    box = [[fill] * 11 for _ in range(11)]
    for i in range(11):
        box[0][i] = box[10][i] = box[i][0] = box[i][10] = GREY
    if mark == "cross":
        for i in range(2, 9):
            box[i][i] = SILVER
            box[i][10 - i] = SILVER
    elif mark == "check":
        # Two pixels thick: down from (2,5) to (4,7), then up to (8,3).
        for x, y in [(2, 5), (3, 6), (4, 7), (5, 6), (6, 5), (7, 4), (8, 3)]:
            box[y][x] = RED
            box[y + 1][x] = RED
    return box


def check_strip():
    boxes = [check_box("cross"), check_box("check"), check_box("unavailable")]
    pixels = [sum((box[y] for box in boxes), []) for y in range(11)]
    assert all(p != BLACK for row in pixels for p in row)
    return bmp_4bit(33, 11, VGA, pixels)


# The picture's own colours.
PICTURE = [
    (222, 232, 242),  # 0 background
    (250, 246, 232),  # 1 page
    (150, 150, 150),  # 2 lines of text
    (90, 96, 104),    # 3 outline
    (196, 32, 44),    # 4 ribbon
    (128, 20, 30),    # 5 ribbon shade
    (32, 96, 128),    # 6 feather, dark barbs
    (110, 172, 196),  # 7 feather, light barbs
    (236, 224, 190),  # 8 shaft
    (60, 60, 80),     # 9 nib
    (214, 206, 186),  # 10 page fold
    (255, 255, 255),  # 11
    (255, 255, 255),  # 12
    (255, 255, 255),  # 13
    (255, 255, 255),  # 14
    (255, 255, 255),  # 15
]


def product_picture():
    size = 64
    px = [[0] * size for _ in range(size)]
    # The page, its folded corner top right.
    left, top, right, bottom = 10, 6, 46, 58
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            fold = (x - (right - 8)) + (top + 8 - y)
            if fold > 8:
                continue
            edge = x in (left, right) or y in (top, bottom) or fold == 8
            px[y][x] = 3 if edge else (10 if fold > 0 and x > right - 8 else 1)
    for y in range(16, 52, 6):
        for x in range(left + 5, right - 5):
            px[y][x] = 2
    # The ribbon hangs from the top edge with a notch at its end.
    for y in range(top, 26):
        for x in range(32, 38):
            if y > 21 and abs(x - 34.5) < (y - 21):
                continue
            px[y][x] = 5 if x == 37 else 4
    # The quill: a shaft from the nib (12, 56) to the tip (56, 8), with a
    # feather that widens and narrows along its upper part.
    x0, y0, x1, y1 = 12.0, 56.0, 56.0, 8.0
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    for y in range(size):
        for x in range(size):
            dx, dy = x + 0.5 - x0, y + 0.5 - y0
            t = (dx * ux + dy * uy) / length  # 0 at the nib, 1 at the tip
            d = dx * -uy + dy * ux            # signed distance from the shaft
            if not 0 <= t <= 1:
                continue
            if t < 0.1:
                if abs(d) < 1.6 * (t / 0.1) + 0.5:
                    px[y][x] = 9
                continue
            if abs(d) < 0.8:
                px[y][x] = 8
                continue
            if t > 0.3:
                s = (t - 0.3) / 0.7
                width = (7.5 if d > 0 else 5.0) * math.sin(math.pi * s) ** 0.7
                if abs(d) < width:
                    barb = int((t * length + abs(d) * 0.8) / 3) % 2
                    px[y][x] = 6 if barb else 7
    return bmp_4bit(size, size, PICTURE, px)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_bitmaps.py OUTPUT_FOLDER")
    out = Path(sys.argv[1])
    (out / "check_images.bmp").write_bytes(check_strip())
    (out / "product_picture.bmp").write_bytes(product_picture())


if __name__ == "__main__":
    main()
