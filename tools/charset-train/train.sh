#!/usr/bin/env bash
# Regenerates data/charset from real text: fetches the packages into a cache
# outside the repository, extracts plain text per language (keeping a
# held-out part for the evaluation) and builds the tables.
#   tools/charset-train/train.sh [CACHE]     (default ~/.cache/lexora-charset)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
cache="${1:-$HOME/.cache/lexora-charset}"
"$here/fetch.sh" "$cache"
python3 "$here/extract_text.py" "$cache"
mkdir -p "$cache/bin" "$repo/data/charset"
g++ -std=c++20 -O2 -Wall -Wextra -I "$repo" -o "$cache/bin/build_tables" "$here/build_tables.cpp" \
  $(pkg-config --cflags --libs icu-uc)
"$cache/bin/build_tables" "$cache/text/train" "$repo/data/charset"
