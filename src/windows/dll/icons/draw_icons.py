#!/usr/bin/env python3
"""Draws the add-in's pictures as RGBA PNGs, the same every run: the application icon (a
contact card, an arrow to a Word page and a letter with a pen) and the output dialog's
three option pictures (a hand writing with a pen, a closed book, an open book).

Usage: draw_icons.py FOLDER  ->  FOLDER/<name>-<size>.png for sizes 16, 32 and 48.

Each picture is a list of filled shapes in a 0..1 square, painted in order at 4 times the
size and averaged down, so that the edges are smooth at every size."""
import math
import struct
import sys
import zlib

SIZES = (16, 32, 48)
SCALE = 4

# Colours (red, green, blue, alpha).
INK = (40, 40, 48, 255)
PAPER = (255, 255, 255, 255)
CARD = (255, 246, 214, 255)
BLUE = (43, 87, 154, 255)      # Word's blue
GREEN = (46, 140, 70, 255)
RED = (176, 48, 48, 255)
PEN = (70, 70, 90, 255)
GOLD = (214, 170, 60, 255)
SKIN = (236, 196, 160, 255)
GREY = (150, 150, 160, 255)


def rect(x0, y0, x1, y1, colour):
    return (lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)


def circle(cx, cy, r, colour):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, colour)


def polygon(points, colour):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return (inside, colour)


def bar(x0, y0, x1, y1, width, colour):
    """A straight stroke from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    return polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny),
                    (x0 - nx, y0 - ny)], colour)


def framed(x0, y0, x1, y1, fill, line, width=0.045):
    return [rect(x0, y0, x1, y1, line), rect(x0 + width, y0 + width, x1 - width, y1 - width, fill)]


def lines(x0, x1, y0, step, count, colour, width=0.04):
    return [rect(x0, y0 + i * step, x1, y0 + i * step + width, colour) for i in range(count)]


def pen(x0, y0, x1, y1, width=0.12):
    """A pen lying from its top (x0, y0) to its nib at (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    bx, by = x1 - ux * 0.14, y1 - uy * 0.14
    nx, ny = -uy * width / 2, ux * width / 2
    return [bar(x0, y0, bx, by, width, PEN),
            bar(x0, y0, x0 + ux * 0.1, y0 + uy * 0.1, width, GOLD),
            polygon([(bx + nx, by + ny), (x1, y1), (bx - nx, by - ny)], GOLD)]


def application():
    shapes = []
    # The contact card, top left, with a person on it.
    shapes += framed(0.02, 0.08, 0.50, 0.44, CARD, INK)
    shapes += [circle(0.15, 0.20, 0.065, SKIN), polygon([(0.06, 0.38), (0.09, 0.29), (0.21, 0.29),
                                                         (0.24, 0.38)], BLUE)]
    shapes += lines(0.29, 0.44, 0.17, 0.08, 3, GREY)
    # The arrow to Word.
    shapes += [rect(0.20, 0.50, 0.30, 0.66, GREEN),
               polygon([(0.12, 0.64), (0.38, 0.64), (0.25, 0.80)], GREEN)]
    # The Word page, right, with its blue band.
    shapes += framed(0.50, 0.02, 0.96, 0.58, PAPER, INK)
    shapes += [rect(0.545, 0.065, 0.915, 0.16, BLUE)]
    shapes += lines(0.58, 0.88, 0.23, 0.085, 4, GREY)
    # The letter, bottom, with the pen writing on it.
    shapes += framed(0.06, 0.62, 0.80, 0.98, PAPER, INK)
    shapes += [polygon([(0.09, 0.65), (0.43, 0.83), (0.77, 0.65), (0.77, 0.69), (0.43, 0.87),
                        (0.09, 0.69)], RED)]
    shapes += pen(0.98, 0.50, 0.70, 0.90)
    return shapes


def writing():
    shapes = framed(0.10, 0.06, 0.78, 0.94, PAPER, INK)
    shapes += lines(0.20, 0.68, 0.20, 0.13, 5, GREY, 0.05)
    shapes += pen(0.96, 0.18, 0.55, 0.70, 0.13)
    # The hand holding the pen.
    shapes += [circle(0.76, 0.50, 0.14, SKIN), circle(0.66, 0.58, 0.07, SKIN)]
    return shapes


def closed_book():
    shapes = [rect(0.16, 0.10, 0.86, 0.92, INK), rect(0.20, 0.14, 0.82, 0.84, RED)]
    shapes += [rect(0.20, 0.84, 0.82, 0.88, PAPER), rect(0.20, 0.14, 0.28, 0.84, (130, 30, 30, 255))]
    shapes += [rect(0.40, 0.32, 0.70, 0.42, GOLD)]
    return shapes


def open_book():
    shapes = [polygon([(0.02, 0.24), (0.50, 0.32), (0.98, 0.24), (0.98, 0.84), (0.50, 0.92),
                       (0.02, 0.84)], INK)]
    shapes += [polygon([(0.06, 0.28), (0.48, 0.36), (0.48, 0.86), (0.06, 0.79)], PAPER),
               polygon([(0.52, 0.36), (0.94, 0.28), (0.94, 0.79), (0.52, 0.86)], PAPER)]
    for i in range(4):
        y = 0.42 + i * 0.11
        shapes += [bar(0.12, y, 0.42, y + 0.05, 0.035, GREY), bar(0.58, y + 0.05, 0.88, y, 0.035, GREY)]
    return shapes


PICTURES = {"sendnote": application, "writing": writing, "closedbook": closed_book,
            "openbook": open_book}


def render(shapes, size):
    big = size * SCALE
    canvas = [[(0, 0, 0, 0)] * big for _ in range(big)]
    for inside, colour in shapes:
        for py in range(big):
            y = (py + 0.5) / big
            row = canvas[py]
            for px in range(big):
                if inside((px + 0.5) / big, y):
                    row[px] = colour
    pixels = bytearray()
    for y in range(size):
        pixels.append(0)  # filter: none
        for x in range(size):
            samples = [canvas[y * SCALE + j][x * SCALE + i] for j in range(SCALE)
                       for i in range(SCALE)]
            alpha = sum(s[3] for s in samples)
            if alpha == 0:
                pixels += bytes(4)
                continue
            # Colours weighted by their coverage, so that edges do not darken.
            pixels += bytes(round(sum(s[c] * s[3] for s in samples) / alpha) for c in range(3))
            pixels.append(round(alpha / len(samples)))
    return bytes(pixels)


def png(size, raw):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def main():
    folder = sys.argv[1]
    for name, draw in PICTURES.items():
        for size in SIZES:
            with open(f"{folder}/{name}-{size}.png", "wb") as out:
                out.write(png(size, render(draw(), size)))


if __name__ == "__main__":
    main()
