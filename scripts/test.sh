#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite (with the
# Python module's and the Dask tests); the install, its consumer and the Debian
# package; the suite again under AddressSanitizer + UndefinedBehaviorSanitizer;
# the concurrency tests under ThreadSanitizer; and each fuzz target for a
# bounded time (LEXORA_FUZZ_SECONDS, default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --deps
jobs=$(nproc)

echo "== test suite"
# Installed under /usr, as the Debian package is.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== install, consumer and Debian package"
packaging/check_install.sh build

# The resource-bound cases measure memory and scan hundreds of megabytes:
# meaningless under a sanitizer's shadow memory, and slow.
echo "== test suite under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLEXORA_SANITIZE=ON \
  -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" -E 'ResourceBounds|exported_symbols'

echo "== concurrency tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXORA_TSAN=ON \
  -DLEXORA_BENCH=OFF >/dev/null
cmake --build build-tsan --target lexora_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/lexora_tests \
  --gtest_filter='*Concurrent*:*ManyThreads*'

echo "== fuzz targets"
scripts/fuzz.sh "${LEXORA_FUZZ_SECONDS:-60}"
