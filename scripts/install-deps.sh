#!/usr/bin/env bash
# Installs from Debian what building and testing fwprobe needs, when missing.
# Usage: scripts/install-deps.sh [build|test]
set -euo pipefail
what=${1:-test}
packages=(cmake ninja-build g++ pkg-config libgtest-dev libcli11-dev nlohmann-json3-dev libbenchmark-dev)
if [ "$what" = test ]; then
  packages+=(clang libclang-rt-14-dev dmidecode qemu-system-x86 seabios)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
