"""A photograph of the real window shows every pane and button at its place:
each control's outermost pixels differ from the window's ground right outside
them, at the middle of all four edges.
Usage: layout_test.py PATH/TO/vesktext (on an X server; honours QT_SCALE_FACTOR)"""

import os
import sys
import unittest

from running_program import CONTROLS, RunningProgram

PROGRAM = None
SCALE = int(float(os.environ.get("QT_SCALE_FACTOR", "1")))


def edge_probes(left, top, width, height, scale):
    """(edge, pixel on the control's edge, pixel just outside it), in screen pixels.
    Scaled up, a border keeps to the first screen pixel of its window pixel."""
    x0, y0 = left * scale, top * scale
    x1, y1 = (left + width - 1) * scale, (top + height - 1) * scale
    mid_x, mid_y = (left + width // 2) * scale, (top + height // 2) * scale
    return [("left", (x0, mid_y), (x0 - 1, mid_y)),
            ("right", (x1, mid_y), (x1 + scale, mid_y)),
            ("top", (mid_x, y0), (mid_x, y0 - 1)),
            ("bottom", (mid_x, y1), (mid_x, y1 + scale))]


class Layout(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with RunningProgram(PROGRAM, SCALE) as program:
            cls.size = program.size
            cls.pixels = program.screenshot()

    def pixel(self, point):
        return self.pixels[point[1]][point[0]]

    def test_window_has_its_client_size(self):
        self.assertEqual(self.size, (438 * SCALE, 389 * SCALE))
        self.assertEqual((len(self.pixels[0]), len(self.pixels)), self.size)

    def test_controls_stand_at_their_places(self):
        ground = self.pixel((2, 2))
        for name, rect in CONTROLS.items():
            for edge, inside, outside in edge_probes(*rect, SCALE):
                with self.subTest(control=name, edge=edge):
                    self.assertEqual(self.pixel(outside), ground, "ground outside the edge")
                    self.assertNotEqual(self.pixel(inside), ground, "the control's border")


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main()
