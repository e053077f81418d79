#!/usr/bin/env bash
# Installs the Debian 12 packages that building, playing and testing Kestrune need.
# Usage: install-deps.sh play|test|fuzz   (runs apt-get through sudo when not root)
set -euo pipefail

play_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  fonts-ipafont-gothic
)
test_packages=(
  "${play_packages[@]}"
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils
  # The install tests: the package's menu entry, metadata and lintian's verdict.
  desktop-file-utils appstream lintian
)
# The fuzzers: clang's libFuzzer and sanitizer run-times; no Qt.
fuzz_packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
)

case "${1:-}" in
  play) wanted=("${play_packages[@]}") ;;
  test) wanted=("${test_packages[@]}") ;;
  fuzz) wanted=("${fuzz_packages[@]}") ;;
  *) echo "usage: $0 play|test|fuzz" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
