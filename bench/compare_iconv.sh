#!/usr/bin/env bash
# Times the whole `vesktext-convert --utf-8` path, both directions, against
# `iconv -f UTF-8 -t CP932` (glibc) on one generated 50 MB file of UTF-8
# Japanese text, each naming the file (iconv maps a named file, and is
# fastest so): alternating repetitions, the ratios from the best times and
# round by round.
#
# Usage: bench/compare_iconv.sh [path/to/vesktext-convert]   (default: build/cli/vesktext-convert)
# Environment: SIZE_MB (50), REPETITIONS (9), WORK_DIR (a fresh temporary directory).
set -euo pipefail
cd "$(dirname "$0")/.."

converter="${1:-build/cli/vesktext-convert}"
size_mb="${SIZE_MB:-50}"
repetitions="${REPETITIONS:-9}"
[ -x "$converter" ] || { echo "no converter at $converter: build it first" >&2; exit 1; }
command -v iconv >/dev/null || { echo "iconv is not installed" >&2; exit 1; }

work="${WORK_DIR:-$(mktemp -d)}"
[ -n "${WORK_DIR:-}" ] || trap 'rm -rf "$work"' EXIT
input="$work/japanese.txt"

# Japanese text as people write it, the pieces of bench/utf8_stages_bench.cpp:
# kana, kanji, punctuation, half-width katakana, ASCII words, symbols, CR LF.
python3 - "$input" "$size_mb" <<'PY'
import random, sys
path, size = sys.argv[1], int(sys.argv[2]) << 20
rng = random.Random(932)
pieces = [p.encode() for p in ["ガイド", "あいうえお", "日本語の文章", "ｶﾞｲﾄﾞ", "、。", "「テスト」",
                               "abc def ", "\r\n", "漢字", "√", "〜"]]
with open(path, "wb") as out:
    written = 0
    while written < size:
        block = b"".join(rng.choices(pieces, k=4096))
        out.write(block)
        written += len(block)
PY

python3 bench/alternating_runs.py "$input" "$repetitions" "UTF-8 Japanese text" \
  "target: at least 2x" \
  -- "vesktext-convert --to-local --utf-8" "$converter" --to-local --utf-8 "{input}" \
  -- "vesktext-convert --to-standard --utf-8" "$converter" --to-standard --utf-8 "{input}" \
  -- "iconv -f UTF-8 -t CP932" iconv -f UTF-8 -t CP932 "{input}"
