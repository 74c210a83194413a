#!/usr/bin/env bash
# Times `vesktext-convert --to-standard` against `nkf -S -s -X` on one
# generated 50 MB local-code file, in the same run: a few alternating
# repetitions, best time of each, and the ratio.
#
# Usage: bench/compare_nkf.sh [path/to/vesktext-convert]   (default: build/cli/vesktext-convert)
# Environment: SIZE_MB (50), REPETITIONS (5), WORK_DIR (a fresh temporary directory).
set -euo pipefail
cd "$(dirname "$0")/.."

converter="${1:-build/cli/vesktext-convert}"
size_mb="${SIZE_MB:-50}"
repetitions="${REPETITIONS:-5}"
[ -x "$converter" ] || { echo "no converter at $converter: build it first" >&2; exit 1; }
command -v nkf >/dev/null || { echo "nkf is not installed" >&2; exit 1; }

work="${WORK_DIR:-$(mktemp -d)}"
[ -n "${WORK_DIR:-}" ] || trap 'rm -rf "$work"' EXIT
input="$work/mixed-local.txt"

# Mixed local text: ASCII, half-width kana with and without marks, local
# two-byte codes (hiragana, symbols), kanji, full-width text and CR LF.
python3 - "$input" "$size_mb" <<'PY'
import random, sys
path, size = sys.argv[1], int(sys.argv[2]) << 20
rng = random.Random(932)
pieces = [b"The quick brown fox ", b"jumps over 13 lazy dogs. ", b"\r\n",
          b"\xb6\xde\xb2\xc4\xde", b"\xca\xdf\xb0\xc3\xa8", b"\xb1\xb2\xb3\xb4\xb5", b"\xdd",
          b"\xf5\x41\xf5\x42\xf6\x50", b"\xf0\x56\xf1\x59\xf3\x4c", b"\xf8\x60\xf8\x66",
          b"\x93\xfa\x96\x7b\x8c\xea", b"\x88\xa4\x8a\xbf\x8e\x9a", b"\x81\x41\x81\x42"]
weights = [6, 6, 3, 3, 2, 2, 1, 3, 1, 1, 3, 2, 1]
with open(path, "wb") as out:
    written = 0
    while written < size:
        block = b"".join(rng.choices(pieces, weights, k=4096))
        out.write(block[: size - written])
        written += min(len(block), size - written)
PY

# nkf is not expected to give the same bytes: the local two-byte codes and
# the mark rules are Vesktext's own.
if cmp -s <("$converter" --to-standard <"$input") <(nkf -S -s -X <"$input"); then
  echo "outputs: identical"
else
  echo "outputs: differ (nkf knows nothing of the local two-byte codes)"
fi

python3 bench/alternating_runs.py "$input" "$repetitions" "mixed local text" "target: at least 20x" \
  -- "vesktext-convert --to-standard" "$converter" --to-standard \
  -- "nkf -S -s -X" nkf -S -s -X

if [ -x /usr/bin/time ]; then
  echo "vesktext-convert peak memory: $(/usr/bin/time -f %M "$converter" --to-standard <"$input" 2>&1 >/dev/null) KiB"
fi
