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
