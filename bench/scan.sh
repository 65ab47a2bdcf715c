#!/bin/sh
# Scanning a large tree into the queue: a tree of small PCX files (100 folders
# of 1,000 by default) is scanned and queued by bench/scan_tree.cpp, which runs
# the console's folder scan, and timed against `find DIR -name '*.pcx'` on the
# same tree; then the peak memory of scans of half and all of the tree.
#
#   bench/scan.sh [BUILD_FOLDER]        (default: build/bench)
#
# Environment: FOLDERS (default 100), PER_FOLDER (default 1000), RUNS (default 5),
# WORK (default BUILD_FOLDER/scan-work).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
folders=${FOLDERS:-100}
per=${PER_FOLDER:-1000}
runs=${RUNS:-5}
work=${WORK:-$build/scan-work}

for tool in hyperfine convert /usr/bin/time python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done
if [ ! -x "$build/bench/scan_tree" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIXALTO_TESTS=OFF >/dev/null
    cmake --build "$build" --target scan_tree
fi
scan=$build/bench/scan_tree

total=$((folders * per))
tree=$work/tree-$folders-$per
if [ ! -f "$tree/.complete" ]; then
    rm -rf "$tree"
    mkdir -p "$tree"
    echo "Making $total small PCX files in $tree"
    convert -size 4x4 xc:red "$work/one.pcx"
    # Every file of the tree is a copy of one small picture.
    python3 - "$work/one.pcx" "$tree" "$folders" "$per" <<'PY'
import os, sys
src, tree, folders, per = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
data = open(src, "rb").read()
for f in range(folders):
    d = os.path.join(tree, f"folder-{f:04d}")
    os.makedirs(d)
    for i in range(per):
        with open(os.path.join(d, f"picture-{i:05d}.pcx"), "wb") as out:
            out.write(data)
PY
    touch "$tree/.complete"
fi

queued=$("$scan" "$tree")
echo "Queued: $queued of $total"

results=$work/results
mkdir -p "$results"
hyperfine --style basic --warmup 1 --runs "$runs" --export-json "$results/scan.json" \
    -n find "find '$tree' -name '*.pcx'" \
    -n scan "'$scan' '$tree'" >/dev/null

# Memory: the whole tree against its first half (hard links of the same files).
half=$work/half-$folders-$per
if [ ! -f "$half/.complete" ]; then
    rm -rf "$half"
    mkdir -p "$half"
    for d in $(ls "$tree" | head -n $((folders / 2))); do cp -al "$tree/$d" "$half/$d"; done
    touch "$half/.complete"
fi
peak() { /usr/bin/time -v "$scan" "$1" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'; }
python3 - "$results/scan.json" "$(peak "$half")" "$(peak "$tree")" <<'PY'
import json, statistics, sys
runs = {r["command"]: statistics.median(r["times"]) for r in json.load(open(sys.argv[1]))["results"]}
half, full = int(sys.argv[2]) / 1024, int(sys.argv[3]) / 1024
print(f"Median seconds: find {runs['find']:.3f}, scan and queue {runs['scan']:.3f} "
      f"({runs['scan'] / runs['find']:.2f}x find; target at most 3x)")
print(f"Peak memory: half the tree {half:.1f} MiB, the whole tree {full:.1f} MiB")
PY
