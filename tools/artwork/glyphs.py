"""Button glyphs: pixel rows in text, turned into strips of normal + disabled."""

import os

import imagefiles

SOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sources")
GROUND = "."


def read_lines(name):
    """The lines of a source file without comments (lines starting with '#')."""
    with open(os.path.join(SOURCES, name), encoding="ascii") as source:
        return [line.rstrip("\n") for line in source if line.strip() and not line.startswith("#")]


def vga16():
    """(legend characters in colour-table order, {character: (r, g, b)})."""
    order, colours = [], {}
    for line in read_lines("vga16.palette"):
        key, red, green, blue, _name = line.split()
        order.append(key)
        colours[key] = (int(red), int(green), int(blue))
    return order, colours


def read_glyph(name, colours):
    rows = read_lines(name + ".glyph")
    width = len(rows[0])
    for number, row in enumerate(rows):
        if len(row) != width:
            raise ValueError("%s.glyph row %d is %d wide, not %d" % (name, number, len(row), width))
        unknown = set(row) - set(colours)
        if unknown:
            raise ValueError("%s.glyph uses colours outside the legend: %s" % (name, unknown))
    return rows


def luminance(rgb):
    red, green, blue = rgb
    return 0.299 * red + 0.587 * green + 0.114 * blue


def disabled_look(rows, colours):
    """The classic embossed look: dark parts in grey over a white copy moved by (1, 1).

    Light parts (white, silver, yellow) vanish, as on a disabled button.
    """
    height, width = len(rows), len(rows[0])
    dark = [[c != GROUND and luminance(colours[c]) < 160 for c in row] for row in rows]
    result = [[GROUND] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            if dark[y][x] and x + 1 < width and y + 1 < height:
                result[y + 1][x + 1] = "w"
    for y in range(height):
        for x in range(width):
            if dark[y][x]:
                result[y][x] = "d"
    return ["".join(row) for row in result]


def strip(name, colours, flip=False):
    """The picture and its disabled look side by side, as character rows."""
    rows = read_glyph(name, colours)
    if flip:
        rows = rows[::-1]
    return [normal + disabled for normal, disabled in zip(rows, disabled_look(rows, colours))]


def glyph_bmp(name, flip=False):
    order, colours = vga16()
    rows = strip(name, colours, flip)
    indices = [[order.index(c) for c in row] for row in rows]
    palette = [colours[key] for key in order]
    return imagefiles.bmp_indexed(len(rows[0]), len(rows), 4, palette, indices)
