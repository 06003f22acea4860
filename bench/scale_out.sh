#!/usr/bin/env bash
# Scans the SpamAssassin corpus four ways in one run (lexora scan -j 2; the
# Python module on 2 threads; Dask on a 2-process LocalCluster; two lexora scan
# processes fed by GNU parallel), and works out the Dask partition size and a
# 100-worker cluster's throughput from the measured costs.
#   bench/scale_out.sh [--runs N]     writes bench/SCALE_OUT.md
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --deps
command -v parallel >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq parallel
data=$(scripts/fetch_corpus.sh)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target lexora lexora_python
PYTHONPATH=build/python /usr/bin/python3 bench/scale_out.py --data "$data" \
  --lexora build/tools/lexora/lexora --script examples/rules/mail.lx --results bench/SCALE_OUT.md "$@"
