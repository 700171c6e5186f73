#!/usr/bin/env python3
"""Writes the seeds of data_pack_fuzz into tests/fuzz/corpus_data_pack_fuzz/.

The committed atlas pictures are hundreds of kilobytes, too big for a fuzzer to mutate, so
the seeds carry small pictures made here with the standard library alone: 512 x 512 PNGs in
the colour types, bit depths and filters a decoder must handle (the size the saver accepts),
a run-length TGA of the same size, and a few of the wrong size or damaged. Each seed follows
the input layout data_pack_fuzz.cpp describes: a flags byte, the atlas value, the first
blob's length, the first blob, the second blob.

Run it again only to change the seeds: python3 tests/fuzz/make_data_pack_corpus.py
"""

import pathlib
import struct
import zlib

SIDE = 512
OUT = pathlib.Path(__file__).resolve().parent / "corpus_data_pack_fuzz"

# The flags of data_pack_fuzz.cpp.
NO_RUN_FOLDER = 1 << 0
DISK_FULL_AT_ONCE = 1 << 1
PACK_ONE_BYTE_SHORT = 1 << 2
NO_PACK = 1 << 3
DISK_FULL_AFTER_LETTERS = 1 << 4
EXTRACT_TWICE = 1 << 5
ONLY_DESTRUCTOR = 1 << 6
TRAILING_BYTES = 1 << 7


def chunk(kind, body):
    return (struct.pack(">I", len(body)) + kind + body +
            struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))


def png(color_type, depth, row, side=SIDE, interlace=0, extra=b""):
    """A PNG whose every row is row(y): the filter byte followed by the row's bytes."""
    header = struct.pack(">IIBBBBB", side, side, depth, color_type, 0, 0, interlace)
    if interlace:
        # Adam7: each pass's rows, every one with filter 0, in pass order.
        raw = bytearray()
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
        for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4),
                               (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)):
            width = (side - x0 + dx - 1) // dx
            height = (side - y0 + dy - 1) // dy
            row_bytes = (width * channels * depth + 7) // 8
            for y in range(height):
                raw += bytes([0]) + bytes((y * 7 + i) & 0xFF for i in range(row_bytes))
        data = bytes(raw)
    else:
        data = b"".join(row(y) for y in range(side))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", zlib.compress(data, 9)) + chunk(b"IEND", b""))


def rgba_rows(y):
    # Every filter type in turn, over a short repeating pattern.
    return bytes([y % 5]) + bytes((x * 3 + y) & 0xFF for x in range(16)) * (SIDE * 4 // 16)


def rgb16_rows(y):
    return bytes([y % 5]) + bytes((x + y) & 0xFF for x in range(12)) * (SIDE * 6 // 12)


def palette_rows(y):
    return bytes([1 if y % 2 else 0]) + bytes((x + y) % 4 for x in range(SIDE))


def gray1_rows(y):
    return bytes([2]) + bytes([0xAA if y % 2 else 0x55]) * (SIDE // 8)


def tga_rle(side=SIDE):
    """A 24-bit run-length TGA: every row in runs of at most 128 pixels."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 10, 0, 0, 0, 0, 0, side, side, 24, 0x20)
    body = bytearray()
    for y in range(side):
        left = side
        while left:
            run = min(left, 128)
            body += bytes([0x80 | (run - 1), y & 0xFF, 0x40, 0x80])
            left -= run
    return header + bytes(body)


def seed(flags, atlas, first, second):
    return struct.pack("<BhH", flags, atlas, len(first)) + first + second


def main():
    rgba = png(6, 8, rgba_rows)
    palette = png(3, 8, palette_rows,
                  extra=chunk(b"PLTE", bytes(range(12))) + chunk(b"tRNS", b"\x00\x80"))
    gray = png(0, 8, None, interlace=1)
    rgb16 = png(2, 16, rgb16_rows)
    gray1 = png(0, 1, gray1_rows)
    small = png(6, 8, lambda y: bytes([0]) + bytes(64 * 4), side=64)
    tga = tga_rle()
    seeds = {
        "rgba-palette": seed(0, 1, rgba, palette),
        "gray-interlaced-rgb16": seed(0, 0, gray, rgb16),
        "gray1-tga": seed(0, 2, gray1, tga),
        "no-run-folder": seed(NO_RUN_FOLDER, 1, rgba, gray1),
        "disk-full-at-once": seed(DISK_FULL_AT_ONCE, 1, palette, rgba),
        "disk-full-after-letters": seed(DISK_FULL_AFTER_LETTERS, 0, gray1, palette),
        "short-pack": seed(PACK_ONE_BYTE_SHORT, 1, rgba, palette),
        "no-pack": seed(NO_PACK, 1, rgba, palette),
        "twice-destructor-trailing":
            seed(EXTRACT_TWICE | ONLY_DESTRUCTOR | TRAILING_BYTES, -1, gray1, rgba),
        "wrong-size": seed(0, 1, small, rgba),
        "damaged-second": seed(0, 1, rgba, palette[:len(palette) // 2]),
    }
    OUT.mkdir(exist_ok=True)
    for name, data in seeds.items():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
