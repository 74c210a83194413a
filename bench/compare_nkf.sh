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

# Alternating runs; wall time and CPU time (user + system) of each child, so
# that a busy machine shows in the gap between the two.
python3 - "$input" "$repetitions" "$converter" <<'PY'
import os, subprocess, sys, time
path, repetitions, converter = sys.argv[1], int(sys.argv[2]), sys.argv[3]
commands = {"vesktext-convert --to-standard": [converter, "--to-standard"],
            "nkf -S -s -X": ["nkf", "-S", "-s", "-X"]}
runs = {name: [] for name in commands}
for _ in range(repetitions):
    for name, argv in commands.items():
        with open(path, "rb") as stdin, open(os.devnull, "wb") as stdout:
            start = time.perf_counter()
            child = subprocess.Popen(argv, stdin=stdin, stdout=stdout)
            _, status, usage = os.wait4(child.pid, 0)
            wall = time.perf_counter() - start
        if status != 0:
            sys.exit(f"{name} failed with status {status}")
        runs[name].append((wall, usage.ru_utime + usage.ru_stime))
print(f"input: {os.path.getsize(path)} bytes of mixed local text, "
      f"best of {repetitions} alternating runs")
best = {}
for name, results in runs.items():
    wall = min(r[0] for r in results)
    cpu = min(r[1] for r in results)
    best[name] = (wall, cpu)
    print(f"{name:32} wall {wall:7.3f} s   cpu {cpu:7.3f} s")
(vw, vc), (nw, nc) = best.values()
print(f"ratio nkf / vesktext-convert: wall {nw / vw:.1f}x, cpu {nc / max(vc, 1e-6):.1f}x "
      f"(target: at least 20x)")
PY

if [ -x /usr/bin/time ]; then
  echo "vesktext-convert peak memory: $(/usr/bin/time -f %M "$converter" --to-standard <"$input" 2>&1 >/dev/null) KiB"
fi
