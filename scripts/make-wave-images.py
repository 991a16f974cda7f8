#!/usr/bin/env python3
"""Writes the wave surface's wall images in resources/Images/ (run from the repository root).

The tunnel's walls show these until the user loads images of their own. Each is 512 x 512 (the size of a
wall's texture, so that an image covers its wall) and made of patterns that show the sheet's motion: lines
and edges bend where the sheet bends.

wave-surface-1: a checkerboard of teal and amber squares with dark grid lines.
wave-surface-2: concentric rings in four colours.
wave-surface-3: diagonal stripes in three colours.
wave-surface-4: horizontal bands from violet to orange under a white grid.
"""
import math
import os
import struct
import zlib

SIZE = 512


def checkerboard(x, y):
    if x % 64 < 3 or y % 64 < 3:
        return (20, 24, 40)
    return (0, 110, 150) if (x // 64 + y // 64) % 2 else (240, 170, 40)


RINGS = [(200, 40, 60), (250, 220, 90), (40, 150, 90), (40, 70, 170)]


def rings(x, y):
    r = math.hypot(x - SIZE / 2 + 0.5, y - SIZE / 2 + 0.5)
    return RINGS[int(r // 32) % len(RINGS)]


STRIPES = [(230, 90, 30), (250, 240, 220), (30, 60, 130)]


def stripes(x, y):
    return STRIPES[((x + y) // 48) % len(STRIPES)]


def bands(x, y):
    if x % 32 == 0 or y % 32 == 0:
        return (255, 255, 255)
    t = (y // 32) / (SIZE // 32 - 1)
    return (int(90 + 160 * t), int(40 + 110 * t), int(160 - 130 * t))


def write_png(path, pixel):
    rows = bytearray()
    for y in range(SIZE):
        rows.append(0)  # no filter
        for x in range(SIZE):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)  # 8-bit RGB
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        out.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    folder = os.path.join("resources", "Images")
    os.makedirs(folder, exist_ok=True)
    for number, pattern in enumerate([checkerboard, rings, stripes, bands], start=1):
        write_png(os.path.join(folder, "wave-surface-%d.png" % number), pattern)
