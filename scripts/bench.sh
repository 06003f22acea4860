#!/usr/bin/env bash
# Builds and runs the benchmarks (the optimised build of scripts/setup.sh). Installs the word list
# they draw scripts from when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --deps
if ! dpkg-query -W -f='${Status}' wamerican 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq wamerican
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target lexora_bench
build/bench/lexora_bench "$@"
