#!/usr/bin/env bash
# Lays the built game out twice, as the install tests look at it: the Debian
# package, built by CPack and unpacked as a player's machine would hold it,
# and a plain `cmake --install` under a prefix of its own.
# Usage: make-package.sh <cmake> <cpack> <build dir> <out dir>
#   <out dir>/deb/kestrune_*.deb   the package
#   <out dir>/root/usr/...         its files
#   <out dir>/prefix/...           the plain install
set -euo pipefail
cmake=$1 cpack=$2 build=$3 out=$4

rm -rf "$out"
mkdir -p "$out"
run() {  # quiet unless it fails
  local log=$1; shift
  if ! "$@" >"$out/$log" 2>&1; then
    cat "$out/$log" >&2
    echo "make-package: failed: $*" >&2
    exit 1
  fi
}
run cpack.log "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$out/deb"
shopt -s nullglob
debs=("$out"/deb/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  echo "make-package: expected one .deb in $out/deb, found ${#debs[@]}" >&2
  exit 1
fi
dpkg-deb -x "${debs[0]}" "$out/root"
run install.log "$cmake" --install "$build" --prefix "$out/prefix"
echo "package: ${debs[0]}"
