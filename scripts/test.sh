#!/usr/bin/env bash
# Builds everything and runs every test: formatting, the release build
# (warnings as errors), the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the 32-bit Windows build under Wine, and both
# fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
jobs=$(nproc)

echo "== format"
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror

for preset in dev sanitize; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

echo "== windows"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
tests/windows/run.sh build/mingw build/dev

echo "== fuzz"
fuzz/run.sh 25
