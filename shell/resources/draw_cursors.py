#!/usr/bin/env python3
"""Draws the module's cursor pictures (32 x 32 RGBA PNG) into this folder.

Run it after changing a shape; the PNGs are what the resource scripts use.
Shapes are filled white with a one-pixel black outline on transparency; the
colour versions add a tint inside.
"""
import math
import os
import struct
import zlib

SIDE = 32
HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(name, rows):
    raw = b"".join(b"\x00" + bytes(sum(row, ())) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIDE, SIDE, 8, 6, 0, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def render(inside, fill, outline=(0, 0, 0)):
    """inside(x, y) -> bool for pixel centres; outline where a neighbour is outside."""
    mask = [[inside(x + 0.5, y + 0.5) for x in range(SIDE)] for y in range(SIDE)]
    rows = []
    for y in range(SIDE):
        row = []
        for x in range(SIDE):
            if not mask[y][x]:
                row.append((0, 0, 0, 0))
                continue
            edge = any(not (0 <= x + dx < SIDE and 0 <= y + dy < SIDE and mask[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            row.append(outline + (255,) if edge else fill(x, y) + (255,))
        rows.append(row)
    return rows


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def pinwheel(x, y):
    """Four blades turning around the centre, each a right triangle."""
    cx, cy = 16.0, 16.0
    for quarter in range(4):
        angle = quarter * math.pi / 2
        cos, sin = math.cos(angle), math.sin(angle)

        def turn(px, py):
            return (cx + px * cos - py * sin, cy + px * sin + py * cos)
        if in_triangle(x, y, turn(0, 0), turn(0, -15), turn(9, -6)):
            return True
    return math.hypot(x - cx, y - cy) < 2.0


def paw(x, y):
    """A pad and four toes."""
    def ellipse(cx, cy, rx, ry):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    return (ellipse(16, 21, 8.5, 7.0) or ellipse(5.5, 12, 3.2, 4.2) or ellipse(11.5, 6.5, 3.2, 4.4)
            or ellipse(20.5, 6.5, 3.2, 4.4) or ellipse(26.5, 12, 3.2, 4.2))


def magnifier(x, y):
    """A round lens around (9.5, 8.5) with a handle towards the lower right."""
    lens = math.hypot(x - 10.0, y - 9.0) <= 8.5
    along = ((x - 10.0) + (y - 9.0)) / math.sqrt(2)
    across = abs((x - 10.0) - (y - 9.0)) / math.sqrt(2)
    handle = 7.0 <= along <= 21.0 and across <= 2.6
    return lens or handle


def lens_tint(x, y):
    distance = math.hypot(x + 0.5 - 10.0, y + 0.5 - 9.0)
    if distance <= 6.5:
        return (170, 210, 245)
    return (200, 200, 200) if distance <= 8.5 else (150, 95, 40)


write_png("rotate.png", render(pinwheel, lambda x, y: (255, 255, 255) if (x + y) % 2 else (225, 235, 250)))
write_png("pan.png", render(paw, lambda x, y: (255, 255, 255)))
write_png("zoom.png", render(magnifier, lens_tint))
write_png("zoom_mono.png", render(magnifier, lambda x, y: (255, 255, 255)))
