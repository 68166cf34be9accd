#!/usr/bin/env python3
"""Draws exefile.png, the generic icon of an executable without an icon of its own: a 64x64
program window (a blue title bar over a white page with text lines) with soft, anti-aliased
edges, on a transparent background. Run it after changing it; the PNG is kept in the tree and
built into the platform library."""
import struct
import zlib
from pathlib import Path

SIZE = 64
SAMPLES = 4  # per axis, for the anti-aliased edges


def inside_rounded(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """The colour (r, g, b) at a sample point, or None outside the icon."""
    if not inside_rounded(x, y, 4, 8, 60, 56, 5):
        return None
    if not inside_rounded(x, y, 6, 10, 58, 54, 3.5):
        return (52, 73, 94)  # frame
    if y < 19:
        if 48 <= x < 55 and 12 <= y < 17:
            return (231, 76, 60)  # close box
        return (41, 128, 185)  # title bar
    for line_top, line_right in ((24, 50), (30, 44), (36, 52), (42, 40)):
        if 11 <= x < line_right and line_top <= y < line_top + 3:
            return (149, 165, 166)  # text lines
    return (250, 250, 250)  # page


def pixel(px, py):
    total = [0, 0, 0]
    covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            c = colour_at(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
            if c:
                covered += 1
                for i in range(3):
                    total[i] += c[i]
    if not covered:
        return (0, 0, 0, 0)
    alpha = round(255 * covered / SAMPLES ** 2)
    return tuple(round(t / covered) for t in total) + (alpha,)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


rows = b"".join(
    b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(SIZE)) for y in range(SIZE))
png = (b"\x89PNG\r\n\x1a\n"
       + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows, 9))
       + chunk(b"IEND", b""))
Path(__file__).with_suffix(".png").write_bytes(png)
