#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes the degenerate drawings that stress the render pass, for timing the renderer on them.

    tools/make_hostile_drawings.py OUTDIR [--extent N] [--only NAME ...]

Each family NAME becomes OUTDIR/NAME.pmj. The extent (default 1,000,000, the largest coordinate a
file may hold) is the drawing's width, and its height where the family has one. Time one with

    /usr/bin/time -v build/default/src/cli/penmoji-render --quiet OUTDIR/NAME.pmj -o /tmp/out.txt

Families (every one a valid file of at most 200 vectors of 200 points):
  diagonal       39,800 coincident segments along (0,0)-(E,E), drawn back and forth
  row-line       39,800 coincident segments along a row's top edge, y = 16k + 1, across the width
  staircase      one polyline of 100 full-width lines on consecutive row tops joined by diagonals
  zigzag         39,800 segments each from x = 0 to x = E, their ends at random heights in 0..E
  random-points  200 vectors of 200 random points over E x E
  near-row-lines 39,800 distinct level segments across the width a pixel or two off the only
                 row, within the reach of its windows yet meeting none of them
  row-hugging    39,800 distinct segments across the width just above the only row, within the
                 reach of its windows yet meeting none of them
  columns        333 vertical lines over the full height, E / 333 apart, joined alternately on
                 the first and the last row: at full extent about 11 GB of text
"""

import argparse
import pathlib
import random
import sys

from pmj_file import MAX_POINTS, SLOTS, vector_file


def back_and_forth(a, b):
    """One full vector going a, b, a, b, ...: 199 coincident segments in both orders."""
    return [a if i % 2 == 0 else b for i in range(MAX_POINTS)]


def diagonal(extent):
    return [back_and_forth((0, 0), (extent, extent))] * SLOTS


def row_line(extent):
    y = (extent // 2) // 16 * 16 + 1  # a row's top, halfway down
    return [back_and_forth((0, y), (extent, y))] * SLOTS


def staircase(extent):
    points = []
    for k in range(MAX_POINTS // 2):
        y = 16 * k + 1
        points += [(0, y), (extent, y)]
    return [points]


def zigzag(extent):
    rng = random.Random(13)
    return [[(extent * (i % 2), rng.randint(0, extent)) for i in range(MAX_POINTS)]
            for _ in range(SLOTS)]


def random_points(extent):
    rng = random.Random(40000)
    return [[(rng.randint(0, extent), rng.randint(0, extent)) for _ in range(MAX_POINTS)]
            for _ in range(SLOTS)]


def row_hugging(extent):
    # Points alternately at y = -1 on the left and y = 0 on the right, each a pixel further in.
    lines = []
    for slot in range(SLOTS):
        line = []
        for i in range(MAX_POINTS):
            k = slot * MAX_POINTS + i
            line.append((k // 2, -1) if i % 2 == 0 else (extent - k // 2, 0))
        lines.append(line)
    return lines


def near_row_lines(extent):
    # Each vector on one line, y = -1, 0, 18 or 19 (row 1 to 17 and the next one), going back
    # and forth a pixel further in each time.
    lines = []
    for slot in range(SLOTS):
        y = (-1, 0, 18, 19)[slot % 4]
        lines.append([((slot * MAX_POINTS + i) // 2, y) if i % 2 == 0
                      else (extent - (slot * MAX_POINTS + i) // 2, y) for i in range(MAX_POINTS)])
    return lines


def columns(extent):
    # Gaps up to about 3,300 px still get their blank runs, so every row is long.
    count = 333
    step = extent // count
    ends = [(0, extent), (extent, 0)]
    points = [(step * i, y) for i in range(count) for y in ends[i % 2]]
    return [points[at:at + MAX_POINTS] for at in range(0, len(points), MAX_POINTS)]


FAMILIES = {
    "diagonal": diagonal,
    "row-line": row_line,
    "staircase": staircase,
    "zigzag": zigzag,
    "random-points": random_points,
    "near-row-lines": near_row_lines,
    "row-hugging": row_hugging,
    "columns": columns,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", type=pathlib.Path)
    parser.add_argument("--extent", type=int, default=1_000_000)
    parser.add_argument("--only", nargs="*", choices=FAMILIES, help="the families to write")
    args = parser.parse_args()
    if not 16 <= args.extent <= 1_000_000:
        parser.error("the extent must lie between 16 and 1,000,000")
    args.outdir.mkdir(parents=True, exist_ok=True)
    for name in args.only or FAMILIES:
        path = args.outdir / f"{name}.pmj"
        path.write_bytes(vector_file(FAMILIES[name](args.extent)))
        print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
