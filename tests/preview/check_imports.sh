#!/usr/bin/env bash
# Lists what lxpreview takes from liblexora2.so: exactly LXInitialize,
# LXCleanUp, LXConvertLine, CreateLXScript and CreateStringStream.
set -euo pipefail
program=$1
library=$2
exports=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
imports=$(nm -D --undefined-only "$program" | awk '{print $2}' | sort | comm -12 - <(echo "$exports"))
expected=$(printf '%s\n' CreateLXScript CreateStringStream LXCleanUp LXConvertLine LXInitialize)
if [ "$imports" != "$expected" ]; then
  echo "lxpreview imports from liblexora2 differ (< expected, > actual):"
  diff <(echo "$expected") <(echo "$imports") || true
  exit 1
fi
readelf -d "$program" | grep -q 'NEEDED.*liblexora2' || { echo "not linked at load time against liblexora2"; exit 1; }
echo "lxpreview imports: $(echo "$imports" | tr '\n' ' ')"
