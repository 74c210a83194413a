#!/usr/bin/env python3
"""Checks that the checked-in pictures are what the generator makes, and that
each file has the format the program relies on.

The files are decoded here by hand, independently of the writers, so a fault
in the writers shows up as a wrong pixel or header rather than cancelling out.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.join(os.path.dirname(os.path.dirname(HERE)), "resources")
GENERATED_FOLDERS = ("glyphs", "icons", "bitmaps")
OLIVE = (128, 128, 0)
WHITE = (255, 255, 255)
VGA16 = {
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
}  # fmt: skip


def read(path):
    with open(os.path.join(RESOURCES, path), "rb") as file:
        return file.read()


class Bmp:
    """A palette BMP: header fields and rows of RGB triples, top row first."""

    def __init__(self, data):
        magic, self.file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
        (header_size, self.width, self.height, _planes, self.bits, self.compression,
         _image_size, _, _, used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)  # fmt: skip
        assert magic == b"BM" and header_size == 40
        self.colours = used or 1 << self.bits
        self.palette = [
            tuple(reversed(data[54 + 4 * i : 57 + 4 * i])) for i in range(self.colours)
        ]
        stride = (self.width * self.bits + 31) // 32 * 4
        self.rows = []
        for stored in range(abs(self.height)):
            start = offset + stored * stride
            row = []
            for x in range(self.width):
                bit = x * self.bits
                index = (data[start + bit // 8] >> (8 - self.bits - bit % 8)) & ((1 << self.bits) - 1)
                row.append(self.palette[index])
            self.rows.append(row)
        if self.height > 0:
            self.rows.reverse()
        self.data_size = offset + stride * abs(self.height)


class Png:
    """A palette PNG: chunks, palette, transparency and rows of RGBA."""

    def __init__(self, data):
        assert data[:8] == b"\x89PNG\r\n\x1a\n"
        self.chunks = []
        position = 8
        while position < len(data):
            (length,) = struct.unpack_from(">I", data, position)
            kind = data[position + 4 : position + 8]
            body = data[position + 8 : position + 8 + length]
            (crc,) = struct.unpack_from(">I", data, position + 8 + length)
            assert crc == zlib.crc32(kind + body), "bad CRC in %s" % kind
            self.chunks.append((kind, body))
            position += 12 + length
        found = dict(self.chunks)
        self.width, self.height, self.depth, self.colour_type = struct.unpack(">IIBB", found[b"IHDR"][:10])
        plte = found[b"PLTE"]
        self.palette = [tuple(plte[i : i + 3]) for i in range(0, len(plte), 3)]
        alpha = found.get(b"tRNS", b"")
        self.alpha = [alpha[i] if i < len(alpha) else 255 for i in range(len(self.palette))]
        raw = zlib.decompress(b"".join(body for kind, body in self.chunks if kind == b"IDAT"))
        stride = self.width + 1
        self.rows = []
        for y in range(self.height):
            line = raw[y * stride : (y + 1) * stride]
            assert line[0] == 0, "only unfiltered rows are written"
            self.rows.append([self.palette[i] + (self.alpha[i],) for i in line[1:]])


class GeneratedFilesTest(unittest.TestCase):
    def generate(self, out):
        subprocess.run([sys.executable, os.path.join(HERE, "generate.py"), "--out", out], check=True)
        files = {}
        for folder, _dirs, names in os.walk(out):
            for name in names:
                path = os.path.join(folder, name)
                with open(path, "rb") as file:
                    files[os.path.relpath(path, out)] = file.read()
        return files

    def test_checked_in_files_are_the_generated_ones(self):
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            generated = self.generate(first)
            self.assertEqual(generated, self.generate(second), "two runs differ")
        checked_in = {"resources.qrc"}
        for folder in GENERATED_FOLDERS:
            for name in os.listdir(os.path.join(RESOURCES, folder)):
                checked_in.add(os.path.join(folder, name))
        self.assertEqual(sorted(generated), sorted(checked_in), "stale or missing files")
        for path, data in generated.items():
            self.assertEqual(read(path), data, "%s differs: run tools/artwork/generate.py" % path)


class GlyphTest(unittest.TestCase):
    # name, picture size, colours the normal picture must show
    GLYPHS = [
        ("copy", 16, {(255, 0, 0), (255, 255, 255), (0, 0, 0)}),
        ("paste", 16, {(255, 0, 0), (255, 255, 255), (128, 0, 0)}),
        ("arrow_down", 16, {(255, 0, 0)}),
        ("arrow_up", 16, {(255, 0, 0)}),
        ("question", 18, {(0, 128, 128), (0, 0, 128)}),
    ]

    def test_strips(self):
        for name, size, colours in self.GLYPHS:
            with self.subTest(name):
                data = read("glyphs/%s.bmp" % name)
                bmp = Bmp(data)
                self.assertEqual((bmp.width, bmp.height), (2 * size, size))
                self.assertEqual((bmp.bits, bmp.colours, bmp.compression), (4, 16, 0))
                self.assertEqual(set(bmp.palette), VGA16)
                self.assertEqual(bmp.file_size, len(data))
                self.assertEqual(bmp.data_size, len(data))
                normal = [row[:size] for row in bmp.rows]
                disabled = [row[size:] for row in bmp.rows]
                for picture in (normal, disabled):
                    self.assertEqual(picture[-1][0], OLIVE, "lower left is the ground")
                used = {c for row in normal for c in row}
                self.assertLessEqual(colours, used)
                self.assertEqual(
                    {c for row in disabled for c in row}, {OLIVE, (128, 128, 128), WHITE}
                )


class IconTest(unittest.TestCase):
    ICONS = [("icons/vesktext.png", 32), ("icons/copyright.png", 32)] + [
        ("icons/vesktext-%d.png" % size, size) for size in (48, 64, 128, 256)
    ]

    def test_icons(self):
        for path, size in self.ICONS:
            with self.subTest(path):
                png = Png(read(path))
                self.assertEqual((png.width, png.height, png.depth, png.colour_type), (size, size, 8, 3))
                opaque = [c for c, a in zip(png.palette, png.alpha) if a == 255]
                self.assertLessEqual(set(opaque), VGA16)
                self.assertEqual(png.alpha.count(0), 1, "one fully transparent entry")
                self.assertEqual(len(opaque) + 1, len(png.palette), "no partial transparency")
                for x, y in ((0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)):
                    self.assertEqual(png.rows[y][x][3], 0, "corner (%d, %d)" % (x, y))
                text = [body for kind, body in png.chunks if kind == b"tEXt"]
                self.assertEqual(text, [b"Software\0Generated by tools/artwork/generate.py"])


class SpriteSheetTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        data = read("bitmaps/KALDREN.bmp")
        cls.sheet = Bmp(data)
        cls.size = len(data)

    def region(self, left, top, width, height):
        return [row[left : left + width] for row in self.sheet.rows[top : top + height]]

    def frame(self, i):
        return self.region(64 + 48 * (i % 4), 48 * (i // 4), 48, 48)

    @staticmethod
    def art_box(picture):
        cells = [(x, y) for y, row in enumerate(picture) for x, c in enumerate(row) if c != WHITE]
        xs, ys = [x for x, _ in cells], [y for _, y in cells]
        return min(xs), min(ys), max(xs), max(ys)

    def test_format(self):
        sheet = self.sheet
        self.assertEqual((sheet.width, sheet.height), (256, 128), "bottom-up, 256 x 128")
        self.assertEqual((sheet.bits, sheet.colours, sheet.compression), (8, 256, 0))
        self.assertEqual(sheet.data_size, self.size)
        self.assertEqual(sheet.palette.count(WHITE), 1, "white is one colour, the ground")

    def test_blank_strip_is_white(self):
        self.assertEqual({c for row in self.region(64, 96, 192, 32) for c in row}, {WHITE})

    def test_frames_turn_once_in_display_order(self):
        # The animation shows frame (6 - n) mod 8 near the orbit angle n*pi/4:
        # the coin's width there must follow |cos(n*pi/4)| of one turn.
        widths = []
        for n in range(8):
            left, _top, right, _bottom = self.art_box(self.frame((6 - n) % 8))
            widths.append(right - left + 1)
        for n in range(8):
            expected = abs(math.cos(n * math.pi / 4))
            ratio = widths[n] / max(widths)
            with self.subTest(n=n):
                self.assertAlmostEqual(ratio, max(expected, 7 / 40), delta=0.12)
        front, back = self.frame(6), self.frame(2)
        self.assertNotEqual(front, back, "the two faces differ")
        self.assertNotEqual(self.frame(5), self.frame(7), "the coin tilts both ways")


if __name__ == "__main__":
    unittest.main()
