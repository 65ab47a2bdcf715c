#!/usr/bin/env bash
# Installs what is missing, builds Pixalto with its tests and runs the whole
# suite with CTest.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/install-deps.sh"
jobs="$(nproc)"

cmake -S "$here" -B "$here/build/test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build/test" -j "$jobs"
ctest --test-dir "$here/build/test" -j "$jobs" --output-on-failure

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
# With clang the same build holds the fuzz targets, and CTest runs each of
# them briefly over its seeds; without clang it is a plain sanitizer build.
asan="$here/build/asan"
if command -v clang++ >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPIXALTO_FUZZ=ON >/dev/null
else
  cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIXALTO_SANITIZE=ON >/dev/null
fi
cmake --build "$asan" -j "$jobs"
# The suppression files name errors and leaks inside third-party libraries
# only; full allocation stacks let a leak suppression match its library call.
export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:suppressions=$here/fuzz/asan.supp"
export LSAN_OPTIONS="suppressions=$here/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$asan" -j "$jobs" --output-on-failure
