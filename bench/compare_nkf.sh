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

seconds() {  # wall seconds of "$@" reading the input, output thrown away
  local start end
  start=$(date +%s%N)
  "$@" <"$input" >/dev/null
  end=$(date +%s%N)
  awk -v ns="$((end - start))" 'BEGIN { printf "%.3f\n", ns / 1e9 }'
}

best() { printf '%s\n' "$@" | sort -g | head -n 1; }

# Both outputs must agree before their speed is worth comparing.
if ! cmp -s <("$converter" --to-standard <"$input") <(nkf -S -s -X <"$input"); then
  echo "note: the outputs differ (nkf's rules for marks and local codes are not Vesktext's)"
fi

vesk_times=()
nkf_times=()
for ((i = 1; i <= repetitions; i++)); do
  vesk_times+=("$(seconds "$converter" --to-standard)")
  nkf_times+=("$(seconds nkf -S -s -X)")
done
vesk=$(best "${vesk_times[@]}")
nkf=$(best "${nkf_times[@]}")

echo "input: $(stat -c %s "$input") bytes of mixed local text, best of $repetitions alternating runs"
echo "vesktext-convert --to-standard: ${vesk} s  (runs: ${vesk_times[*]})"
echo "nkf -S -s -X:                   ${nkf} s  (runs: ${nkf_times[*]})"
awk -v v="$vesk" -v n="$nkf" 'BEGIN { if (v > 0) printf "vesktext-convert is %.1f times as fast as nkf\n", n / v }'
if [ -x /usr/bin/time ]; then
  rss=$(/usr/bin/time -f %M "$converter" --to-standard <"$input" 2>&1 >/dev/null)
  echo "vesktext-convert peak memory: ${rss} KiB"
fi
