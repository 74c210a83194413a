"""The spinning coin of the orbit animation: eight 48 x 48 views of one turn.

Each view is ray-cast from a thick disc turned about its vertical axis, so
the face narrows, the rim shows, and the back comes round in order.
"""

import math

import raster

SIZE = 48
RADIUS = 19.0
THICKNESS = 5.0
OUTLINE = (72, 40, 0)
# Dark to light; the brightest tone stays off pure white, the transparent colour.
GOLD = [(112, 64, 8), (152, 96, 24), (192, 136, 40), (224, 176, 56), (240, 208, 96), (255, 240, 160)]
LIGHT = (-0.45, -0.55, 0.7)


def _normalised(vector):
    length = math.sqrt(sum(c * c for c in vector))
    return tuple(c / length for c in vector)


def _star(u, v, radius):
    points = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        r = radius if i % 2 == 0 else radius * 0.42
        points.append((r * math.cos(angle), r * math.sin(angle)))
    return raster.inside_polygon(points, u, v)


def _face_tone(u, v, front):
    """Raised (+1) or sunk (-1) relief on a face: a star in front, rings behind."""
    r = math.hypot(u, v)
    if 15.0 <= r <= 16.2:
        return -1
    if front:
        return 1 if _star(u, v, 11.5) else 0
    return 1 if 5.0 <= r <= 8.0 or r <= 1.8 else 0


def _hit(x, y, turn):
    """The surface nearest to the viewer along the ray through (x, y): (tone, normal) or None."""
    cos_t, sin_t = math.cos(turn), math.sin(turn)
    hits = []
    if abs(cos_t) > 1e-9:
        for w, front in ((THICKNESS / 2, True), (-THICKNESS / 2, False)):
            z = (w - x * sin_t) / cos_t
            u = x * cos_t - z * sin_t
            if u * u + y * y <= RADIUS * RADIUS:
                normal = (sin_t, 0.0, cos_t) if front else (-sin_t, 0.0, -cos_t)
                hits.append((z, _face_tone(u, y, front), normal))
    if abs(sin_t) > 1e-9 and abs(y) <= RADIUS:
        for u in (math.sqrt(RADIUS * RADIUS - y * y), -math.sqrt(RADIUS * RADIUS - y * y)):
            z = (x * cos_t - u) / sin_t
            w = x * sin_t + z * cos_t
            if abs(w) <= THICKNESS / 2:
                ridge = -1 if int((math.degrees(math.atan2(y, u)) + 360) // 12) % 2 else 0
                normal = (u * cos_t / RADIUS, y / RADIUS, -u * sin_t / RADIUS)
                hits.append((z, ridge, normal))
    if not hits:
        return None
    _z, tone, normal = max(hits)
    return tone, normal


def view(turn):
    """Rows of RGB triples (None for the ground) of the coin turned by `turn` radians."""
    light = _normalised(LIGHT)
    rows = [[None] * SIZE for _ in range(SIZE)]
    centre = SIZE / 2.0
    for py in range(SIZE):
        for px in range(SIZE):
            hit = _hit(px + 0.5 - centre, py + 0.5 - centre, turn)
            if hit is None:
                continue
            tone, normal = hit
            brightness = max(0.0, sum(n * l for n, l in zip(normal, light)))
            level = min(len(GOLD) - 1, max(0, int(1 + brightness * 4.2) + tone))
            rows[py][px] = GOLD[level]
    canvas = raster.Canvas(SIZE, SIZE, None)
    canvas.pixels = rows
    canvas.outline(lambda value: value is not None and value != OUTLINE, OUTLINE)
    return rows


def frames():
    """The eight sheet frames. The animation shows frame k while the orbit angle
    is near ((6 - k) mod 8) * pi/4, so frame k shows the coin turned that far."""
    return [view(((6 - k) % 8) * math.pi / 4) for k in range(8)]
