"""Byte-exact BMP and PNG writers (standard library only, deterministic)."""

import struct
import zlib


def bmp_indexed(width, height, bits, palette, rows):
    """An uncompressed (BI_RGB) bottom-up BMP with a colour table.

    palette: list of (r, g, b), exactly 2**bits entries.
    rows: height lists of palette indices, top row first.
    """
    if len(palette) != 1 << bits:
        raise ValueError("palette must have %d entries" % (1 << bits))
    per_byte = 8 // bits
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        if len(row) != width:
            raise ValueError("row width %d, expected %d" % (len(row), width))
        packed = bytearray(stride)
        for x, index in enumerate(row):
            if not 0 <= index < len(palette):
                raise ValueError("index %d outside the palette" % index)
            shift = (per_byte - 1 - x % per_byte) * bits
            packed[x // per_byte] |= index << shift
        pixels += packed
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 3780, 3780, len(palette), 0
    )
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + bytes(pixels)


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png_indexed(width, height, palette, rows, transparent=None, text=None):
    """An 8-bit palette PNG; `transparent` is the index drawn fully transparent.

    text: optional (keyword, value) written as a tEXt chunk.
    """
    if len(palette) > 256:
        raise ValueError("a PNG palette holds at most 256 entries")
    raw = bytearray()
    for row in rows:
        if len(row) != width:
            raise ValueError("row width %d, expected %d" % (len(row), width))
        raw.append(0)
        raw += bytes(row)
    chunks = [_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))]
    chunks.append(_chunk(b"PLTE", b"".join(struct.pack("BBB", *c) for c in palette)))
    if transparent is not None:
        alpha = bytes(0 if i == transparent else 255 for i in range(transparent + 1))
        chunks.append(_chunk(b"tRNS", alpha))
    if text is not None:
        keyword, value = text
        chunks.append(_chunk(b"tEXt", keyword.encode("latin-1") + b"\0" + value.encode("latin-1")))
    chunks.append(_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
    chunks.append(_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)
