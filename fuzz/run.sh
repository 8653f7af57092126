#!/usr/bin/env bash
# Runs both fuzz targets for SECONDS each (default 30), from the seed corpus
# (fixtures and sample images) and the dictionary. A long campaign:
#   fuzz/run.sh 3600
# Findings are written to build/fuzz/findings/; each becomes a regression case
# in the unit tests.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" >/dev/null
out=build/fuzz
mkdir -p "$out/seeds/exports" "$out/seeds/navigation" "$out/corpus/exports" "$out/corpus/navigation" "$out/findings"
"$out/fuzz/make_seeds" "$out/seeds/exports" "$out/seeds/navigation" samples/*.img
for target in exports navigation; do
  echo "== ${target}_fuzz for ${seconds}s"
  "$out/fuzz/${target}_fuzz" -max_total_time="$seconds" -dict=fuzz/fwprobe.dict -print_final_stats=1 \
    -max_len=70000 -artifact_prefix="$out/findings/${target}-" -timeout=10 -rss_limit_mb=2048 \
    "$out/corpus/$target" "$out/seeds/$target" 2>&1 | grep -E '^(#[0-9]+.*(DONE|pulse)|stat::|==|SUMMARY|INFO: Seed)' || true
  # grep's filter must not hide a finding: a crash leaves an artifact.
  if ls "$out/findings/${target}-"* >/dev/null 2>&1; then
    echo "${target}_fuzz found a failing input:" "$out/findings/${target}-"*
    exit 1
  fi
done
