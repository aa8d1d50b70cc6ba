#!/usr/bin/env bash
# Writes the sprite sheets of fuzz/corpus/import/: the example sprites as spritehex-cli png exports
# them, put side by side with ImageMagick, at their own size and at twice it, as RGB, RGBA (colour
# 0 transparent) and indexed pictures. They seed the import fuzzer, which also reads every picture
# of fuzz/corpus/png.
#
#   tools/make-import-seeds.sh [SPRITEHEX_CLI] [OUTPUT_DIRECTORY]
#       (defaults: build/bin/spritehex-cli, with the color.bmp beside it; fuzz/corpus/import)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$top/build/bin/spritehex-cli}
out=${2:-$top/fuzz/corpus/import}
im=/usr/bin/convert  # /usr/local/bin/convert is not ImageMagick on every machine
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# cels NAME COUNT: the cels of examples/NAME.dat as exported pictures NAME-1.png …
cels() {
  for n in $(seq 1 "$2"); do "$cli" png --cel "$n" "$top/examples/$1.dat" "$work/$1-$n.png"; done
}
cels ship 1
cels walker 4
cels font 4

save() { "$im" - -strip "$@"; }

# One exported cel, as it is.
cp "$work/ship-1.png" "$out/ship-2x.png"
# Four cels in a row at twice their size, and with colour 0 (#303038) transparent.
"$im" "$work"/walker-{1,2,3,4}.png +append -strip "$out/walker-sheet-2x.png"
"$im" "$work"/walker-{1,2,3,4}.png +append -transparent '#303038' -strip \
  -define png:color-type=6 "$out/walker-sheet-2x-rgba.png"
# Characters at their own size, in two rows of two, as RGB and as an indexed picture.
"$im" \( "$work"/font-{1,2}.png +append \) \( "$work"/font-{3,4}.png +append \) -append \
  -sample 50% -strip -define png:color-type=2 "$out/font-sheet.png"
"$im" "$out/font-sheet.png" -strip -define png:color-type=3 -define png:bit-depth=4 \
  "$out/font-sheet-indexed.png"
# 110 characters of 8 x 8 in 11 rows of 10: more than a document holds.
"$im" -size 80x88 tile:"$out/font-sheet.png" -strip -define png:color-type=2 "$out/font-110.png"
