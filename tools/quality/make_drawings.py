#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the quality benchmark's drawings into tools/quality/drawings/.

    tools/quality/make_drawings.py

Each drawing NAME becomes drawings/NAME.pmj: lettering large and small, faces, buildings, curves,
straight lines at many angles, a dense and a sparse scene. penmoji-quality measures them.
"""

import math
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent))
from pmj_file import SLOTS, vector_file  # noqa: E402

OUT = pathlib.Path(__file__).resolve().parent / "drawings"


def ellipse(cx, cy, rx, ry, sides=24, start=0.0, end=360.0):
    closed = end - start >= 360.0
    steps = sides
    points = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        points.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    if closed:
        points[-1] = points[0]
    return points


def scaled(strokes, x, y, s):
    return [[(x + px * s, y + py * s) for px, py in stroke] for stroke in strokes]


# Capital letters on a 4 x 6 grid (x right, y down).
LETTERS = {
    "A": [[(0, 6), (2, 0), (4, 6)], [(1, 3.5), (3, 3.5)]],
    "B": [[(0, 0), (0, 6), (3, 6), (4, 5), (4, 4), (3, 3), (0, 3)], [(0, 0), (3, 0), (4, 1),
                                                                     (4, 2), (3, 3)]],
    "C": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    "D": [[(0, 0), (0, 6), (3, 6), (4, 5), (4, 1), (3, 0), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    "K": [[(0, 0), (0, 6)], [(4, 0), (0, 4)], [(1.3, 2.7), (4, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]],
    "P": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "S": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6),
           (1, 6), (0, 5)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "V": [[(0, 0), (2, 6), (4, 0)]],
    "W": [[(0, 0), (1, 6), (2, 2), (3, 6), (4, 0)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    "Y": [[(0, 0), (2, 3), (4, 0)], [(2, 3), (2, 6)]],
    "Z": [[(0, 0), (4, 0), (0, 6), (4, 6)]],
}


def word(text, x, y, size):
    lines = []
    for i, ch in enumerate(text):
        if ch in LETTERS:
            lines += scaled(LETTERS[ch], x + i * size * 5.5, y, size)
    return lines


def lettering_large():
    return word("PENMOJI", 20, 30, 14) + word("ART", 60, 160, 18)


def lettering_small():
    lines = []
    for row, text in enumerate(["HELLO WORLD", "SKETCH ZONE", "MAKE TEXT ART"]):
        lines += word(text, 16, 20 + row * 70, 7)
    return lines[:SLOTS]


def face():
    return [
        ellipse(170, 130, 120, 104, 32),
        ellipse(125, 100, 18, 11, 12),
        ellipse(215, 100, 18, 11, 12),
        [(100, 72), (125, 62), (150, 72)],
        [(190, 72), (215, 62), (240, 72)],
        [(170, 105), (158, 150), (178, 152)],
        ellipse(170, 155, 55, 38, 12, 20, 160),
        [(60, 40), (90, 20), (130, 12), (170, 10), (210, 12), (250, 20), (280, 40)],
    ]


def cat_face():
    return [
        [(60, 90), (70, 20), (120, 60), (220, 60), (270, 20), (280, 90)],
        ellipse(170, 140, 115, 85, 28, -10, 190),
        [(60, 90), (55, 140)], [(280, 90), (285, 140)],
        ellipse(125, 120, 14, 14, 10), ellipse(215, 120, 14, 14, 10),
        [(160, 160), (170, 170), (180, 160)],
        [(170, 170), (170, 185)], [(150, 195), (170, 185), (190, 195)],
        [(40, 150), (120, 165)], [(40, 180), (120, 175)],
        [(300, 150), (220, 165)], [(300, 180), (220, 175)],
    ]


def building():
    lines = [
        [(40, 300), (40, 80), (200, 80), (200, 300), (40, 300)],
        [(30, 80), (120, 20), (210, 80)],
        [(100, 300), (100, 240), (140, 240), (140, 300)],
        [(240, 300), (240, 140), (380, 140), (380, 300), (240, 300)],
        [(10, 300), (420, 300)],
    ]
    for col in range(3):
        for row in range(3):
            x, y = 55 + col * 50, 100 + row * 45
            lines.append([(x, y), (x + 30, y), (x + 30, y + 28), (x, y + 28), (x, y)])
    for col in range(4):
        for row in range(3):
            x, y = 252 + col * 32, 155 + row * 45
            lines.append([(x, y), (x + 20, y), (x + 20, y + 30), (x, y + 30), (x, y)])
    return lines


def city():
    lines = [[(0, 260), (560, 260)]]
    x = 10
    heights = [120, 180, 90, 210, 150, 100, 170, 130]
    for h in heights:
        w = 56
        lines.append([(x, 260), (x, 260 - h), (x + w, 260 - h), (x + w, 260)])
        for k in range(1, h // 30):
            lines.append([(x + 10, 260 - 30 * k), (x + w - 10, 260 - 30 * k)])
        x += w + 12
    return lines


def curves():
    lines = [ellipse(120, 120, 100, 100, 40), ellipse(120, 120, 60, 30, 24),
             ellipse(340, 120, 40, 90, 24)]
    wave = [(20 + t * 4, 280 + 30 * math.sin(t / 6)) for t in range(120)]
    spiral = [(480 + t * 0.8 * math.cos(t / 8), 130 + t * 0.8 * math.sin(t / 8))
              for t in range(0, 120)]
    return lines + [wave, spiral]


def diagonals():
    """Long straight lines from a centre at every 7.5 degrees."""
    cx, cy = 230, 200
    lines = []
    for k in range(48):
        a = math.radians(7.5 * k)
        lines.append([(cx + 20 * math.cos(a), cy + 20 * math.sin(a)),
                      (cx + 180 * math.cos(a), cy + 180 * math.sin(a))])
    return lines


def slopes():
    """Parallel lines at angles from 0 to 90 degrees, each in its own strip."""
    lines = []
    for k, degrees in enumerate([0, 5, 10, 15, 22.5, 30, 37.5, 45, 52.5, 60, 67.5, 75, 80, 85, 90]):
        a = math.radians(degrees)
        x0 = 20 + k * 40
        lines.append([(x0, 220), (x0 + 120 * math.cos(a), 220 - 120 * math.sin(a))])
        for h in range(3):
            y = 260 + h * 9 + k * 3
            lines.append([(x0, y), (x0 + 30, y)])
    return lines


def kanji():
    """Dense strokes: a few characters drawn with many crossing lines."""
    lines = []
    for i in range(4):
        x = 20 + i * 110
        lines += [[(x, 30), (x + 90, 30)], [(x, 60), (x + 90, 60)], [(x + 45, 10), (x + 45, 120)],
                  [(x + 10, 90), (x + 80, 90)], [(x + 45, 60), (x + 5, 120)],
                  [(x + 45, 60), (x + 85, 120)], [(x + 15, 10), (x + 25, 28)]]
    return lines


def dense():
    """Many short strokes close together: hatching and a grid."""
    lines = []
    for i in range(24):
        lines.append([(20 + i * 8, 20), (20 + i * 8 + 60, 140)])
    for i in range(10):
        lines.append([(280, 20 + i * 12), (460, 20 + i * 12)])
        lines.append([(280 + i * 20, 20), (280 + i * 20, 128)])
    return lines


def sparse():
    """A few lines far apart on a wide canvas."""
    return [
        [(30, 40), (200, 40)], [(700, 30), (700, 200)],
        [(300, 300), (420, 220)], ellipse(600, 350, 40, 40, 20),
        [(80, 380), (140, 300), (200, 380)],
    ]


def stick_figures():
    lines = []
    for i in range(3):
        x = 60 + i * 140
        lines += [ellipse(x, 50, 20, 20, 16), [(x, 70), (x, 150)],
                  [(x - 40, 100), (x, 90), (x + 40, 100 - 20 * i)],
                  [(x - 30, 220), (x, 150), (x + 30, 220)]]
    return lines


DRAWINGS = {
    "lettering_large": lettering_large, "lettering_small": lettering_small, "face": face,
    "cat_face": cat_face, "building": building, "city": city, "curves": curves,
    "diagonals": diagonals, "slopes": slopes, "kanji": kanji, "dense": dense, "sparse": sparse,
    "stick_figures": stick_figures,
}


def main():
    OUT.mkdir(exist_ok=True)
    for name, make in DRAWINGS.items():
        lines = [[(max(0, round(x)), max(0, round(y))) for x, y in line] for line in make()]
        (OUT / f"{name}.pmj").write_bytes(vector_file(lines))
        print(f"{name}.pmj: {len(lines)} vectors")


if __name__ == "__main__":
    main()
