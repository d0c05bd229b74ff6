#!/usr/bin/env python3
"""Converts uncompressed 24- or 32-bit Windows bitmaps to PNG files.

    tools/bmp_to_png.py IN.bmp OUT.png [IN.bmp OUT.png ...]

The dialog tests save their pictures as bitmaps, which a Windows program
writes with GDI alone; this turns them into the smaller PNG files that the
documentation shows, with nothing but the standard library.
"""
import struct
import sys
import zlib


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        sys.exit(f"{path}: not a bitmap")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression != 0:
        sys.exit(f"{path}: only uncompressed 24- and 32-bit bitmaps are read")
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        source = y if height < 0 else abs(height) - 1 - y  # bottom-up unless negative
        start = offset + source * stride
        row = bytearray()
        for x in range(width):
            b, g, r = data[start + x * step:start + x * step + 3]
            row += bytes((r, g, b))
        rows.append(bytes(row))
    return width, abs(height), rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + row for row in rows)
    png = (b"\x89PNG\r\n\x1a\n" +
           chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


def main():
    args = sys.argv[1:]
    if not args or len(args) % 2:
        sys.exit("usage: bmp_to_png.py IN.bmp OUT.png [IN.bmp OUT.png ...]")
    for source, target in zip(args[::2], args[1::2]):
        write_png(target, *read_bmp(source))


if __name__ == "__main__":
    main()
