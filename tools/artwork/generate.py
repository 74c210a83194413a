#!/usr/bin/env python3
"""Regenerates every picture of the program into resources/ (or --out DIR).

Deterministic: the same sources give the same bytes on every run.
"""

import argparse
import os

import glyphs
import icons
import spritesheet

DESKTOP_ICON_SIZES = (48, 64, 128, 256)
# Built into the program as Qt resources; the desktop icon sizes are installed
# beside it too, and give the window its icon in every size.
EMBEDDED = (
    "glyphs/copy.bmp",
    "glyphs/paste.bmp",
    "glyphs/arrow_down.bmp",
    "glyphs/arrow_up.bmp",
    "glyphs/question.bmp",
    "icons/vesktext.png",
    *("icons/vesktext-%d.png" % size for size in DESKTOP_ICON_SIZES),
    "icons/copyright.png",
    "bitmaps/KALDREN.bmp",
)
REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def artwork():
    """{path under resources/: file bytes} for every generated file."""
    return {
        "glyphs/copy.bmp": glyphs.glyph_bmp("copy"),
        "glyphs/paste.bmp": glyphs.glyph_bmp("paste"),
        "glyphs/arrow_down.bmp": glyphs.glyph_bmp("arrow_down"),
        "glyphs/arrow_up.bmp": glyphs.glyph_bmp("arrow_down", flip=True),
        "glyphs/question.bmp": glyphs.glyph_bmp("question"),
        "icons/vesktext.png": icons.png(icons.program_icon(32)),
        "icons/copyright.png": icons.png(icons.copyright_icon()),
        "bitmaps/KALDREN.bmp": spritesheet.kaldren_bmp(),
        **{
            "icons/vesktext-%d.png" % size: icons.png(icons.program_icon(size))
            for size in DESKTOP_ICON_SIZES
        },
        "resources.qrc": resource_list(),
    }


def resource_list():
    """resources.qrc, so that Qt Designer shows the pictures in the layouts."""
    lines = ["<!DOCTYPE RCC>", '<RCC version="1.0">', '  <qresource prefix="/">']
    lines += ["    <file>%s</file>" % path for path in EMBEDDED]
    lines += ["  </qresource>", "</RCC>", ""]
    return "\n".join(lines).encode("ascii")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", default=os.path.join(REPO, "resources"))
    out = parser.parse_args().out
    for path, data in sorted(artwork().items()):
        target = os.path.join(out, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as file:
            file.write(data)


if __name__ == "__main__":
    main()
