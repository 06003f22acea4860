#!/usr/bin/env bash
# The command line runs on mimalloc: its malloc is the one every library binds
# to, and operator new still throws std::bad_alloc, so that a scan out of
# memory is a per-file error, not an abort.
#   program_malloc_test.sh LEXORA
set -uo pipefail
lexora=$1
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

bindings=$(LD_DEBUG=bindings "$lexora" --version 2>&1 >/dev/null)
grep -q "binding file [^ ]*/libc\.so\.6 \[0\] to [^ ]*/libmimalloc\.so[.0-9]* \[0\]: normal symbol \`malloc'" \
  <<<"$bindings" || fail "libc's malloc calls reach mimalloc"
grep -q "to [^ ]*/libc\.so\.6 \[0\]: normal symbol \`malloc'" <<<"$bindings" &&
  fail "no malloc binds to glibc's"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The second statement's result would take 3.2 GB.
printf '[MATCH=ALL] alpha\n[MATCH=ALL] alpha NEAR=2147483647 bravo\n' >"$work/rules.lx"
head -c $((12 * 20000)) < <(yes 'alpha bravo' | tr '\n' ' ') >"$work/text.txt"
out=$(ulimit -v 1000000 && "$lexora" scan -j 1 "$work/rules.lx" "$work/text.txt" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "out of memory: exit status 1, not $status"
grep -q "text.txt: error: std::bad_alloc" <<<"$out" || fail "out of memory reported: $out"

[ "$failures" -eq 0 ] && echo "program malloc: all checks passed"
exit "$failures"
