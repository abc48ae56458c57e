#!/usr/bin/env bash
# Builds everything and runs every test: the full suite on the normal build,
# then the native tests again on an AddressSanitizer/UBSan build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 --timeout 900

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPYX_SANITIZE=address,undefined >/dev/null
cmake --build build-asan -j2
# The JVM that the embedded tests start uses SIGSEGV for its own purposes.
ASAN_OPTIONS=handle_segv=0:allow_user_segv_handler=1:detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2 --timeout 900 -LE 'java|windows'
