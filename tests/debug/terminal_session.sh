#!/usr/bin/env bash
# Runs `lexora debug` on a real pseudo-terminal (a private tmux server) and
# checks what a person sees: the prompt, the echo of what they type, and the
# answers.   usage: terminal_session.sh LEXORA SOURCE_DIR
set -euo pipefail
lexora=$1
source=$2
socket="lexora-debug-test-$$"
work=$(mktemp -d)
cleanup() {
  tmux -L "$socket" kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$source/examples/rules/mail.lx" "$source/examples/mail/phishing-bank.eml" "$work/"

tmux -L "$socket" -f /dev/null new-session -d -x 150 -y 50 -c "$work" \
  "'$lexora' debug mail.lx phishing-bank.eml; echo SESSION-ENDED; sleep 60"

screen() { tmux -L "$socket" capture-pane -p; }
shows() {
  for _ in $(seq 100); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  echo "the terminal never showed: $1" >&2
  screen >&2
  exit 1
}
type_line() { tmux -L "$socket" send-keys -l -- "$1" && tmux -L "$socket" send-keys Enter; }

shows "Compile time: "
shows ">>>"  # the capture drops trailing blanks
type_line "bp 3"
type_line "c"
shows ">>> bp 3"
shows "Breakpoint hit."
type_line "k"
shows "000: {1, 0}  (top)"
type_line "n"
shows "00000003:            .load 2"
type_line "quit"
shows "SESSION-ENDED"
echo "terminal session passed"
