#!/usr/bin/env bash
# Runs the main job on the shipped examples with an already built tree: the
# example rules over the example mail (raw and read as mail), and the legacy
# lines converted.
set -euo pipefail
cd "$(dirname "$0")/.."
lexora=build/tools/lexora/lexora
echo "== lexora scan --quote examples/rules/mail.lx examples/mail"
$lexora scan --quote examples/rules/mail.lx examples/mail
echo
echo "== lexora scan --mail --quote examples/rules/mail.lx examples/mail"
$lexora scan --mail --quote examples/rules/mail.lx examples/mail
echo
echo "== lexora convert < examples/legacy/rules.txt"
$lexora convert --weighting Standard < examples/legacy/rules.txt || true
