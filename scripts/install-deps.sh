#!/usr/bin/env bash
# Installs from Debian what building and testing fwprobe needs, when missing.
# Usage: scripts/install-deps.sh [build|test]
#   build: the Linux library, service, tool and benchmarks
#   test:  also clang for fuzzing, dmidecode, clang-format, the MinGW-w64
#          cross compiler and 32-bit Wine for the Windows build
set -euo pipefail
what=${1:-test}
packages=(cmake ninja-build g++ pkg-config libgtest-dev libcli11-dev nlohmann-json3-dev libbenchmark-dev python3)
if [ "$what" = test ]; then
  packages+=(clang libclang-rt-14-dev dmidecode clang-format g++-mingw-w64-i686 wine wine32:i386)
fi
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  # 32-bit Wine runs the 32-bit Windows programs.
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
