#!/usr/bin/env bash
# Installs what the build needs (Debian packages only, when missing), builds
# Lexora, and runs it on the shipped examples.
#   scripts/setup.sh            install, build, run the examples
#   scripts/setup.sh --deps     install only
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ libicu-dev libboost-dev libboost-regex-dev libgtest-dev
          libgmock-dev libbenchmark-dev libxml2-dev zlib1g-dev tmux pkg-config libdw-dev
          dpkg-dev pybind11-dev python3-dev python3-pytest python3-dask python3-distributed libgmime-3.0-dev
          libmimalloc-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
[ "${1:-}" = "--deps" ] && exit 0

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
scripts/examples.sh
