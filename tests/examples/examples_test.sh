#!/usr/bin/env bash
# The example sprites: tools/make-examples.sh makes exactly the committed files, and
# spritehex-cli turns each into the tables its kind is for, as the README shows them. The
# expected lines are worked out from the pictures in tools/make-examples.sh:
#   ship.dat   16 x 16, one cel, rows of colours 7, 8 and F (= 7 OR 8): two layers with colour data
#   font.dat   8 x 8, four cels (H, E, X, a brick): character tables
#   walker.dat 16 x 16, four cels, one colour per row: single-layer sprite tables with colours
#
#   examples_test.sh SOURCE_DIR SPRITEHEX_CLI
set -euo pipefail
src=$1
cli=$2
work=$(mktemp -d /tmp/spritehex-examples.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$src/tools/x-session.sh"  # fail, check
# run ARGS...: spritehex-cli's standard output in $work/out, standard error in $work/err, the
# exit status in $rc, the lines (without their CR LF) in the array lines.
run() {
  set +e
  "$cli" "$@" >"$work/out" 2>"$work/err"
  rc=$?
  set -e
  mapfile -t lines < <(sed 's/\r$//' "$work/out")
}
crlf_lines() { # how many lines end with CR LF
  grep -c $'\r$' "$work/out" || true
}

# --- the script makes the committed files ------------------------------------------------------
"$src/tools/make-examples.sh" "$work/made" >/dev/null
for f in ship font walker sign; do
  cmp "$work/made/$f.dat" "$src/examples/$f.dat" || fail "$f.dat differs from what the script makes"
  echo "ok: $f.dat is made by tools/make-examples.sh"
done
check "the script makes nothing else" "font.dat ship.dat sign.dat walker.dat" "$(cd "$work/made" && echo *)"

# --- info -----------------------------------------------------------------------------------------
for f in "ship 16 16 1" "font 8 8 4" "walker 16 16 4"; do
  read -r name w h n <<<"$f"
  run info "$src/examples/$name.dat"
  check "info $name" "0|width: $w|height: $h|cels: $n" "$rc|$(IFS='|'; echo "${lines[*]}")"
done

# --- ship: two layers with colour data ------------------------------------------------------------
# Row 5, ....87F77F78...., holds 8, 7 and F; sorted 7, 8, F, and F = 7 OR 8. Layer 1 takes 7 and F
# (left 00000111 = 07, right 11100000 = E0), layer 2 takes 8 and F (00001010 = 0A, 01010000 = 50);
# its colours are 07 and 8 | 0x40 = 48. Rows of 7 and F alone give 07 and 4F, row 14 (F alone)
# 0F and 40, the empty last row 00 and 40.
run tables --two-layers --color-data "$src/examples/ship.dat"
check "ship: exit status, no message" "0|" "$rc|$(cat "$work/err")"
check "ship: four lines" 4 "${#lines[@]}"
check "ship: line breaks" 3 "$(crlf_lines)"
check "ship: layer 1 patterns" \
  "#01,#02,#02,#06,#05,#07,#07,#07,#07,#07,#07,#07,#06,#04,#18,#00,#80,#40,#40,#60,#A0,#E0,#E0,#E0,#E0,#E0,#E0,#E0,#60,#20,#18,#00," \
  "${lines[0]}"
check "ship: layer 2 patterns" \
  "#00,#01,#01,#01,#02,#0A,#1B,#38,#78,#F9,#D9,#88,#08,#08,#00,#00,#00,#80,#80,#80,#40,#50,#D8,#1C,#1E,#9F,#9B,#11,#10,#10,#00,#00," \
  "${lines[1]}"
check "ship: layer 1 colours" "#07,#07,#07,#07,#07,#07,#07,#07,#07,#07,#07,#07,#07,#07,#0F,#00," "${lines[2]}"
check "ship: layer 2 colours, 0x40 set" "#40,#4F,#4F,#4F,#4F,#48,#48,#48,#48,#48,#48,#48,#4F,#4F,#40,#40" "${lines[3]}"

# Without colour data a cel may hold two colours only: 7 and F come first, 8 is dropped, in the
# rows 5 to 11 that hold it.
run tables --two-layers "$src/examples/ship.dat"
check "ship without colour data: too many colours" "1|$src/examples/ship.dat: too many colors|2" \
  "$rc|$(tail -1 "$work/err")|${#lines[@]}"
check "ship without colour data: each row of colour 8 named" \
  "$src/examples/ship.dat: cel 1, row 5: colour 8 is not one of the cel's two (7 and 15); it is dropped|7" \
  "$(head -1 "$work/err")|$(grep -c 'colour 8' "$work/err")"
check "ship without colour data: layer 2 holds the F pixels" \
  "#00,#01,#01,#01,#02,#02,#03,#00,#00,#01,#01,#00,#08,#08,#18,#00,#00,#80,#80,#80,#40,#40,#C0,#00,#00,#80,#80,#00,#10,#10,#18,#00" \
  "${lines[1]}"

# --- font: character tables -----------------------------------------------------------------------
# Each row's first pixel is its background: 4 for the letters, so H's side rows are 01000100 = 44
# with F4 (white on dark blue) and its bar 01111100 = 7C with B4; the empty row 00 with 44. The
# brick's mortar rows are 00 with EE, its brick rows 10 or 01 with E6.
run tables --type chr "$src/examples/font.dat"
check "font: exit status" 0 "$rc"
check "font: one line per cel, each ended" "4|4" "${#lines[@]}|$(crlf_lines)"
check "font: H" "#44,#44,#44,#7C,#44,#44,#44,#00,#F4,#F4,#B4,#B4,#A4,#A4,#94,#44," "${lines[0]}"
check "font: E" "#7C,#40,#40,#78,#40,#40,#7C,#00,#F4,#F4,#B4,#B4,#A4,#A4,#94,#44," "${lines[1]}"
check "font: X" "#44,#44,#28,#10,#28,#44,#44,#00,#F4,#F4,#B4,#B4,#A4,#A4,#94,#44," "${lines[2]}"
check "font: brick" "#00,#10,#10,#10,#00,#01,#01,#01,#EE,#E6,#E6,#E6,#EE,#E6,#E6,#E6" "${lines[3]}"
run tables --type chr --no-comma "$src/examples/font.dat"
check "font without commas: brick" "0010101000010101,EEE6E6E6EEE6E6E6" "${lines[3]}"

# --- walker: single-layer sprite tables with colour data -----------------------------------------
# Per cel a pattern line (16 left bytes, then 16 right bytes) and a colour line (one byte per row:
# 0E for the grey head and legs, 05 for the blue body, 00 for the empty rows).
colours="#00,#0E,#0E,#0E,#0E,#0E,#05,#05,#05,#05,#05,#05,#0E,#0E,#0E,#00"
run tables --color-data "$src/examples/walker.dat"
check "walker: exit status" 0 "$rc"
check "walker: two lines per cel" 8 "${#lines[@]}"
check "walker: standing" \
  "#00,#03,#07,#05,#07,#03,#0F,#17,#17,#17,#07,#06,#06,#06,#0E,#00,#00,#C0,#E0,#A0,#E0,#C0,#F0,#E8,#E8,#E8,#E0,#60,#60,#60,#70,#00," \
  "${lines[0]}"
check "walker: colours of the first cel" "$colours," "${lines[1]}"
check "walker: one foot up" \
  "#00,#03,#07,#05,#07,#03,#0F,#17,#17,#17,#07,#06,#06,#0E,#00,#00,#00,#C0,#E0,#A0,#E0,#C0,#F0,#E8,#E8,#E8,#E0,#60,#60,#60,#70,#00," \
  "${lines[2]}"
check "walker: eyes shut" "#07" "$(cut -d, -f4 <<<"${lines[4]}")"
check "walker: colours of the last cel, no comma after it" "$colours" "${lines[7]}"
run tables "$src/examples/walker.dat"
check "walker without colour data: one line per cel" 4 "${#lines[@]}"

# --- sign: a sprite set; the lower left piece is empty, so three sprites at (0,0), (16,0), (16,16)
# in the colour of each piece's first drawn pixel (A, A, 6), patterns 0, 4 and 8 -----------------
run tables --pieces 16 "$src/examples/sign.dat"
check "sign: sprite table" "0|#00,#00,#00,#0A,#00,#10,#04,#0A,#10,#10,#08,#06,#D0" "$rc|${lines[1]}"

# --- the README shows these tables as the program writes them ------------------------------------
# (all four lines of the ship and of the font, the walker's first cel)
for args in "4 --two-layers --color-data ship.dat" "2 --color-data walker.dat" "4 --type chr font.dat"; do
  read -ra words <<<"$args"
  shown=${words[0]}
  words=("${words[@]:1}")
  words[-1]=$src/examples/${words[-1]}
  run tables "${words[@]}"
  for line in "${lines[@]:0:shown}"; do
    grep -qxF -- "$line" "$src/README.md" || fail "README lacks the line of tables ${args#* }: $line"
  done
  echo "ok: README shows tables ${args#* }"
done

# --- --layers 2 is --two-layers ------------------------------------------------------------------
# On every example and every document of the generator fuzzer's corpus, with and without colour
# data and sprite sets: the same tables, the same standard error, the same exit status.
for file in "$src"/examples/*.dat "$src"/fuzz/corpus/generators/*; do
  for extra in "" --color-data "--pieces 16 --color-data"; do
    # shellcheck disable=SC2086 # the options are words
    run tables --two-layers $extra "$file"
    cp "$work/out" "$work/two.out"
    sed "s/--two-layers/--layers 2/" "$work/err" >"$work/two.err"
    two_rc=$rc
    # shellcheck disable=SC2086
    run tables --layers 2 $extra "$file"
    cmp -s "$work/out" "$work/two.out" && cmp -s "$work/err" "$work/two.err" && [[ $rc == "$two_rc" ]] ||
      fail "$(basename "$file") $extra: --layers 2 differs from --two-layers"
  done
done
echo "ok: --layers 2 writes what --two-layers writes"
echo "examples: all checks passed"
