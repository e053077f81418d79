#!/usr/bin/env bash
# Builds the soak driver in the release build and plays whole games with it,
# checking every frame. Options go to the driver:
#   scripts/soak.sh --games 100000            the long soak
#   scripts/soak.sh --seed 41 --games 2000    another stretch of seeds
#   scripts/soak.sh --replay 1234 --high-score 5600   one game, as a failure names it
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
cmake --preset release >/dev/null
cmake --build --preset release --target kestrune_soak
exec build/release/tests/soak/kestrune_soak "$@"
