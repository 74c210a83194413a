#!/usr/bin/env python3
"""Writes the code page 932 tables of cp932/ from ICU's windows-31j
converter and glibc's CP932 converter, and cp932/README.md, which lists the
codes that code page 932 holds twice and the stand-in characters.

Run from anywhere: tools/generate_cp932_table.py. Needs libicuuc (libicu-dev),
glibc's iconv program and clang-format. The output is checked in; with --check
it is written to a scratch folder and compared with the checked-in files.

Where the generated tables differ from ICU, and why:
- 0x1A, 0x1C and 0x7F: ICU's table (ibm-943) rotates these control codes;
  Windows code page 932 keeps 0x00-0x7F equal to U+0000-U+007F, as does glibc.
- U+221A writes as 8795, not 81E3: the local code tables use 8795 for the root
  sign, and a root sign taken from a pane must come back as that code.
- A code whose character code page 932 holds twice (81E3 and 8795 are both
  U+221A) reads, when it is not the code the character writes as, as a
  private-use character of its own from U+F000 on, which writes back as that
  code. So every code reads back as itself; Unicode text for other programs
  uses the duplicated character instead (kDuplicateCharacter).
- A byte that begins no character reads as U+F700 + byte and writes back as
  that byte, so that any byte string survives a trip through Unicode.
- Characters that code page 932 lacks but that glibc's CP932 converter writes
  as a code of a similar character (U+301C WAVE DASH as 8160, U+2212 MINUS
  SIGN as 817C...) write as that code: stand-ins that text typed or pasted on
  Linux needs. Those codes read as their own characters, never as stand-ins.
"""

import argparse
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile

ICU_VERSION = 72
ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
TABLE_PATH = os.path.join(ROOT, "cp932", "cp932_tables.cpp")
README_PATH = os.path.join(ROOT, "cp932", "README.md")

TRAIL_FIRST, TRAIL_LAST = 0x40, 0xFC
UNMAPPED_BYTE_BASE = 0xF700
DUPLICATE_BASE = 0xF000
ROOT_SIGN, ROOT_SIGN_CODE = 0x221A, 0x8795
ENCODE_BLOCK_BITS = 6


class Icu:
    def __init__(self):
        lib = ctypes.CDLL(ctypes.util.find_library("icuuc") or f"libicuuc.so.{ICU_VERSION}")

        def fn(name, restype, *argtypes):
            f = getattr(lib, f"{name}_{ICU_VERSION}")
            f.restype, f.argtypes = restype, list(argtypes)
            return f

        err_p = ctypes.POINTER(ctypes.c_int)
        vp = ctypes.c_void_p
        open_ = fn("ucnv_open", vp, ctypes.c_char_p, err_p)
        set_to_u = fn("ucnv_setToUCallBack", None, vp, vp, vp, vp, vp, err_p)
        set_from_u = fn("ucnv_setFromUCallBack", None, vp, vp, vp, vp, vp, err_p)
        self._to_u = fn("ucnv_toUChars", ctypes.c_int32, vp, vp, ctypes.c_int32,
                        ctypes.c_char_p, ctypes.c_int32, err_p)
        self._from_u = fn("ucnv_fromUChars", ctypes.c_int32, vp, ctypes.c_char_p,
                          ctypes.c_int32, vp, ctypes.c_int32, err_p)
        err = ctypes.c_int(0)
        self._cnv = open_(b"windows-31j", ctypes.byref(err))
        stop_to_u = ctypes.cast(getattr(lib, f"UCNV_TO_U_CALLBACK_STOP_{ICU_VERSION}"), vp)
        stop_from_u = ctypes.cast(getattr(lib, f"UCNV_FROM_U_CALLBACK_STOP_{ICU_VERSION}"), vp)
        set_to_u(self._cnv, stop_to_u, None, None, None, ctypes.byref(err))
        set_from_u(self._cnv, stop_from_u, None, None, None, ctypes.byref(err))
        if err.value > 0:
            sys.exit(f"cannot open ICU's windows-31j converter (error {err.value})")
        self._units = (ctypes.c_uint16 * 8)()
        self._bytes = ctypes.create_string_buffer(8)

    def decode(self, data):
        """The single UTF-16 unit ICU reads data as, or None."""
        err = ctypes.c_int(0)
        n = self._to_u(self._cnv, self._units, 8, data, len(data), ctypes.byref(err))
        return self._units[0] if err.value <= 0 and n == 1 else None

    def encode(self, unit):
        """The bytes ICU writes one UTF-16 unit as (no fallbacks), or None."""
        err = ctypes.c_int(0)
        src = (ctypes.c_uint16 * 1)(unit)
        n = self._from_u(self._cnv, self._bytes, 8, src, 1, ctypes.byref(err))
        return self._bytes.raw[:n] if err.value <= 0 and n > 0 else None


def trail_bytes():
    return [t for t in range(TRAIL_FIRST, TRAIL_LAST + 1) if t != 0x7F]


def build_decode(icu):
    single = {}
    for b in range(256):
        unit = b if b < 0x80 else icu.decode(bytes([b]))
        if unit is not None:
            single[b] = unit
    pairs = {}
    for lead in range(0x81, 0x100):
        if lead in single:
            continue
        for trail in trail_bytes():
            unit = icu.decode(bytes([lead, trail]))
            if unit is not None:
                pairs[(lead, trail)] = unit
    return single, pairs


def build_encode(icu, single, pairs):
    sources = {}
    for b, unit in single.items():
        sources.setdefault(unit, []).append(b)
    for (lead, trail), unit in pairs.items():
        sources.setdefault(unit, []).append(lead << 8 | trail)
    encode = {}
    for unit, codes in sources.items():
        if unit == ROOT_SIGN:
            choice = ROOT_SIGN_CODE
        elif len(codes) == 1:
            choice = codes[0]
        else:
            written = icu.encode(unit)
            choice = int.from_bytes(written, "big") if written else None
        if choice not in codes:
            sys.exit(f"no unique code for U+{unit:04X}: {codes}")
        encode[unit] = choice
    return encode


def add_unmapped_bytes(single, pairs, encode):
    leads = {lead for lead, _ in pairs}
    for b in range(256):
        if b in single:
            continue
        unit = UNMAPPED_BYTE_BASE + b
        if unit in encode:
            sys.exit(f"U+{unit:04X} is already a character of the table")
        single[b] = unit
        encode[unit] = b
    return leads


def give_duplicates_own_characters(pairs, encode):
    """Each code that its character does not write as reads as a private-use
    character of its own. Returns the duplicated character of each, in order."""
    duplicates = sorted(code for code, unit in
                        ((lead << 8 | trail, unit) for (lead, trail), unit in pairs.items())
                        if encode[unit] != code)
    duplicated = []
    for i, code in enumerate(duplicates):
        own = DUPLICATE_BASE + i
        if own in encode or UNMAPPED_BYTE_BASE <= own < UNMAPPED_BYTE_BASE + 0x100:
            sys.exit(f"U+{own:04X} is already a character of the table")
        duplicated.append(pairs[(code >> 8, code & 0xFF)])
        pairs[(code >> 8, code & 0xFF)] = own
        encode[own] = code
    return duplicates, duplicated


def glibc_stand_ins(encode):
    """The characters outside the table that glibc's CP932 converter writes
    anyway, as the code of a character that looks the same."""
    units = [u for u in range(0x80, 0x10000) if not 0xD800 <= u <= 0xDFFF]
    text = "\n".join(chr(u) for u in units).encode("utf-8")
    # -c leaves out what glibc cannot write, so such a line comes out empty.
    written = subprocess.run(["iconv", "-c", "-f", "UTF-8", "-t", "CP932"], input=text,
                             capture_output=True, check=False).stdout.split(b"\n")
    if len(written) != len(units):
        sys.exit("iconv's CP932 output does not line up with its input")
    stand_ins = {}
    for unit, code in zip(units, written):
        if code and unit not in encode:
            stand_ins[unit] = int.from_bytes(code, "big")
    return stand_ins


def check_fixed_ranges(single, pairs):
    uda = [(lead, t) for lead in range(0xF0, 0xFA) for t in trail_bytes()]
    if [pairs.get(code) for code in uda] != list(range(0xE000, 0xE000 + len(uda))):
        sys.exit("the user-defined area is not U+E000 onwards")
    if [single.get(b) for b in range(0xA1, 0xE0)] != list(range(0xFF61, 0xFFA0)):
        sys.exit("half-width katakana are not U+FF61-U+FF9F")
    if pairs[(0x87, 0x95)] != ROOT_SIGN or pairs[(0x81, 0xE3)] != ROOT_SIGN:
        sys.exit("8795 and 81E3 are not both the root sign")


def c_array(values, label, per_line=8):
    """Array initialiser lines, each ending in a comment naming its first entry."""
    lines = []
    for i in range(0, len(values), per_line):
        items = ", ".join(f"0x{v:04X}" for v in values[i:i + per_line])
        lines.append(f"    {items},  // {label(i)}")
    return "\n".join(lines)


def hex_label(i):
    return f"{i:04X}"


def write_tables(path, single, pairs, leads, encode, duplicated):
    lead_list = sorted(leads)
    row_of = {lead: i + 1 for i, lead in enumerate(lead_list)}
    trail_count = TRAIL_LAST - TRAIL_FIRST + 1
    double = [0] * (trail_count * len(lead_list))
    for (lead, trail), unit in pairs.items():
        double[(row_of[lead] - 1) * trail_count + trail - TRAIL_FIRST] = unit

    block_size = 1 << ENCODE_BLOCK_BITS
    blocks = [[0] * block_size]
    block_index = []
    for high in range(0x10000 >> ENCODE_BLOCK_BITS):
        block = [encode.get((high << ENCODE_BLOCK_BITS) + low, 0) for low in range(block_size)]
        if block in blocks:
            block_index.append(blocks.index(block))
        else:
            block_index.append(len(blocks))
            blocks.append(block)
    if len(blocks) > 0xFFFF:
        sys.exit("too many encode blocks")

    def pair_label(i):
        return f"{lead_list[i // trail_count]:02X}{TRAIL_FIRST + i % trail_count:02X}"

    def unit_label(i):
        return f"U+{i << ENCODE_BLOCK_BITS:04X}"

    def block_label(i):
        return f"block {i >> ENCODE_BLOCK_BITS} + {i & (block_size - 1)}"

    text = f"""// Generated by tools/generate_cp932_table.py from ICU {ICU_VERSION} (windows-31j) and glibc's CP932; do not edit.

#include "cp932/cp932_tables.h"

namespace vesk::cp932::tables {{

const char16_t kSingleByte[256] = {{
{c_array([single[b] for b in range(256)], hex_label)}
}};

const std::uint8_t kLeadRow[256] = {{
{c_array([row_of.get(b, 0) for b in range(256)], hex_label)}
}};

const char16_t kDoubleByte[{len(lead_list)} * kTrailCount] = {{
{c_array(double, pair_label, per_line=9)}
}};

const std::uint16_t kEncodeBlockIndex[0x10000 >> kEncodeBlockBits] = {{
{c_array(block_index, unit_label)}
}};

const std::uint16_t kEncodeBlocks[{len(blocks)} << kEncodeBlockBits] = {{
{c_array([v for block in blocks for v in block], block_label)}
}};

const char16_t kDuplicateCharacter[kDuplicateCount] = {{
{c_array(duplicated, lambda i: f"U+{DUPLICATE_BASE + i:04X}")}
}};

}}  // namespace vesk::cp932::tables
"""
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
    # clang-format finds the project's .clang-format from the path given.
    formatted = subprocess.run(["clang-format", f"--assume-filename={TABLE_PATH}"],
                               stdin=open(path, "rb"), capture_output=True, check=True).stdout
    with open(path, "wb") as out:
        out.write(formatted)
    size = 2 * 256 + 256 + 2 * len(double) + 2 * len(block_index) + 2 * block_size * len(blocks)
    print(f"{path}: {len(lead_list)} lead bytes, {len(blocks)} encode blocks, "
          f"{size} bytes of tables")


def code_runs(codes, target_of):
    """Groups codes whose targets step along with them into (first, last, first target)."""
    order = [(lead << 8 | t) for lead in range(0x81, 0x100) for t in trail_bytes()]
    position = {code: i for i, code in enumerate(order)}
    runs = []
    for code in sorted(codes):
        target = target_of[code]
        if runs:
            first, last, first_target = runs[-1]
            if (position[code] == position[last] + 1 and target in position
                    and position[target] == position[target_of[last]] + 1):
                runs[-1] = (first, code, first_target)
                continue
        runs.append((code, code, target))
    return runs


def write_readme(path, duplicates, duplicated, encode, stand_ins, single, pairs):
    def reads_as(code):
        return single[code] if code < 0x100 else pairs[(code >> 8, code & 0xFF)]

    first_code = {code: encode[duplicated[i]] for i, code in enumerate(duplicates)}
    own = {code: DUPLICATE_BASE + i for i, code in enumerate(duplicates)}
    rows = []
    for first, last, target in code_runs(first_code, first_code):
        span = f"{first:04X}" if first == last else f"{first:04X}-{last:04X}"
        back = f"{target:04X}" if first == last else f"{target:04X}-{first_code[last]:04X}"
        private = f"U+{own[first]:04X}" if first == last else f"U+{own[first]:04X}-U+{own[last]:04X}"
        char = chr(duplicated[duplicates.index(first)])
        rows.append(f"| {span} | {private} | {back} | {char} |")
    stand_in_rows = [f"| U+{unit:04X} {chr(unit)} | {code:02X} | {chr(reads_as(code))} |"
                     for unit, code in sorted(stand_ins.items())]
    text = f"""# Code page 932 codec

`vesk::cp932::decode` and `vesk::cp932::encode` convert between code page 932
bytes and UTF-16 for the panes, the clipboard and `vesktext-convert --utf-8`.
The tables in `cp932_tables.cpp` are generated by
`tools/generate_cp932_table.py` from ICU's `windows-31j` converter and glibc's
`CP932` converter.

- The user-defined area F040-F9FC reads as U+E000-U+E757, half-width katakana
  A1-DF as U+FF61-U+FF9F, and 0x00-0x7F as U+0000-U+007F (ICU's table swaps
  0x1A, 0x1C and 0x7F; Windows does not).
- A byte that begins no character (0x80, 0xA0, 0xFD-0xFF, a lead byte without
  a valid trail byte, a lead byte at the end) reads as U+F700 + byte and writes
  back as that byte; decoding goes on with the next byte.
- Every code reads back as itself, so every byte string survives a trip
  through the codec byte for byte, even where code page 932 holds a character
  twice: the {len(duplicates)} codes below are each the second code of such a
  character and read as a private-use character of their own, which a pane
  shows as the character. Unicode text for other programs (the clipboard's
  text, `--utf-8` output) carries the character itself instead, which comes
  back as its first code. The root sign writes as 8795, the code the local
  code tables use, so 81E3 is its second code.
- Stand-ins: the characters below are not in code page 932, but Linux programs
  and input methods produce them where Windows text has the code shown
  (glibc's `CP932` converter writes them so). They write as that code, which
  reads back as its own character: a pane shows the stand-in's replacement as
  soon as it is typed or pasted.
- Any other character that code page 932 cannot hold, a character outside the
  BMP and a lone surrogate have no code: a pane shows `?` for it, and
  `vesktext-convert --utf-8` stops with a message (or writes `?` with
  `--replace`).
- Line breaks are left alone.

| code | reads as | the character's first code | character |
|---|---|---|---|
{chr(10).join(rows)}

| stand-in | writes as | which reads as |
|---|---|---|
{chr(10).join(stand_in_rows)}
"""
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)
    print(f"{path}: {len(duplicates)} duplicate codes, {len(stand_ins)} stand-ins")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the checked-in files instead of writing them")
    check = parser.parse_args().check
    folder = tempfile.mkdtemp() if check else None
    table_path = os.path.join(folder, "tables.cpp") if check else TABLE_PATH
    readme_path = os.path.join(folder, "README.md") if check else README_PATH
    icu = Icu()
    single, pairs = build_decode(icu)
    check_fixed_ranges(single, pairs)
    encode = build_encode(icu, single, pairs)
    duplicates, duplicated = give_duplicates_own_characters(pairs, encode)
    stand_ins = glibc_stand_ins(encode)
    leads = add_unmapped_bytes(single, pairs, encode)
    write_readme(readme_path, duplicates, duplicated, encode, stand_ins, single, pairs)
    encode.update(stand_ins)
    write_tables(table_path, single, pairs, leads, encode, duplicated)
    if check:
        stale = [checked_in for made, checked_in in
                 ((table_path, TABLE_PATH), (readme_path, README_PATH))
                 if open(made, "rb").read() != open(checked_in, "rb").read()]
        shutil.rmtree(folder)
        if stale:
            sys.exit("out of date, run tools/generate_cp932_table.py: " + ", ".join(stale))


if __name__ == "__main__":
    main()
