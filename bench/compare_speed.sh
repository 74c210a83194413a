#!/usr/bin/env bash
# Times vesktext-convert against the tools people use instead, on generated
# 50 MB files, in alternating runs (bench/alternating_runs.py):
#   nkf    `--to-standard` against `nkf -S -s -X` on mixed local text;
#   iconv  the whole `--utf-8` path, both directions, against
#          `iconv -f UTF-8 -t CP932` (glibc) on UTF-8 Japanese text, each
#          naming the file (iconv maps a named file, and is fastest so).
#
# Usage: bench/compare_speed.sh [path/to/vesktext-convert]   (default: build/cli/vesktext-convert)
# Environment: COMPARE (the comparisons to run: "nkf iconv"), SIZE_MB (50),
# REPETITIONS (5 for nkf, 9 for iconv), WORK_DIR (a fresh temporary directory).
set -euo pipefail
cd "$(dirname "$0")/.."

converter="${1:-build/cli/vesktext-convert}"
size_mb="${SIZE_MB:-50}"
[ -x "$converter" ] || { echo "no converter at $converter: build it first" >&2; exit 1; }
work="${WORK_DIR:-$(mktemp -d)}"
[ -n "${WORK_DIR:-}" ] || trap 'rm -rf "$work"' EXIT

# Writes whole pieces, drawn at random with a fixed seed, until the file
# holds at least size_mb MiB: the mixed local text, or the Japanese text of
# bench/utf8_stages_bench.cpp.
write_text() {
  python3 - "$1" "$2" "$size_mb" <<'PY'
import random, sys
path, kind, size = sys.argv[1], sys.argv[2], int(sys.argv[3]) << 20
if kind == "local":
    # ASCII, half-width kana with and without marks, local two-byte codes
    # (hiragana, symbols), kanji, full-width text and CR LF.
    pieces = [b"The quick brown fox ", b"jumps over 13 lazy dogs. ", b"\r\n",
              b"\xb6\xde\xb2\xc4\xde", b"\xca\xdf\xb0\xc3\xa8", b"\xb1\xb2\xb3\xb4\xb5", b"\xdd",
              b"\xf5\x41\xf5\x42\xf6\x50", b"\xf0\x56\xf1\x59\xf3\x4c", b"\xf8\x60\xf8\x66",
              b"\x93\xfa\x96\x7b\x8c\xea", b"\x88\xa4\x8a\xbf\x8e\x9a", b"\x81\x41\x81\x42"]
    weights = [6, 6, 3, 3, 2, 2, 1, 3, 1, 1, 3, 2, 1]
else:
    # Kana, kanji, punctuation, half-width katakana, ASCII words, symbols, CR LF.
    pieces = [p.encode() for p in ["ガイド", "あいうえお", "日本語の文章", "ｶﾞｲﾄﾞ", "、。", "「テスト」",
                                   "abc def ", "\r\n", "漢字", "√", "〜"]]
    weights = None
rng = random.Random(932)
with open(path, "wb") as out:
    written = 0
    while written < size:
        block = b"".join(rng.choices(pieces, weights, k=4096))
        out.write(block)
        written += len(block)
PY
}

# compare YARDSTICK KIND DESCRIPTION TARGET REPETITIONS -- NAME ARGV... [-- NAME ARGV...]
compare() {
  local yardstick="$1" kind="$2" description="$3" target="$4" repetitions="$5"
  shift 5
  command -v "$yardstick" >/dev/null || { echo "$yardstick is not installed" >&2; exit 1; }
  input="$work/$kind.txt"
  write_text "$input" "$kind"
  python3 bench/alternating_runs.py "$input" "${REPETITIONS:-$repetitions}" "$description" \
    "$target" "$@"
}

for comparison in ${COMPARE:-nkf iconv}; do
  case "$comparison" in
    nkf)
      # nkf is not expected to give the same bytes: the local two-byte codes
      # and the mark rules are Vesktext's own.
      compare nkf local "mixed local text" "target: at least 20x" 5 \
        -- "vesktext-convert --to-standard" "$converter" --to-standard \
        -- "nkf -S -s -X" nkf -S -s -X
      if [ -x /usr/bin/time ]; then
        echo "vesktext-convert peak memory:" \
          "$(/usr/bin/time -f %M "$converter" --to-standard <"$input" 2>&1 >/dev/null) KiB"
      fi
      ;;
    iconv)
      compare iconv japanese "UTF-8 Japanese text" "target: at least 2x" 9 \
        -- "vesktext-convert --to-local --utf-8" "$converter" --to-local --utf-8 "{input}" \
        -- "vesktext-convert --to-standard --utf-8" "$converter" --to-standard --utf-8 "{input}" \
        -- "iconv -f UTF-8 -t CP932" iconv -f UTF-8 -t CP932 "{input}"
      ;;
    *) echo "no comparison named $comparison (nkf, iconv)" >&2; exit 2 ;;
  esac
done
