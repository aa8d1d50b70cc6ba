#!/usr/bin/env bash
# The assembler output assembles, with pasmo, into exactly the bytes of the binary output: every
# number style, every kind of table, every byte value from 00 to FF.
#
#   asm_round_trip.sh SPRITEHEX_CLI SOURCE_DIR
set -euo pipefail
cli=$(readlink -f "$1")
src=$(readlink -f "$2")
source "$src/tools/x-session.sh"
command -v pasmo >/dev/null || fail "pasmo is not installed (tools/packages.txt lists it)"
work=$(mktemp -d /tmp/spritehex-asm.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Four cels of 8 x 64 whose 256 rows k hold the bits of k in colour 1 + k % 15: pattern bytes 00
# to FF. A byte is written as the \ooo of printf.
byte() { printf "\\$(printf '%03o' "$1")"; }
{
  printf '\x08\x40\x04'
  for k in $(seq 0 255); do
    for bit in 7 6 5 4 3 2 1 0; do
      if (( (k >> bit) & 1 )); then byte $((1 + k % 15)); else byte 0; fi
    done
  done
} >"$work/patterns.dat"
# The same size, row k of background k % 16 and, in its second pixel, foreground k / 16:
# character colour bytes 00 to FF.
{
  printf '\x08\x40\x04'
  for k in $(seq 0 255); do
    b=$((k % 16)) f=$((k / 16))
    byte $b; byte $f; for _ in 1 2 3 4 5 6; do byte $b; done
  done
} >"$work/pairs.dat"
check "patterns.dat size" 2051 "$(stat -c %s "$work/patterns.dat")"
# 16 x 15, every row all fifteen colours, shifted by one a row: each row needs four layers.
{
  printf '\x10\x0f\x01'
  for r in $(seq 0 14); do
    for x in $(seq 0 14); do byte $(((r + x) % 15 + 1)); done
    byte 0
  done
} >"$work/rich.dat"

runs=(
  "patterns.dat --color-data"
  "pairs.dat --type chr"
  "$src/examples/ship.dat --two-layers --color-data"
  "$src/examples/walker.dat --two-layers"
  "$src/examples/sign.dat --pieces 16 --two-layers --color-data"
  "rich.dat --layers 4 --color-data"
  "$src/examples/walker.dat --layers 3"
)
for run in "${runs[@]}"; do
  read -r file options <<<"$run"
  [[ "$file" == /* ]] || file=$work/$file
  # shellcheck disable=SC2086 # the options are words
  "$cli" tables $options --format bin -o "$work/tables.bin" "$file" || [[ $? -eq 1 ]]
  for style in '$' '#' 0x '&H' h; do
    # shellcheck disable=SC2086
    "$cli" tables $options --format asm --number-style "$style" -o "$work/tables.asm" "$file" ||
      [[ $? -eq 1 ]]
    # The binary output has no colours table (two layers without colour data): its label and line
    # go before the comparison.
    sed -i '/_colours:$/,+1d' "$work/tables.asm"
    (cd "$work" && pasmo tables.asm assembled.bin >pasmo.log 2>&1) ||
      fail "pasmo refuses style $style for $(basename "$file") $options: $(cat "$work/pasmo.log")"
    cmp -s "$work/assembled.bin" "$work/tables.bin" ||
      fail "style $style, $(basename "$file") $options: pasmo's bytes differ from --format bin"
    echo "ok: $(basename "$file") $options, style $style: $(stat -c %s "$work/tables.bin") bytes"
  done
done
