#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the example drawings in examples/ and, given the renderer, their renderings.

    tools/make_examples.py [--renderer build/default/src/cli/penmoji-render]

Each drawing NAME becomes examples/NAME.pmj; with --renderer also examples/NAME.html (the page
exactly as the renderer writes it, Shift_JIS) and examples/NAME.utf8.txt (the text in UTF-8,
readable where Shift_JIS is not).
"""

import argparse
import math
import pathlib
import subprocess
import sys

from pmj_file import vector_file


EXAMPLES = pathlib.Path(__file__).resolve().parent.parent / "examples"


def polygon(cx, cy, rx, ry, sides, start=0.0, closed=True):
    """Points around an ellipse; closed repeats the first point at the end."""
    points = []
    for i in range(sides + (1 if closed else 0)):
        a = start + 2 * math.pi * i / sides
        points.append((round(cx + rx * math.cos(a)), round(cy + ry * math.sin(a))))
    return points


def arc(cx, cy, rx, ry, degrees_from, degrees_to, steps):
    points = []
    for i in range(steps + 1):
        a = math.radians(degrees_from + (degrees_to - degrees_from) * i / steps)
        points.append((round(cx + rx * math.cos(a)), round(cy + ry * math.sin(a))))
    return points


def face():
    """A round face: outline, two eyes, eyebrows, nose and a smile."""
    return [
        polygon(160, 120, 110, 96, 32),
        polygon(118, 95, 14, 9, 10),
        polygon(202, 95, 14, 9, 10),
        [(96, 70), (118, 62), (140, 70)],
        [(180, 70), (202, 62), (224, 70)],
        [(160, 100), (150, 140), (166, 142)],
        arc(160, 140, 52, 34, 20, 160, 12),
    ]


def angles():
    """Straight lines from one centre at every 15 degrees, inside a frame."""
    cx, cy, r = 200, 130, 110
    lines = []
    for k in range(24):
        a = math.radians(15 * k)
        lines.append([(round(cx + 12 * math.cos(a)), round(cy + 12 * math.sin(a))),
                      (round(cx + r * math.cos(a)), round(cy + r * math.sin(a)))])
    lines.append([(60, 6), (340, 6), (340, 248), (60, 248), (60, 6)])
    return lines


def star(cx, cy, outer, inner, turn):
    points = []
    for i in range(11):
        r = outer if i % 2 == 0 else inner
        a = turn - math.pi / 2 + math.pi * i / 5
        points.append((round(cx + r * math.cos(a)), round(cy + r * math.sin(a))))
    return points


def night():
    """Many vectors: stars and a moon over a row of houses with lit windows."""
    lines = []
    # Placed by a fixed rule rather than at random, so every run writes the same file.
    for i in range(7):
        x = 50 + (i * 233) % 600
        y = 50 + (i * 71) % 110
        size = 28 + (i * 5) % 14
        lines.append(star(x, y, size, size * 0.45, i * 0.4))
    lines.append(arc(790, 70, 50, 50, 60, 300, 20))  # a crescent, open to the right
    ground = 425
    x = 20
    for i in range(8):
        width = 70 + (i * 23) % 40
        top = ground - 110 - (i * 47) % 100
        roof = [(x + width // 2, top - 40)] if i % 2 == 0 else []
        lines.append([(x, ground), (x, top)] + roof + [(x + width, top), (x + width, ground)])
        for wy in range(top + 20, ground - 40, 48):
            for wx in (x + 12, x + width - 34):
                lines.append([(wx, wy), (wx + 22, wy), (wx + 22, wy + 24), (wx, wy + 24),
                              (wx, wy)])
        x += width + 14
    lines.append([(0, ground), (x, ground)])
    return lines


DRAWINGS = {"face": face, "angles": angles, "night": night}


def render(renderer, drawing, name):
    subprocess.run([renderer, "--quiet", drawing, "-o", EXAMPLES / f"{name}.html"], check=True)
    with open(EXAMPLES / f"{name}.utf8.txt", "wb") as text:
        subprocess.run([renderer, "--quiet", "--encoding", "utf-8", drawing], stdout=text,
                       check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--renderer", help="penmoji-render, to render each drawing as well")
    args = parser.parse_args()
    EXAMPLES.mkdir(exist_ok=True)
    for name, make in DRAWINGS.items():
        drawing = EXAMPLES / f"{name}.pmj"
        drawing.write_bytes(vector_file(make()))
        print(drawing)
        if args.renderer:
            render(args.renderer, drawing, name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
