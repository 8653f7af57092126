#!/usr/bin/env bash
# Runs the benchmark suite and prints one table: time per call of every
# export, its ratio to the baseline on the same table (scan for the anchor,
# copy the table, one bare walk; for VPD exports, the signature scan and one
# read of the block), and for the end-to-end rows through pmemw, the ratio to
# the same export through the in-memory service double.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target bench_double bench_pmemw >/dev/null
out=build/dev/bench
args=(--benchmark_min_time=0.2 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
      --benchmark_format=json)
"$out/bench_double" "${args[@]}" >"$out/double.json"
"$out/bench_pmemw" "${args[@]}" >"$out/pmemw.json"
python3 - "$out/double.json" "$out/pmemw.json" <<'PY'
import json, sys
rows = {}
for path in sys.argv[1:]:
    for b in json.load(open(path))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            rows[(path, b["run_name"])] = b["real_time"]  # ns
def base(path, scene, vpd):
    return rows[(path, "baseline/%s/%s" % (scene, "vpd" if vpd else "table"))]
vpd_exports = {"VPDLoadData", "VPDGetSystem", "VPDGetMotherboard"}
print("%-44s %12s %10s %10s" % ("row", "ns/call", "x baseline", "x double"))
worst = {}
for (path, name), ns in rows.items():
    kind, scene, export = name.split("/")
    if kind == "baseline":
        print("%-44s %12.0f" % (name, ns))
        continue
    ratio = ns / base(path, scene, export in vpd_exports)
    line = "%-44s %12.0f %10.2f" % (name, ns, ratio)
    worst[kind + "/" + scene] = max(worst.get(kind + "/" + scene, 0), ratio)
    if kind == "pmemw":
        same = rows[(sys.argv[1], "double/%s/%s" % (scene, export))]
        line += " %10.2f" % (ns / same)
        worst["pmemw vs double"] = max(worst.get("pmemw vs double", 0), ns / same)
    print(line)
print()
for k, v in worst.items():
    print("highest ratio %-28s %.2f  %s" % (k, v, "ok (within 2x)" if v <= 2 else "OVER 2x"))
PY
