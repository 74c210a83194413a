#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the format
# check, the Windows cross build (build-windows/), the normal build with
# warnings as errors (build/), whose program tests run the Windows build
# under wine too, and the sanitizer build with its bounded fuzz runs
# (build-asan/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs="$(nproc)"

scripts/check-format.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$jobs"

cmake --preset ci -DVESKTEXT_WINDOWS_CONVERT="$PWD/build-windows/cli/vesktext-convert.exe" >/dev/null
cmake --build --preset ci -j"$jobs"
ctest --preset ci -j"$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
