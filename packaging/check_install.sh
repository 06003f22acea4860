#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what a user gets: a
# host program built with find_package and with pkg-config, the installed
# lexora and Python module, and the Debian package made by CPack.
#   packaging/check_install.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage

echo "== cmake --install into a scratch prefix"
cmake --install "$build" --prefix "$stage" >/dev/null
"$stage/bin/lexora" --version

echo "== consumer built with find_package(lexora2)"
cmake -S examples/consumer -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$stage" >/dev/null
cmake --build "$work/consumer" >/dev/null
"$work/consumer/consumer"

echo "== consumer built with pkg-config"
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$(find "$stage" -name lexora2.pc)")
# shellcheck disable=SC2046
g++ -std=c++17 -Wall -Wextra examples/consumer/consumer.cpp -o "$work/consumer-pc" \
  $(pkg-config --cflags --libs lexora2) -Wl,-rpath,"$(pkg-config --variable=libdir lexora2)"
"$work/consumer-pc"

python_dir=$(find "$stage" -type d -name dist-packages | head -n 1)
if [ -n "$python_dir" ]; then
  echo "== the installed Python module"
  PYTHONPATH=$python_dir /usr/bin/python3 -c \
    'import lexora; assert lexora.__file__.startswith("'"$stage"'"); print("lexora", lexora.__version__, lexora.Script("x").scan("x x").score)'
fi

echo "== the Debian package"
rm -rf "$build/packages"
(cd "$build" && cpack >/dev/null)
deb=$(ls "$build"/packages/lexora2_*.deb)
dpkg-deb --field "$deb" Package Version Depends
dpkg-deb -x "$deb" "$work/deb"
for path in usr/bin/lexora usr/include/lexora2/lexora2.h usr/lib/*/liblexora2.so.2 \
            usr/lib/*/pkgconfig/lexora2.pc usr/lib/*/cmake/lexora2/lexora2Config.cmake; do
  compgen -G "$work/deb/$path" >/dev/null || { echo "missing from the package: $path" >&2; exit 1; }
done
if [ -n "$python_dir" ]; then
  PYTHONPATH=$work/deb/usr/lib/python3/dist-packages /usr/bin/python3 -c 'import lexora._lexora'
fi
if [ "$(id -u)" -eq 0 ]; then
  # What apt would do on this machine, without doing it.
  apt-get install -s "$(realpath "$deb")" | grep -E "^Inst lexora2"
fi
echo "install checks passed: $(basename "$deb")"
