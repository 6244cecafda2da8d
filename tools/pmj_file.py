# SPDX-License-Identifier: MIT
"""The .pmj drawing format for the developer tools that make drawings."""

import struct

SLOTS = 200
MAX_POINTS = 200


def vector_file(lines):
    """The .pmj bytes: 200 records of an int32 count and that many int32 x, y pairs, LE."""
    if len(lines) > SLOTS:
        raise ValueError(f"{len(lines)} vectors, at most {SLOTS}")
    data = bytearray()
    for line in lines + [[]] * (SLOTS - len(lines)):
        if len(line) > MAX_POINTS:
            raise ValueError(f"a vector of {len(line)} points, at most {MAX_POINTS}")
        data += struct.pack("<i", len(line))
        for x, y in line:
            data += struct.pack("<ii", round(x), round(y))
    return bytes(data)
