#!/usr/bin/env bash
# Runs the main job on the shipped examples with an already built tree: the
# example rules over the example mail (raw and read as mail), the legacy
# lines converted, and the upgrade preview of the example gateway.
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
echo
echo "== lxpreview --registry examples/gateway/registry.reg --drive C:=examples/gateway/C --no-wait"
build/preview/lxpreview --registry examples/gateway/registry.reg --drive C:=examples/gateway/C --no-wait
