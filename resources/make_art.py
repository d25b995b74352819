#!/usr/bin/env python3
"""Draws Lumenor's own artwork and writes it as Windows resource files, with the standard library
only: the program icon lumenor.ico (48, 32 and 16 px, 32-bit colour with alpha, each stored as PNG:
Windows reads PNG icon images since Vista, and they take a fifth of the room of a bitmap).
The main window's picture is drawn by the program itself (src/app/dusk_picture_win32.cpp).

The output is committed beside this script; run it again after changing the drawing:
    python3 resources/make_art.py
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# --------------------------------------------------------------------------------------------
# Drawing helpers: images are lists of rows of (r, g, b, a) tuples, a in 0..255.

def blank(width, height, colour=(0, 0, 0, 0)):
    return [[colour for _ in range(width)] for _ in range(height)]


def over(dst, src):
    """src over dst, both straight (not premultiplied) RGBA."""
    sa = src[3] / 255.0
    da = dst[3] / 255.0
    oa = sa + da * (1.0 - sa)
    if oa <= 0.0:
        return (0, 0, 0, 0)
    return tuple(
        int(round((src[i] * sa + dst[i] * da * (1.0 - sa)) / oa)) for i in range(3)
    ) + (int(round(oa * 255.0)),)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def supersampled(width, height, shade, samples=4):
    """Renders shade(x, y) -> RGBA (or None) at samples x samples points per pixel."""
    img = blank(width, height)
    n = samples * samples
    for y in range(height):
        for x in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    c = shade(px, py)
                    if c is None:
                        continue
                    a = c[3] / 255.0
                    acc[0] += c[0] * a
                    acc[1] += c[1] * a
                    acc[2] += c[2] * a
                    acc[3] += a
            if acc[3] > 0:
                img[y][x] = (
                    int(round(acc[0] / acc[3])),
                    int(round(acc[1] / acc[3])),
                    int(round(acc[2] / acc[3])),
                    int(round(acc[3] / n * 255.0)),
                )
    return img


# --------------------------------------------------------------------------------------------
# The icon: a screen whose picture runs from full light on the left to black on the right, with
# a small sun above it.

def icon_shade(size):
    s = size / 48.0  # drawn on a 48-unit grid

    bezel = (40, 44, 52, 255)
    stand = (90, 96, 108, 255)

    def shade(px, py):
        x = px / s
        y = py / s
        colour = None
        # Stand and foot.
        if 21 <= x <= 27 and 34 <= y <= 40:
            colour = stand
        if 13 <= x <= 35 and 40 <= y <= 44:
            colour = stand
        # Screen: rounded bezel 3..45 x 8..35.
        if 3 <= x <= 45 and 8 <= y <= 35:
            r = 3.0
            cx = min(max(x, 3 + r), 45 - r)
            cy = min(max(y, 8 + r), 35 - r)
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                colour = bezel
                # The picture: light to dark, left to right.
                if 6 <= x <= 42 and 11 <= y <= 32:
                    t = (x - 6) / 36.0
                    light = (255, 236, 140)
                    dark = (10, 12, 20)
                    colour = mix(light, dark, t) + (255,)
        # The sun, top left, over the bezel.
        d = math.hypot(x - 13, y - 12)
        if d <= 6.5:
            colour = (255, 200, 40, 255)
        elif d <= 8.0:
            colour = (255, 150, 20, 255)
        # Its rays.
        if 8.5 <= d <= 11.5:
            ang = math.atan2(y - 12, x - 13)
            if abs(math.sin(ang * 4)) < 0.28 and not (8 <= y <= 35 and x >= 3 and d < 9.5):
                colour = (255, 190, 30, 255)
        return colour

    return shade


def icon_image(size):
    return supersampled(size, size, icon_shade(size), samples=4)


# --------------------------------------------------------------------------------------------
# Encoders.

def icon_png(img):
    """The image as a PNG: 8-bit RGBA, no filter, deflated."""
    w, h = len(img[0]), len(img)
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in img)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path, images):
    """images: list of (size, bpp, colour_count, dib bytes)."""
    count = len(images)
    header = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    entries = b""
    blobs = b""
    for size, bpp, colours, dib in images:
        dim = size if size < 256 else 0
        entries += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bpp, len(dib), offset)
        offset += len(dib)
        blobs += dib
    with open(path, "wb") as f:
        f.write(header + entries + blobs)


def main():
    images = []
    for size in (48, 32, 16):
        images.append((size, 32, 0, icon_png(icon_image(size))))
    write_ico(os.path.join(HERE, "lumenor.ico"), images)


if __name__ == "__main__":
    main()
