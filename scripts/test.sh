#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the format
# check, the Windows cross build (build-windows/), the normal build with
# warnings as errors (build/), whose program tests run the Windows build
# under wine too, the engine and its tests cross-built for 64-bit ARM and
# run under qemu (build-arm64/), and the sanitizer build with its bounded
# fuzz runs (build-asan/).
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

# GoogleTest for ARM from Debian's sources, then the engine's tests alone:
# the rest of the program is built and tested above.
cmake -S /usr/src/googletest -B build-arm64/googletest-build \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/aarch64-linux-gnu.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX="$PWD/build-arm64/googletest" -DBUILD_GMOCK=OFF >/dev/null
cmake --build build-arm64/googletest-build -j"$jobs" --target install >/dev/null
cmake --preset arm64 >/dev/null
cmake --build --preset arm64 -j"$jobs" --target vesktext_conversion_tests
qemu-aarch64 -L /usr/aarch64-linux-gnu build-arm64/conversion/vesktext_conversion_tests --gtest_brief=1

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"
