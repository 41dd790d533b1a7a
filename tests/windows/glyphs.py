#!/usr/bin/env python3
"""Counts the different glyph shapes in a screenshot of a window's text: text drawn in a font
that has the glyphs gives many different shapes; a font without them gives the same empty box
for every character, and no font gives nothing.

    glyphs.py IMAGE.pgm      prints the number of different shapes (binary PGM from ImageMagick)
"""
import sys


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P5" or int(fields[3]) > 255:
        sys.exit("not an 8-bit binary PGM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    return width, height, pixels


def runs(flags):
    """(start, end) of each run of True."""
    out, start = [], None
    for i, flag in enumerate(flags + [False]):
        if flag and start is None:
            start = i
        elif not flag and start is not None:
            out.append((start, i))
            start = None
    return out


def main():
    width, height, pixels = read_pgm(sys.argv[1])
    # Ink is what is clearly darker than the background (the window's face colour).
    ink = [[pixels[y * width + x] < 110 for x in range(width)] for y in range(height)]
    shapes = set()
    for top, bottom in runs([any(row) for row in ink]):
        band = ink[top:bottom]
        # Glyphs of a line are parted by columns without ink.
        for left, right in runs([any(row[x] for row in band) for x in range(width)]):
            cell = tuple(tuple(row[left:right]) for row in band)
            rows = [r for r in cell if any(r)]
            if 3 <= right - left <= 40 and len(rows) >= 3:
                shapes.add(tuple(rows))
    print(len(shapes))


main()
