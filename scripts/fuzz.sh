#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS, all at once.
#   scripts/fuzz.sh SECONDS [TARGET...]
# Findings are written to build-fuzz/findings/TARGET/; the run fails when a
# target finds a crash, leak or hang.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
scripts/setup.sh --deps
if ! command -v clang++ >/dev/null; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq clang
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXORA_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(compile_fuzzer scan_fuzzer file_stream_fuzzer convert_fuzzer stream_differential_fuzzer word_methods_fuzzer
                                     mail_reader_fuzzer)
pids=()
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
  (cd "build-fuzz/findings/$t" && exec ../../fuzz/"$t" -max_total_time="$seconds" -timeout=10 \
     -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
     ../../corpus/"$t" ../../../fuzz/corpus/"$t" > log.txt 2>&1) &
  pids+=($!)
done
status=0
for i in "${!pids[@]}"; do
  t=${targets[$i]}
  if wait "${pids[$i]}"; then
    echo "$t: $(grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' build-fuzz/findings/$t/log.txt | awk '{printf "%s ", $0}')"
  else
    echo "$t: FINDING, see build-fuzz/findings/$t/log.txt"
    tail -n 30 "build-fuzz/findings/$t/log.txt"
    status=1
  fi
done
exit $status
