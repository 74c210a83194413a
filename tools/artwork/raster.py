"""A small crisp rasteriser: every pixel is painted or not, by its centre.

No antialiasing on purpose: the artwork is shown through colour-key masks,
where blended edge pixels would show as dirty fringes.
"""

import math


class Canvas:
    def __init__(self, width, height, ground):
        self.width = width
        self.height = height
        self.ground = ground
        self.pixels = [[ground] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y][x]
        return self.ground

    def paint_where(self, inside, value, bounds=None):
        """Paints every pixel whose centre satisfies inside(px, py)."""
        x0, y0, x1, y1 = bounds or (0, 0, self.width, self.height)
        for y in range(max(0, int(y0)), min(self.height, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0)), min(self.width, int(math.ceil(x1)) + 1)):
                if inside(x + 0.5, y + 0.5):
                    self.pixels[y][x] = value

    def ellipse(self, cx, cy, rx, ry, value):
        self.paint_where(
            lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0,
            value,
            (cx - rx - 1, cy - ry - 1, cx + rx + 1, cy + ry + 1),
        )

    def polygon(self, points, value):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.paint_where(
            lambda px, py: inside_polygon(points, px, py),
            value,
            (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1),
        )

    def stroke(self, points, width, value):
        """A polyline of the given width with round ends and joins."""
        radius = width / 2.0
        segments = list(zip(points, points[1:])) or [(points[0], points[0])]
        for a, b in segments:
            self.paint_where(
                lambda px, py, a=a, b=b: distance_to_segment(px, py, a, b) <= radius,
                value,
                (
                    min(a[0], b[0]) - radius - 1,
                    min(a[1], b[1]) - radius - 1,
                    max(a[0], b[0]) + radius + 1,
                    max(a[1], b[1]) + radius + 1,
                ),
            )

    def outline(self, is_art, value):
        """Paints ground pixels that touch art pixels side by side: a crisp dark rim."""
        steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        rim = [
            (x, y)
            for y in range(self.height)
            for x in range(self.width)
            if self.pixels[y][x] == self.ground
            and any(is_art(self.get(x + dx, y + dy)) for dx, dy in steps)
        ]
        for x, y in rim:
            self.pixels[y][x] = value


def inside_polygon(points, px, py):
    inside = False
    count = len(points)
    for i in range(count):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % count]
        if (ay > py) != (by > py):
            cross_x = ax + (py - ay) * (bx - ax) / (by - ay)
            if px < cross_x:
                inside = not inside
    return inside


def distance_to_segment(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def smooth(points, steps=8):
    """A Catmull-Rom curve through the points, as a dense polyline for strokes."""
    padded = [points[0]] + list(points) + [points[-1]]
    curve = [points[0]]
    for i in range(1, len(padded) - 2):
        p0, p1, p2, p3 = padded[i - 1], padded[i], padded[i + 1], padded[i + 2]
        for step in range(1, steps + 1):
            t = step / steps
            curve.append(
                tuple(
                    0.5
                    * (
                        2 * p1[k]
                        + (p2[k] - p0[k]) * t
                        + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t * t
                        + (3 * p1[k] - p0[k] - 3 * p2[k] + p3[k]) * t * t * t
                    )
                    for k in (0, 1)
                )
            )
    return curve
