"""The standing figure of the orbit animation, 64 x 128, drawn from shapes.

Each body part is painted as a label; colouring then shades every part like
a cylinder lit from the upper left, and a dark rim closes the silhouette.
"""

import raster

GROUND = None
OUTLINE = (40, 24, 24)

# Part label: (highlight, base, shadow).
COLOURS = {
    "hair": ((136, 84, 40), (96, 52, 20), (60, 30, 10)),
    "skin": ((252, 220, 188), (240, 190, 150), (208, 148, 108)),
    "shirt": ((96, 144, 232), (56, 100, 200), (32, 64, 148)),
    "sleeve": ((96, 144, 232), (56, 100, 200), (32, 64, 148)),
    "belt": ((72, 56, 40), (48, 36, 24), (32, 24, 16)),
    "trousers": ((104, 112, 132), (72, 78, 96), (44, 48, 62)),
    "shoe": ((132, 72, 44), (92, 44, 24), (56, 24, 12)),
}
DETAILS = {
    "eye": (32, 28, 36),
    "brow": (60, 30, 10),
    "mouth": (176, 80, 64),
    "nose": (208, 148, 108),
    "buckle": (232, 200, 80),
}

WIDTH, HEIGHT = 64, 128


def _mirror(points):
    return [(WIDTH - x, y) for x, y in points]


def _labels():
    canvas = raster.Canvas(WIDTH, HEIGHT, GROUND)
    # Legs and shoes first, so the belt and shirt hem overlap them.
    canvas.polygon([(20, 72), (32, 72), (31.5, 86), (30.5, 118), (22, 118), (21, 90)], "trousers")
    canvas.polygon(_mirror([(20, 72), (32, 72), (31.5, 86), (30.5, 118), (22, 118), (21, 90)]), "trousers:r")
    shoe = [(21, 116), (31, 116), (31.5, 125), (15, 125), (15, 122), (18, 119)]
    canvas.polygon(shoe, "shoe")
    canvas.polygon(_mirror(shoe), "shoe:r")
    # Arms hang beside the body, hands below the hem.
    arm = [(19, 38), (14, 41), (11, 56), (10, 71), (15.5, 71), (17, 57), (20, 46)]
    canvas.polygon(arm, "sleeve")
    canvas.polygon(_mirror(arm), "sleeve:r")
    canvas.ellipse(12.8, 74.5, 3.4, 4.4, "skin:hand")
    canvas.ellipse(WIDTH - 12.8, 74.5, 3.4, 4.4, "skin:hand:r")
    # Torso with rounded shoulders.
    canvas.polygon([(22, 36), (42, 36), (46, 41), (44, 71), (20, 71), (18, 41)], "shirt")
    canvas.polygon([(20, 69), (44, 69), (44, 73), (20, 73)], "belt")
    # Neck, open collar, head with ears and hair.
    canvas.polygon([(28.5, 28), (35.5, 28), (35.5, 37), (28.5, 37)], "skin:neck")
    canvas.polygon([(28, 36), (36, 36), (32, 42)], "skin:collar")
    canvas.ellipse(22.8, 22.5, 2.0, 3.0, "skin:ear")
    canvas.ellipse(WIDTH - 22.8, 22.5, 2.0, 3.0, "skin:ear:r")
    canvas.ellipse(32, 15.5, 10.5, 10.0, "hair")
    canvas.ellipse(32, 21.5, 8.6, 10.0, "skin")
    canvas.polygon([(22.5, 10), (41.5, 10), (41.5, 17), (38, 14.5), (33, 16), (28, 14), (22.5, 18)], "hair")
    return canvas


def _colour_of(label):
    return COLOURS[label.split(":")[0]]


def draw():
    """The figure as rows of RGB triples, None where the ground shows."""
    labels = _labels()
    rows = [[None] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):
        x = 0
        while x < WIDTH:
            label = labels.pixels[y][x]
            if label is None:
                x += 1
                continue
            end = x
            while end + 1 < WIDTH and labels.pixels[y][end + 1] == label:
                end += 1
            light, base, shadow = _colour_of(label)
            span = end - x + 1
            for i in range(span):
                position = (i + 0.5) / span
                rows[y][x + i] = light if position < 0.22 else shadow if position > 0.68 else base
            x = end + 1
    _separate_parts(labels, rows)
    _face(rows)
    _rim(rows)
    return rows


def _separate_parts(labels, rows):
    """Darkens a part where a different part lies below or beside it, for depth."""
    for y in range(HEIGHT - 1):
        for x in range(WIDTH - 1):
            here = labels.pixels[y][x]
            if here is None:
                continue
            for other in (labels.pixels[y + 1][x], labels.pixels[y][x + 1]):
                if other is not None and other != here and other.split(":")[0] != here.split(":")[0]:
                    rows[y][x] = _colour_of(here)[2]


def _face(rows):
    for x, y in ((28, 22), (28, 23), (36, 22), (36, 23)):
        rows[y][x] = DETAILS["eye"]
    for x in (27, 28, 29, 35, 36, 37):
        rows[20][x] = DETAILS["brow"]
    rows[25][32] = DETAILS["nose"]
    for x in (31, 32, 33):
        rows[28][x] = DETAILS["mouth"]
    for x in (31, 32, 33):
        for y in (70, 71):
            rows[y][x] = DETAILS["buckle"]


def _rim(rows):
    canvas = raster.Canvas(WIDTH, HEIGHT, GROUND)
    canvas.pixels = rows
    canvas.outline(lambda value: value is not None and value != OUTLINE, OUTLINE)
