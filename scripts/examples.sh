#!/usr/bin/env bash
# Runs the main job on the shipped examples with an already built tree.
set -euo pipefail
cd "$(dirname "$0")/.."
for f in examples/text/*; do
  echo "== $f"
  build/tools/lexora/lexora read "$f"
done
