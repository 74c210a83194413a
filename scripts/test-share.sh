#!/usr/bin/env bash
# The share of test code: non-blank lines of the tracked C++, Python and shell
# files, tests against the rest, per top folder and in all.
# A file is a test when it lies under tests/, testing/ or fuzz/, or its name
# has _test. or test_ in it; a file whose first three lines say "generated" or
# "do not edit" is left out.
# Usage: scripts/test-share.sh [TREE]
set -euo pipefail
cd "${1:-.}"
git ls-files '*.cpp' '*.h' '*.py' '*.sh' | while read -r file; do
  [ -f "$file" ] || continue
  start=$(head -3 "$file")
  [[ ${start,,} =~ generated|do\ not\ edit ]] && continue
  kind=code
  [[ $file =~ (^|/)(tests|testing|fuzz)/|_test\.|test_ ]] && kind=test
  echo "${file%%/*} $kind $(grep -cv '^[[:space:]]*$' "$file" || true)"
done | awk '{ lines[$1 " " $2] += $3; all[$2] += $3; folders[$1] = 1 }
  END {
    for (f in folders) printf "%-12s test %6d  code %6d\n", f, lines[f " test"], lines[f " code"] | "sort"
    close("sort")
    printf "%-12s test %6d  code %6d  share %.3f\n", "all", all["test"], all["code"],
      all["test"] / (all["test"] + all["code"])
  }'
