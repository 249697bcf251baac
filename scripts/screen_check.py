#!/usr/bin/env python3
"""Checks on screenshots of the windows, read through ImageMagick's convert.

  screen_check.py glyphs IMAGE X Y W H CAPTION
      CAPTION in that rectangle is drawn as glyphs: its cells of ink, told
      apart by blank columns, are at least half as many as its characters,
      and no shape comes more often than its commonest character. A font
      that lacks the characters draws each as the same box, or nothing.
  screen_check.py lit IMAGE '#RRGGBB'
      How many pixels are within 20 % of the colour (the lit dots).
  screen_check.py same IMAGE1 IMAGE2 X Y W H
      The rectangle holds the same pixels in both.
Exits 1, saying why, when a check fails.
"""
import subprocess
import sys


def read(image, crop=None):
    """(width, height, rows of (r, g, b)) of IMAGE, or of its CROP (x, y, w, h)."""
    args = ["convert", image]
    if crop:
        x, y, w, h = crop
        args += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
    converted = subprocess.run(args + ["-depth", "8", "ppm:-"], capture_output=True)
    if converted.returncode != 0:
        raise ValueError(f"cannot read {image}: {converted.stderr.decode(errors='replace').splitlines()[0]}")
    ppm = converted.stdout
    fields, at = [], 0
    while len(fields) < 4:  # P6, width, height, maximum; then one whitespace byte
        while ppm[at:at + 1].isspace():
            at += 1
        start = at
        while not ppm[at:at + 1].isspace():
            at += 1
        fields.append(ppm[start:at])
    width, height = int(fields[1]), int(fields[2])
    data = ppm[at + 1:]
    rows = [[tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]
    return width, height, rows


def ink(rows):
    """Pixels unlike the background, which is the commonest colour."""
    counts = {}
    for row in rows:
        for pixel in row:
            counts[pixel] = counts.get(pixel, 0) + 1
    background = max(counts, key=counts.get)
    return [[max(abs(a - b) for a, b in zip(pixel, background)) > 80 for pixel in row] for row in rows]


def cells(mask):
    """Runs of columns holding ink, each as its columns' bits, blank columns between.
    A widget's border across the rectangle is no glyph: rows and columns inked
    almost end to end are left out."""
    mask = [row for row in mask if sum(row) < 0.6 * len(row)]
    width = len(mask[0]) if mask else 0
    mask = [[bit and sum(r[x] for r in mask) < 0.9 * len(mask) for x, bit in enumerate(row)] for row in mask]
    columns = [tuple(row[x] for row in mask) for x in range(width)]
    found, current = [], []
    for column in columns + [()]:
        if any(column):
            current.append(column)
        elif current:
            found.append(current)
            current = []
    return found


def alike(a, b):
    """Two cells of the same size whose bits differ in under a fifth of their ink."""
    if abs(len(a) - len(b)) > 1:
        return False
    bits_a = {(x, y) for x, column in enumerate(a) for y, bit in enumerate(column) if bit}
    bits_b = {(x, y) for x, column in enumerate(b) for y, bit in enumerate(column) if bit}
    union = bits_a | bits_b
    return not union or len(bits_a ^ bits_b) < 0.2 * len(union)


def glyphs(image, x, y, w, h, caption):
    _, _, rows = read(image, (x, y, w, h))
    found = [cell for cell in cells(ink(rows)) if sum(map(sum, cell)) >= 3]
    characters = [c for c in caption if not c.isspace()]
    if 2 * len(found) < len(characters):
        return f"{len(found)} cells of ink in {w}x{h}+{x}+{y} for the {len(characters)} characters of {caption}"
    repeats = max(characters.count(c) for c in characters)
    for cell in found:
        same_shape = sum(1 for other in found if alike(cell, other))
        if same_shape > repeats:
            return (f"{same_shape} of the {len(found)} cells in {w}x{h}+{x}+{y} are alike, where {caption} "
                    f"repeats no character more than {repeats} times: boxes of missing glyphs?")
    print(f"{len(found)} glyph cells")
    return None


def lit(image, colour):
    _, _, rows = read(image)
    target = tuple(int(colour.lstrip("#")[i:i + 2], 16) for i in (0, 2, 4))
    count = sum(1 for row in rows for pixel in row if max(abs(a - b) for a, b in zip(pixel, target)) <= 51)
    print(count)
    return None


def same(image1, image2, x, y, w, h):
    first, second = read(image1, (x, y, w, h)), read(image2, (x, y, w, h))
    if first != second:
        differ = sum(1 for r1, r2 in zip(first[2], second[2]) for p1, p2 in zip(r1, r2) if p1 != p2)
        return f"{w}x{h}+{x}+{y} differs in {differ} pixels"
    return None


def main(argv):
    commands = {"glyphs": (glyphs, 6), "lit": (lit, 2), "same": (same, 6)}
    if len(argv) < 2 or argv[1] not in commands or len(argv) - 2 != commands[argv[1]][1]:
        print(__doc__, file=sys.stderr)
        return 2
    function, _ = commands[argv[1]]
    args = [int(a) if a.isdigit() else a for a in argv[2:]]
    try:
        why = function(*args)
    except ValueError as error:
        why = str(error)
    if why:
        print(why, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
