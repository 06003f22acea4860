#!/usr/bin/env bash
# Measures the charset detector beside ICU's detector and uchardet on samples
# of held-out text, from a fresh clone: installs uchardet (bench only),
# fetches and extracts the texts, builds the engine and runs the comparison.
#   bench/charset/run.sh [SAMPLES_PER_CELL [NAMES_FILE]]     (default 60)
# NAMES_FILE: our detector's answer per sample, to compare two builds.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cache="${LEXORA_CHARSET_CACHE:-$HOME/.cache/lexora-charset}"

if ! dpkg-query -W -f='${Status}' libuchardet-dev 2>/dev/null | grep -q "install ok installed"; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq libuchardet-dev
fi
"$repo/scripts/setup.sh" --deps
"$repo/tools/charset-train/fetch.sh" "$cache"
python3 "$repo/tools/charset-train/extract_text.py" "$cache" >/dev/null

build="$repo/build"
[ -f "$build/build.ninja" ] || cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target lexora_engine >/dev/null
mkdir -p "$cache/bin"
g++ -std=c++20 -O2 -Wall -Wextra -I"$repo" -o "$cache/bin/evaluate" "$here/evaluate.cpp" \
  "$build/engine/liblexora_engine.a" $(pkg-config --cflags --libs icu-i18n icu-uc uchardet)
"$cache/bin/evaluate" "$cache/text/heldout" "${1:-60}" ${2:+"$2"}
