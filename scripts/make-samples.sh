#!/usr/bin/env bash
# Makes the small PCX pictures in samples/ that ./run.sh converts when it is
# started without arguments. Needs ImageMagick (convert) and netpbm (ppmtopcx).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$here/samples"
mkdir -p "$out"

# 24 bits: three planes of 8 bits.
convert -size 64x48 gradient:'#1060c0'-'#f0c040' -type TrueColor "PCX:$out/gradient-24bit.pcx"
# 8 bits with a palette at the end of the file.
convert -size 64x48 xc:white -fill '#c02020' -draw 'circle 32,24 32,6' \
  -fill '#2040c0' -draw 'rectangle 4,4 20,20' -colors 8 -type Palette "PCX:$out/shapes-8bit.pcx"
# 4 bits: four planes of 1 bit with the palette in the header.
convert -size 64x48 gradient:'#20a040'-'#f0f0f0' -colors 16 ppm:- | ppmtopcx >"$out/green-4bit.pcx" 2>/dev/null
# 1 bit: black and white.
convert -size 48x32 pattern:checkerboard -monochrome pbm:- | ppmtopcx >"$out/checker-1bit.pcx" 2>/dev/null
