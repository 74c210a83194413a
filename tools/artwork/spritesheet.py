"""The sprite sheet KALDREN: 256 x 128, 8-bit palette, white is transparent."""

import coin
import figure
import glyphs
import imagefiles

WIDTH, HEIGHT = 256, 128
WHITE = (255, 255, 255)


def sheet_pixels():
    """Rows of RGB triples: the figure at the left, the eight frames beside it."""
    rows = [[WHITE] * WIDTH for _ in range(HEIGHT)]

    def place(picture, left, top):
        for y, row in enumerate(picture):
            for x, colour in enumerate(row):
                if colour is not None:
                    rows[top + y][left + x] = colour

    place(figure.draw(), 0, 0)
    for i, frame in enumerate(coin.frames()):
        place(frame, 64 + 48 * (i % 4), 48 * (i // 4))
    return rows


def kaldren_bmp():
    rows = sheet_pixels()
    order, colours = glyphs.vga16()
    palette = [colours[key] for key in order]
    for row in rows:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    if len(palette) > 256:
        raise ValueError("the sheet uses %d colours, more than 256" % len(palette))
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {}
    for position, colour in enumerate(palette):
        index.setdefault(colour, position)
    return imagefiles.bmp_indexed(WIDTH, HEIGHT, 8, palette, [[index[c] for c in row] for row in rows])
