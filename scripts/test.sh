#!/usr/bin/env bash
# Builds everything and runs every test: the release build (warnings as
# errors), then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then both fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)
for preset in dev sanitize; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
echo "== fuzz"
fuzz/run.sh 25
