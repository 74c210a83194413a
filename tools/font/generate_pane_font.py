#!/usr/bin/env python3
"""Generates resources/fonts/VesktextPaneGlyphs.ttf, the font the text panes
fall back on for what no installed font draws, from IPAPGothic (Debian's
fonts-ipafont-gothic, the window font's stand-in) and the list that
tools/font/pane_font_codes (built with the program) prints:

- a local code: the glyph of the standard character it stands for, with a
  thin underline that marks it as local;
- a second code of a character: the character's glyph, unmarked;
- a byte that forms no character: a box holding its two hex digits.

Nothing else has a glyph. The vertical metrics are IPAPGothic's, so a line
holding these characters is no taller. The output is the same byte for byte on
every run with the same source font and fontTools.

Usage: generate_pane_font.py [--check] PATH/TO/pane_font_codes
  --check  compare with the checked-in font instead of writing it
"""

import argparse
import io
import subprocess
import sys
from pathlib import Path

from fontTools import subset
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable
from fontTools.ttLib.tables._c_m_a_p import cmap_format_4
from fontTools.ttLib.tables._g_l_y_f import (ROUND_XY_TO_GRID, USE_MY_METRICS, Glyph,
                                             GlyphComponent)
from fontTools.ttLib.tables.ttProgram import Program

ROOT = Path(__file__).resolve().parents[2]
SOURCE = Path("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf")
OUTPUT = ROOT / "resources" / "fonts" / "VesktextPaneGlyphs.ttf"

FAMILY = "Vesktext Pane Glyphs"
POSTSCRIPT_NAME = "VesktextPaneGlyphs-Regular"
VERSION = "Version 1.000"
LICENSE = ("This font is licensed under the IPA Font License Agreement v1.0, "
           "a copy of which is in VesktextPaneGlyphs-License.txt.")
LICENSE_URL = "http://ipafont.ipa.go.jp/ipa_font_license_v1.html"

# The hex boxes are drawn on a grid of 12 x 12 cells to the em, so that at the
# window's 12 pixels (and at twice that) every edge falls on a pixel edge.
GRID = 12
# Box: columns 1-11, rows -1 (below the baseline) to 9, one cell thick; inside
# it two digits of 3 x 5 cells, columns 3-5 and 7-9, rows 2-6.
BOX = (1, -1, 12, 10)
DIGIT_COLUMNS = (3, 7)
DIGIT_TOP_ROW = 6
DIGITS = {
    "0": ("###", "#.#", "#.#", "#.#", "###"),
    "1": (".#.", "##.", ".#.", ".#.", "###"),
    "2": ("###", "..#", "###", "#..", "###"),
    "3": ("###", "..#", "###", "..#", "###"),
    "4": ("#.#", "#.#", "###", "..#", "..#"),
    "5": ("###", "#..", "###", "..#", "###"),
    "6": ("###", "#..", "###", "#.#", "###"),
    "7": ("###", "..#", "..#", "..#", "..#"),
    "8": ("###", "#.#", "###", "#.#", "###"),
    "9": ("###", "#.#", "###", "..#", "###"),
    "A": ("###", "#.#", "###", "#.#", "#.#"),
    "B": ("#..", "#..", "###", "#.#", "###"),  # b, so that it differs from 8
    "C": ("###", "#..", "#..", "#..", "###"),
    "D": ("..#", "..#", "###", "#.#", "###"),  # d, so that it differs from 0
    "E": ("###", "#..", "###", "#..", "###"),
    "F": ("###", "#..", "###", "#..", "#.."),
}

# The local mark: an underline in the lowest part of the line, below every
# glyph's deepest point, and short of the glyph's sides by a small gap, so that
# a run of local codes shows one mark per character. In units of the em
# (2048): the gap is a pixel at 12 pixels, the line half a pixel, which its
# hints round to a whole one.
MARK_THICKNESS = 86
MARK_GAP = 171
# The mark's hints: its bottom edge rounded down to the pixel grid, so that it
# stays clear of the glyph above it, and its top edge a whole number of pixels
# above that, at least one. In the y direction: SVTCA[y] RDTG PUSHB 0 MDAP[rnd]
# RTG PUSHB 1 MDRP[min,rnd] IUP[y]; points 0 and 1 are the bottom and top left
# corners, IUP carries the right ones along.
MARK_HINTS = bytes([0x00, 0x7D, 0xB0, 0x00, 0x2F, 0x18, 0xB0, 0x01, 0xCC, 0x30])


def read_listing(program):
    """{kind: [(unit, shown)]} from pane_font_codes."""
    listing = {"local": [], "duplicate": [], "byte": []}
    output = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    for line in output.splitlines():
        kind, unit, shown = line.split()
        listing[kind].append((int(unit, 16), int(shown, 16)))
    return listing


def rectangles(rects):
    """A simple glyph of filled rectangles (x0, y0, x1, y1), drawn clockwise."""
    pen = TTGlyphPen(None)
    for x0, y0, x1, y1 in rects:
        pen.moveTo((x0, y0))
        pen.lineTo((x0, y1))
        pen.lineTo((x1, y1))
        pen.lineTo((x1, y0))
        pen.closePath()
    return pen.glyph()


def hex_box(byte, em):
    """The box glyph of one byte, in font units."""
    left, bottom, right, top = BOX
    cells = [(left, bottom, right, bottom + 1), (left, top - 1, right, top),
             (left, bottom + 1, left + 1, top - 1), (right - 1, bottom + 1, right, top - 1)]
    for digit, column in zip(f"{byte:02X}", DIGIT_COLUMNS):
        for row, pattern in enumerate(DIGITS[digit]):
            y = DIGIT_TOP_ROW - row
            start = None
            for x, lit in enumerate(pattern + "."):  # one run of lit cells per rectangle
                if lit == "#" and start is None:
                    start = x
                elif lit != "#" and start is not None:
                    cells.append((column + start, y, column + x, y + 1))
                    start = None
    return rectangles([tuple(round(c * em / GRID) for c in cell) for cell in cells])


def composite(*names):
    """A glyph made of others, the first giving its metrics."""
    glyph = Glyph()
    glyph.numberOfContours = -1
    glyph.components = []
    for name in names:
        component = GlyphComponent()
        component.glyphName = name
        component.x = component.y = 0
        component.flags = ROUND_XY_TO_GRID | (USE_MY_METRICS if not glyph.components else 0)
        glyph.components.append(component)
    return glyph


def subset_source(characters):
    """The source font cut down to the glyphs of these characters, hints kept."""
    font = TTFont(SOURCE, recalcTimestamp=False)
    options = subset.Options()
    options.layout_features = []
    options.drop_tables += ["GSUB", "GDEF", "GPOS", "vhea", "vmtx"]
    options.name_IDs = []
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=characters)
    subsetter.subset(font)
    return font


def set_names(font, source_copyright):
    name = newTable("name")
    name.names = []
    for name_id, text in {
            0: f"{source_copyright} Glyphs added and arranged for Vesktext.",
            1: FAMILY, 2: "Regular", 3: f"{POSTSCRIPT_NAME};{VERSION}", 4: FAMILY,
            5: VERSION, 6: POSTSCRIPT_NAME,
            10: "Generated by tools/font/generate_pane_font.py of Vesktext.",
            13: LICENSE, 14: LICENSE_URL}.items():
        name.setName(text, name_id, 3, 1, 0x409)
    font["name"] = name


def set_cmap(font, mapping):
    cmap = newTable("cmap")
    cmap.tableVersion = 0
    cmap.tables = []
    for platform, encoding in ((0, 3), (3, 1)):
        table = cmap_format_4(4)
        table.platformID, table.platEncID, table.language = platform, encoding, 0
        table.cmap = dict(mapping)
        cmap.tables.append(table)
    font["cmap"] = cmap


def build(listing):
    """The font, as bytes."""
    source_copyright = TTFont(SOURCE, lazy=True)["name"].getDebugName(0)
    shown = sorted({c for kind in ("local", "duplicate") for _, c in listing[kind]})
    font = subset_source(shown)
    em = font["head"].unitsPerEm
    descent = -font["hhea"].descent
    glyf, hmtx = font["glyf"], font["hmtx"]
    glyph_of = font.getBestCmap()
    mapping = {unit: glyph_of[character] for unit, character in listing["duplicate"]}

    def add(name, glyph, advance):
        glyf[name] = glyph
        glyph.recalcBounds(glyf)
        hmtx[name] = (advance, getattr(glyph, "xMin", 0))
        return name

    for unit, character in listing["local"]:
        standard = glyph_of[character]
        advance = hmtx[standard][0]
        mark = f"mark.{advance}"
        if mark not in glyf:
            underline = rectangles([(MARK_GAP, -descent, advance - MARK_GAP,
                                     -descent + MARK_THICKNESS)])
            underline.program = Program()
            underline.program.fromBytecode(MARK_HINTS)
            add(mark, underline, advance)
        mapping[unit] = add(f"local.{unit:04X}", composite(standard, mark), advance)
    for unit, byte in listing["byte"]:
        mapping[unit] = add(f"byte.{byte:02X}", hex_box(byte, em), em)

    set_cmap(font, mapping)
    set_names(font, source_copyright)
    os2 = font["OS/2"]
    os2.achVendID = "NONE"
    os2.usFirstCharIndex, os2.usLastCharIndex = min(mapping), max(mapping)
    os2.recalcUnicodeRanges(font)
    os2.recalcAvgCharWidth(font)
    font["head"].fontRevision = 1.0
    out = io.BytesIO()
    font.save(out)
    return out.getvalue()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("listing_program")
    args = parser.parse_args()
    listing = read_listing(args.listing_program)
    data = build(listing)
    if not args.check:
        OUTPUT.parent.mkdir(parents=True, exist_ok=True)
        OUTPUT.write_bytes(data)
        print(f"wrote {OUTPUT.relative_to(ROOT)}")
        return 0
    wanted = {unit for entries in listing.values() for unit, _ in entries}
    held = set(TTFont(OUTPUT, lazy=True).getBestCmap())
    if held != wanted:
        print(f"{OUTPUT.relative_to(ROOT)} draws {len(held)} code points, the panes need "
              f"{len(wanted)}: extra {sorted(held - wanted)[:8]}, missing "
              f"{sorted(wanted - held)[:8]}", file=sys.stderr)
    if data != OUTPUT.read_bytes():
        print(f"{OUTPUT.relative_to(ROOT)} is not what {Path(__file__).name} makes: run "
              "tools/font/generate_pane_font.py build/tools/font/pane_font_codes",
              file=sys.stderr)
        return 1
    return 0 if held == wanted else 1


if __name__ == "__main__":
    sys.exit(main())
