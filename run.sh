#!/usr/bin/env bash
# Installs what is missing, builds Pixalto in Release and runs it with the given
# arguments. Without arguments it converts the bundled sample pictures to PNG.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIXALTO_TESTS=OFF >/dev/null
cmake --build "$here/build/release" --target pixalto >/dev/null
if [ $# -eq 0 ]; then
  mkdir -p "$here/build/samples-out"
  exec "$here/build/release/pixalto" -i "$here/samples/" -o "$here/build/samples-out/" -c png
fi
exec "$here/build/release/pixalto" "$@"
