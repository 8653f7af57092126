#!/usr/bin/env bash
# Builds the library, the service and the fwprobe tool, then runs the tool on
# the sample firmware image (or on the arguments given, e.g. --from-dump F).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)" --target fwprobe_cli >/dev/null
if [ $# -eq 0 ]; then set -- --dev-mem samples/zaq-server.img; fi
exec build/dev/cli/fwprobe "$@"
