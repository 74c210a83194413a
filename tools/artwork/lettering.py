"""Letters as strokes in a unit box (x right, y down), for drawing at any size.

Each letter is a list of strokes; a stroke is ("line", points) drawn straight
from point to point or ("curve", points) drawn smoothly through them.
"""

import math


def _arc(cx, cy, rx, ry, start_degrees, end_degrees, count=12):
    return [
        (
            cx + rx * math.cos(math.radians(start_degrees + (end_degrees - start_degrees) * i / count)),
            cy + ry * math.sin(math.radians(start_degrees + (end_degrees - start_degrees) * i / count)),
        )
        for i in range(count + 1)
    ]


# Latin letters: cap height from y 0 to 1, x-height from 0.38 to 1.
LATIN = {
    "V": [("line", [(0.0, 0.0), (0.5, 1.0), (1.0, 0.0)])],
    "e": [
        ("line", [(0.04, 0.68), (0.96, 0.68)]),
        ("line", _arc(0.5, 0.69, 0.46, 0.31, 0, -300)),
    ],
    "s": [
        (
            "curve",
            [(0.92, 0.45), (0.5, 0.38), (0.1, 0.52), (0.5, 0.69), (0.9, 0.85), (0.5, 1.0), (0.06, 0.93)],
        )
    ],
    "k": [
        ("line", [(0.08, 0.0), (0.08, 1.0)]),
        ("line", [(0.9, 0.38), (0.08, 0.78)]),
        ("line", [(0.42, 0.62), (0.94, 1.0)]),
    ],
}

# Hiragana a: the cross bar, the long stem, and the sweep that crosses the
# stem, loops round at the bottom left and closes in a wide bow on the right.
HIRAGANA_A = [
    ("line", [(0.1, 0.22), (0.82, 0.17)]),
    ("curve", [(0.4, 0.02), (0.38, 0.4), (0.42, 0.72), (0.56, 0.9)]),
    (
        "curve",
        [
            (0.66, 0.4),
            (0.46, 0.72),
            (0.2, 0.94),
            (0.06, 0.84),
            (0.2, 0.62),
            (0.5, 0.5),
            (0.82, 0.56),
            (0.95, 0.74),
            (0.8, 0.92),
            (0.58, 0.98),
        ],
    ),
]


def placed(strokes, left, top, width, height):
    """The strokes as point lists scaled into the given box."""
    result = []
    for kind, points in strokes:
        moved = [(left + x * width, top + y * height) for x, y in points]
        result.append((kind, moved))
    return result

# The C of the copyright sign: an open ring.
LATIN_C = _arc(0.5, 0.5, 0.5, 0.5, -45, -315)
