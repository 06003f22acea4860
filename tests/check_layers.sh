#!/usr/bin/env bash
# Checks that the engine's folders stand in floors and that every include
# points down: a file includes its own folder or a folder on a lower floor,
# never one on its own floor or above. A folder missing from the floors
# fails too, so that a new folder is given its place.
set -euo pipefail
engine=${1:?usage: check_layers.sh ENGINE_DIR}

declare -A floor=(
  [base]=0
  [input]=1 [compiler]=1
  [language]=2 [runtime]=2
  [convert]=3 [diag]=3
  [debug]=4
  [api]=5
)

status=0
while IFS= read -r -d '' file; do
  relative=${file#"$engine"/}
  own=${relative%%/*}
  if [ "$own" = "$relative" ]; then continue; fi  # the engine's own top files
  if [ -z "${floor[$own]+set}" ]; then
    echo "$relative: folder engine/$own has no floor"
    status=1
    continue
  fi
  while IFS= read -r included; do
    other=${included%%/*}
    if [ "$other" = "$own" ]; then continue; fi
    if [ -z "${floor[$other]+set}" ]; then
      echo "$relative: includes engine/$included, in a folder that has no floor"
      status=1
    elif [ "${floor[$other]}" -ge "${floor[$own]}" ]; then
      echo "$relative: includes engine/$included, which does not stand below engine/$own"
      status=1
    fi
  done < <(sed -nE 's@^[[:space:]]*#[[:space:]]*include[[:space:]]*"engine/([^"]+)".*@\1@p' "$file")
done < <(find "$engine" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

if [ "$status" -eq 0 ]; then echo "layers: every include points down"; fi
exit "$status"
