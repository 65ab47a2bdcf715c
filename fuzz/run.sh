#!/usr/bin/env bash
# Runs one fuzz target of a fuzz build over its seeds and its growing corpus.
#   fuzz/run.sh BUILD_DIR TARGET [SECONDS] [more libFuzzer flags...]
# New inputs go to BUILD_DIR/fuzz/corpus/NAME, crashes to BUILD_DIR/fuzz/artifacts.
set -euo pipefail
build="$(cd "$1" && pwd)"
target="$2"
seconds="${3:-10}"
shift $(( $# < 3 ? $# : 3 ))
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
name="${target#fuzz_}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-suppressions=$here/asan.supp}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}"

"$build/fuzz/fuzz_make_seeds" "$build/fuzz/seeds"
flags=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1)

if [ "$name" = list_file ]; then
  # The target shuts itself in its working folder: everything it uses is there.
  box="$build/fuzz/list_file_box"
  mkdir -p "$box/corpus" "$box/artifacts"
  chmod 755 "$box/corpus" "$box/artifacts" "$box/seeds" 2>/dev/null || true
  rm -rf "$box/seeds" && cp -r "$build/fuzz/seeds/list_file" "$box/seeds"
  cd "$box"
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0:symbolize=0"
  status=0
  "$build/fuzz/$target" "${flags[@]}" -detect_leaks=0 -reload=0 -artifact_prefix=artifacts/ "$@" corpus seeds ||
    status=$?
  chmod 755 corpus artifacts seeds  # the target made them unlistable for itself
  exit "$status"
fi

corpus="$build/fuzz/corpus/$name"
artifacts="$build/fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"
inputs=("$corpus" "$build/fuzz/seeds/$name")
shared="$here/../../shared/fixtures/pcx"
if [ "$name" = pcx ] && [ -d "$shared" ]; then inputs+=("$shared"); fi
exec "$build/fuzz/$target" "${flags[@]}" -artifact_prefix="$artifacts/$target-" "$@" "${inputs[@]}"
