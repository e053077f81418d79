#!/usr/bin/env bash
# Installs what is missing, builds the game in release mode and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh play
cmake --preset release >/dev/null
cmake --build --preset release --target kestrune
exec build/release/app/kestrune "$@"
