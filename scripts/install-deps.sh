#!/usr/bin/env bash
# Installs the Debian packages Vesktext needs: "run" for building and running
# the program, "test" for building and running every test and benchmark.
# Packages already present are not fetched again.
set -euo pipefail

run_packages=(
  cmake g++ make pkg-config python3
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxcb1-dev
  libgtest-dev libbenchmark-dev
  fonts-ipafont-gothic fonts-vlgothic fonts-liberation
)
test_packages=(
  "${run_packages[@]}"
  clang libclang-rt-14-dev libfuzzer-14-dev clang-format
  libicu-dev icu-devtools
  xvfb xauth xdotool xclip x11-utils imagemagick nkf python3 python3-fonttools
  appstream desktop-file-utils bash-completion man-db
  g++-mingw-w64-x86-64 wine wine64 g++-aarch64-linux-gnu qemu-user
  openbox at-spi2-core dbus-daemon python3-pyatspi ninja-build
)

case "${1:-run}" in
  run) wanted=("${run_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
