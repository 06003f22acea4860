#!/usr/bin/env bash
# lexora scan --mail and read --mail on the shipped examples: mbox messages
# named FILE:N in both output forms, parts decoded, switches checked.
#   scan_mail_cli_test.sh LEXORA SOURCE_DIR
set -uo pipefail
lexora=$1
examples=$2/examples
failures=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1
  shift
  if ! "$@"; then
    echo "FAIL: $name"
    failures=$((failures + 1))
  fi
}
json=$("$lexora" scan --mail --json -j 2 "$examples/rules/mail.lx" "$examples/mail/inbox.mbox" \
       "$examples/mail/card-leak.eml")
check "one JSON line per message" test "$(echo "$json" | wc -l)" -eq 4
for n in 1 2 3; do
  check "JSON names message $n" grep -q "\"file\":\"$examples/mail/inbox.mbox:$n\"" <<<"$json"
done
check "a message file keeps its name" grep -q "\"file\":\"$examples/mail/card-leak.eml\"," <<<"$json"
text=$("$lexora" scan --mail "$examples/rules/mail.lx" "$examples/mail/inbox.mbox")
check "text names the phishing message" grep -q "^$examples/mail/inbox.mbox:2: score 180$" <<<"$text"
read=$("$lexora" read --mail "$examples/mail/prize-multipart.eml")
check "encoded Subject decoded" grep -q "licitations, you have won" <<<"$read"
check "quoted-printable decoded" grep -q "2 million dollars" <<<"$read"
check "no transport headers" bash -c '! grep -q "Received\|Content-Transfer-Encoding" <<<"$0"' "$read"
check "attachment skipped" bash -c '! grep -q "INV-20931" <<<"$0"' "$read"
check "attachment on request" grep -q "INV-20931" \
  <<<"$("$lexora" read --mail --attachments "$examples/mail/prize-multipart.eml")"
"$lexora" scan --header To "$examples/rules/mail.lx" "$examples/mail" >/dev/null 2>&1
check "--header needs --mail" test $? -eq 2
"$lexora" read --mail --encoding UTF-8 "$examples/mail/inbox.mbox" >/dev/null 2>&1
check "--encoding refused with --mail" test $? -eq 2
[ "$failures" -eq 0 ] && echo "scan --mail: all checks passed"
exit "$failures"
