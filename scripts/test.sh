#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the normal
# build with warnings as errors (build/), the format check, and the
# sanitizer build with its bounded fuzz runs (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs="$(nproc)"

scripts/check-format.sh

cmake --preset ci >/dev/null
cmake --build --preset ci -j"$jobs"
ctest --preset ci -j"$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
