#!/usr/bin/env bash
# Builds the fuzz preset and runs one fuzzer on its corpus until it finds
# something or the options given stop it.
# Usage: tests/fuzz/run.sh layout|picture [libFuzzer options, e.g. -runs=10000000]
set -euo pipefail
cd "$(dirname "$0")/../.."
target="${1:-}"
case "$target" in
  layout) dict=(-dict=tests/fuzz/layout.dict) ;;
  picture) dict=() ;;
  *) echo "usage: $0 layout|picture [libFuzzer options]" >&2; exit 2 ;;
esac
shift
scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
dir=build/fuzz/tests/fuzz
# New inputs go to the corpus (kept between runs); a crash, hang or leak goes
# to findings/, to be added to tests/fuzz/regressions once fixed.
mkdir -p "$dir/corpus/$target" "$dir/findings/$target"
exec "$dir/${target}_fuzzer" "${dict[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$dir/findings/$target/" "$@" "$dir/corpus/$target" "$dir/seeds/$target"
