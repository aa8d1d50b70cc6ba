#!/usr/bin/env bash
# tools/screenshots.sh still drives the real editor to its pictures: run into a temporary
# directory, the editor picture shows examples/ship.dat at zoom 16 with the cursor frame on cell
# (8, 8) where Open leaves it, the Generate window was found and pictured at its size, the chip
# view marks the ship's rows of two colours, and the companion picture holds the editor with
# examples/walker.dat and the companion to its right.
#
#   screenshots_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=$1
build=$2
# In a sanitizer build, leaks of the system libraries behind the X11 plugin are not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$src/tests/e2e/lsan.supp}
work=$(mktemp -d /tmp/spritehex-shots-test.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$src/tools/x-session.sh"  # fail, check, pixel

"$src/tools/screenshots.sh" "$build" "$work/docs"
shot=$work/docs/editor.png
check "editor picture: 16 x 16 cells of 16 pixels" "256x256" "$(/usr/bin/identify -format '%wx%h' "$shot")"
check "cell (7, 0), the ship's nose: cyan" 42EBF5 "$(pixel "$shot" $((7 * 16 + 4)) 4)"
check "cell (0, 9), the left wing: medium red" FC5554 "$(pixel "$shot" 4 $((9 * 16 + 4)))"
check "cell (0, 0): colour 0's dark checker" 1C1C24 "$(pixel "$shot" 0 0)"
check "cursor frame on cell (8, 8)" 777799 "$(pixel "$shot" 128 128)"
check "Generate window picture" "409x166" \
  "$(/usr/bin/identify -format '%wx%h' "$work/docs/generate.png")"
shot=$work/docs/chip-view.png
check "chip view: row 1 of the ship (colours 7 and 15) has its red notch" FF0000 \
  "$(pixel "$shot" $((8 + 1)) $((8 + 16 + 8)))"
check "chip view: row 0 (empty) has none" 1C1C24 "$(pixel "$shot" $((8 + 1)) $((8 + 8)))"
shot=$work/docs/companion.png
size=$(/usr/bin/identify -format '%wx%h' "$shot")
[[ "${size%x*}" -gt $((256 + 8 + 150)) && "${size#*x}" -ge $((256 + 16)) ]] ||
  fail "companion picture: $size is not the editor and the companion side by side"
echo "ok: companion picture $size"
check "the walker's editor: colour 0's dark checker at its corner" 1C1C24 "$(pixel "$shot" 8 8)"
check "the walker's head at cell (8, 1): grey" CCCCCC "$(pixel "$shot" $((8 + 8 * 16 + 4)) $((8 + 16 + 4)))"
echo "screenshots: all checks passed"
