#!/usr/bin/env bash
# Compares the dynamic symbols that liblexora2.so defines with the entry
# points a host may use, written out here rather than read from the version
# script that produced the library.
set -euo pipefail
library=${1:?usage: check_exports.sh LIBRARY}
expected=$(sort <<'NAMES'
CreateFileStream
CreateFileStreamU
CreateFileStreamWithEncoding
CreateFileStreamWithEncodingU
CreateLXDebugger
CreateLXScript
CreateStringCopyStream
CreateStringStream
GetLXAPIVersion
LXCleanUp
LXConvertLine
LXEnableStats
LXGetVersionInfo
LXInitialize
LXSetStatsNote
LXWriteStats
NAMES
)
actual=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "exported symbols differ (< expected, > actual):"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "exports: $(echo "$actual" | wc -l) symbols, as expected"
