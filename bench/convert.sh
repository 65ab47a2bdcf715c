#!/bin/sh
# Whole-process conversion speed of pixalto against GraphicsMagick's and
# ImageMagick's mogrify doing the same work, and against a bare FreeImage
# load-and-save loop (bench/bare_loop.cpp); then the peak memory of one large
# conversion.
#
#   bench/convert.sh [BUILD_FOLDER]        (default: build/bench)
#
# Needs hyperfine, ImageMagick, GraphicsMagick, netpbm and /usr/bin/time.
# Environment: RUNS (default 5), WORK (default BUILD_FOLDER/bench-work),
# FORMATS (default "jpg png tiff").
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
case $build in /*) ;; *) build=$(pwd)/$build ;; esac
runs=${RUNS:-5}
work=${WORK:-$build/bench-work}
formats=${FORMATS:-jpg png tiff}

for tool in hyperfine convert gm mogrify ppmtopcx /usr/bin/time python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool" >&2; exit 1; }
done

if [ ! -x "$build/pixalto" ] || [ ! -x "$build/bench/bare_loop" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIXALTO_TESTS=OFF >/dev/null
    cmake --build "$build" --target pixalto bare_loop
fi
pixalto=$build/pixalto
bare=$build/bench/bare_loop

# Corpus: 24 pictures of 1600 x 1200, eight of each kind.
corpus=$work/corpus
if [ "$(ls "$corpus"/*.pcx 2>/dev/null | wc -l)" -ne 24 ]; then
    rm -rf "$corpus"
    mkdir -p "$corpus"
    echo "Making the corpus in $corpus"
    for i in 1 2 3 4 5 6 7 8; do
        src=$work/source-$i.ppm
        convert -seed "$i" -size 1600x1200 plasma:fractal -blur 0x1 \
            \( -size 1600x1200 gradient:"#203060-#e0c080" \) -compose overlay -composite \
            -depth 8 "ppm:$src"
        convert "$src" -type TrueColor "$corpus/true-$i.pcx"                   # 3 planes of 8 bits
        convert "$src" -colors 256 -type Palette "$corpus/palette-$i.pcx"      # 8 bits, 256 colours
        convert "$src" -colors 16 ppm:- | ppmtopcx -planes 4 >"$corpus/planar-$i.pcx" 2>/dev/null  # 4 planes of 1 bit
        rm -f "$src"
    done
fi

out=$work/out
results=$work/results
mkdir -p "$results"

# The same work for every tool: JPEG quality 95 without chroma subsampling,
# PNG at zlib level 6 (adaptive filtering), TIFF with LZW.
for format in $formats; do
    case $format in
    jpg)
        px="-c jpg --jpg-quality=95 --jpg-chroma=none"
        gmopts="-format jpg -quality 95 -sampling-factor 1x1"
        imopts="-format jpg -quality 95 -sampling-factor 1x1" ;;
    png)
        px="-c png --png-compression=zlib6"
        gmopts="-format png -quality 65"
        imopts="-format png -quality 65" ;;
    tiff)
        px="-c tiff --tiff-compression=lzw"
        gmopts="-format tiff -compress LZW"
        imopts="-format tiff -compress LZW" ;;
    *) echo "unknown format $format" >&2; exit 1 ;;
    esac
    echo
    echo "== $format =="
    hyperfine --style basic --warmup 1 --runs "$runs" \
        --prepare "rm -rf '$out' && mkdir -p '$out'" \
        --export-json "$results/$format.json" \
        -n pixalto "'$pixalto' -i '$corpus/' -o '$out/' $px" \
        -n "pixalto 1 thread" "PIXALTO_THREADS=1 '$pixalto' -i '$corpus/' -o '$out/' $px" \
        -n bare_loop "'$bare' '$corpus' '$out' $format" \
        -n "gm mogrify" "cd '$corpus' && gm mogrify -output-directory '$out' $gmopts *.pcx" \
        -n "magick mogrify" "mogrify -path '$out' $imopts '$corpus'/*.pcx" >/dev/null
done

echo
echo "Median seconds for 24 pictures of 1600 x 1200 (ratio to the bare FreeImage loop):"
python3 - "$results" $formats <<'PY'
import json, statistics, sys
folder, formats = sys.argv[1], sys.argv[2:]
for fmt in formats:
    runs = {r["command"]: statistics.median(r["times"]) for r in json.load(open(f"{folder}/{fmt}.json"))["results"]}
    bare = runs["bare_loop"]
    print(f"  {fmt}:")
    for name, median in runs.items():
        print(f"    {name:17s} {median:7.3f} s   {median / bare:5.2f}x")
    one, par = runs["pixalto 1 thread"], runs["pixalto"]
    print(f"    parallel pixalto is {one / par:.2f}x faster than one thread, "
          f"{runs['gm mogrify'] / par:.2f}x faster than gm mogrify, "
          f"{runs['magick mogrify'] / par:.2f}x faster than ImageMagick mogrify")
PY

# Peak memory: one 8000 x 6000 24-bit picture (a 144 MB bitmap) to PNG.
big=$work/big/huge.pcx
if [ ! -f "$big" ]; then
    mkdir -p "$work/big"
    convert -size 8000x6000 gradient:"#102040-#f0d090" -attenuate 0.3 +noise Uniform -type TrueColor "$big"
fi
rm -rf "$out" && mkdir -p "$out"
/usr/bin/time -v "$pixalto" -i "$big" -o "$out/" -c png >/dev/null 2>"$results/memory.txt"
peak=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$results/memory.txt")
python3 -c "
peak_mb = $peak / 1024
bitmap_mb = 8000 * 6000 * 3 / 1e6
print(f'Peak memory, one 8000 x 6000 24-bit PCX to PNG: {peak_mb:.0f} MiB '
      f'({peak_mb * 1048576 / 1e6 / bitmap_mb:.2f}x the {bitmap_mb:.0f} MB bitmap; target at most 2.5x)')
"
