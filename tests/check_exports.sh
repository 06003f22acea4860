#!/usr/bin/env bash
# Compares the dynamic symbols that liblexora2.so defines with the list of
# exports in the version script.
set -euo pipefail
library=$1
map=$2
expected=$(sed -n '/global:/,/local:/p' "$map" | grep -oE '^[[:space:]]+[A-Za-z_]+;' | tr -d ' ;' | sort)
actual=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "exported symbols differ (< expected, > actual):"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "exports: $(echo "$actual" | wc -l) symbols, as expected"
