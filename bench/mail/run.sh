#!/usr/bin/env bash
# Scans the SpamAssassin public corpus with examples/rules/mail.lx, raw and
# with --mail: the ham and spam messages each statement fires on, the ham
# messages the card-number statement still fires on, throughput at 1 and 2
# threads with the mail reader's own share, and instruction counts (valgrind).
# Prints the tables and writes them to bench/mail/results.md.
#   bench/mail/run.sh [RUNS]      timing runs per figure, the median is kept (default 3)
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/setup.sh --deps
missing=()
command -v npm >/dev/null || missing+=(npm)
command -v valgrind >/dev/null || missing+=(valgrind)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
data=$(scripts/fetch_corpus.sh)
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target lexora lexora_mail_parse >/dev/null
python3 bench/mail/mail_corpus.py --lexora build/tools/lexora/lexora --parser build/bench/lexora_mail_parse \
  --rules examples/rules/mail.lx \
  --data "$data" --runs "${1:-3}" --results bench/mail/results.md
