#!/usr/bin/env python3
"""Draws toolbar.png: the viewer's tool-bar strip, four 36 x 36 buttons
(rotate, pan, zoom, toggle the second pane) on magenta, which the tool bar
takes as transparent. Run it after changing a shape; the build compiles
the picture into the viewer's resource table."""
import math
import struct
import zlib
from pathlib import Path

SIZE = 36
BUTTONS = 4
MAGENTA = (255, 0, 255)
width, height = SIZE * BUTTONS, SIZE
pixels = [[MAGENTA for _ in range(width)] for _ in range(height)]


def dot(x, y, colour):
    if 0 <= x < width and 0 <= y < height:
        pixels[y][x] = colour


def disc(cx, cy, r, colour):
    for y in range(int(cy - r) - 1, int(cy + r) + 2):
        for x in range(int(cx - r) - 1, int(cx + r) + 2):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                dot(x, y, colour)


def line(x0, y0, x1, y1, colour, thickness=1.5):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
    for i in range(steps + 1):
        t = i / steps
        disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, thickness, colour)


def rect(x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            dot(x, y, colour)


# Rotate: a blue arc with an arrow head.
ox = 0
for step in range(0, 300, 4):
    a = math.radians(step)
    disc(ox + 18 + 11 * math.cos(a), 18 - 11 * math.sin(a), 1.8, (30, 90, 200))
line(ox + 29, 18, ox + 25, 12, (30, 90, 200))
line(ox + 29, 18, ox + 33, 12, (30, 90, 200))
# Pan: a green cross of arrows.
ox = SIZE
line(ox + 6, 18, ox + 30, 18, (20, 150, 60))
line(ox + 18, 6, ox + 18, 30, (20, 150, 60))
for (tx, ty, dx, dy) in ((6, 18, 1, 0), (30, 18, -1, 0), (18, 6, 0, 1), (18, 30, 0, -1)):
    line(ox + tx, ty, ox + tx + 5 * dx + 4 * dy, ty + 5 * dy + 4 * dx, (20, 150, 60))
    line(ox + tx, ty, ox + tx + 5 * dx - 4 * dy, ty + 5 * dy - 4 * dx, (20, 150, 60))
# Zoom: a magnifier, dark rim and handle, light glass.
ox = 2 * SIZE
disc(ox + 15, 15, 10, (40, 40, 40))
disc(ox + 15, 15, 7, (200, 230, 250))
line(ox + 22, 22, ox + 31, 31, (120, 70, 20), 2.5)
# Toggle pane: two panes side by side, the right one shaded.
ox = 3 * SIZE
rect(ox + 4, 7, ox + 32, 29, (40, 40, 40))
rect(ox + 6, 9, ox + 17, 27, (250, 250, 250))
rect(ox + 19, 9, ox + 30, 27, (150, 150, 160))

raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
       chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
Path(__file__).with_name("toolbar.png").write_bytes(png)
