#!/usr/bin/env bash
# Writes the small PNG pictures of fuzz/corpus/png/ with ImageMagick: every colour type at the bit
# depths that matter, with and without tRNS, and interlaced ones. They seed the PNG fuzzer and
# are the inputs of tests/image/png_codec_test.cpp, which states the pixels each one holds.
#
#   tools/make-png-seeds.sh [OUTPUT_DIRECTORY]     (default: fuzz/corpus/png of this checkout)
#
# The pictures are described as PGM/PPM text or PAM (for alpha) and converted with ImageMagick's
# own convert (/usr/local/bin/convert is not ImageMagick on every machine).
set -euo pipefail
out=${1:-$(cd "$(dirname "$0")/.." && pwd)/fuzz/corpus/png}
mkdir -p "$out"
im=/usr/bin/convert

# png NAME DEPTH TYPE [OPTIONS…] < picture: a PNG of that bit depth and colour type (empty: as
# ImageMagick chooses), no other chunks than the pixels need.
png() {
  local name=$1 depth=$2 type=$3
  shift 3
  local defines=()
  [[ -n "$depth" ]] && defines+=(-define "png:bit-depth=$depth")
  [[ -n "$type" ]] && defines+=(-define "png:color-type=$type")
  "$im" - -strip "${defines[@]}" "$@" "$out/$name"
}

# pam WIDTH HEIGHT TUPLTYPE MAXVAL SAMPLES…: a PAM picture, samples as bytes (MAXVAL 255) or
# big-endian 16-bit words (MAXVAL 65535).
pam() {
  local w=$1 h=$2 type=$3 max=$4 depth=4
  shift 4
  [[ $type == GRAYSCALE_ALPHA ]] && depth=2
  printf 'P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL %d\nTUPLTYPE %s\nENDHDR\n' \
    "$w" "$h" "$depth" "$max" "$type"
  local v
  for v in "$@"; do
    if ((max > 255)); then printf "\\$(printf %03o $((v >> 8)))"; fi
    printf "\\$(printf %03o $((v & 255)))"
  done
}

# Grey at 1, 2, 4, 8 and 16 bits; 385 and 386 scale to 1 and 2 (their high bytes are both 1).
printf 'P2 8 2 1\n0 1 0 1 1 0 1 0\n1 1 1 1 0 0 0 0\n' | png gray1.png 1 0
printf 'P2 4 2 3\n0 1 2 3\n3 2 1 0\n' | png gray2.png 2 0
printf 'P2 4 2 15\n0 5 10 15\n1 2 3 4\n' | png gray4.png 4 0
printf 'P2 4 1 255\n0 18 200 255\n' | png gray8.png 8 0
printf 'P2 4 1 65535\n0 385 386 65535\n' | png gray16.png 16 0
pam 4 1 GRAYSCALE_ALPHA 255 0 255 50 0 200 255 255 255 | png gray8-trns.png 8 0
# Grey with alpha.
pam 4 1 GRAYSCALE_ALPHA 255 0 255 90 128 200 0 255 255 | png graya8.png 8 4
pam 2 1 GRAYSCALE_ALPHA 65535 385 65535 65535 386 | png graya16.png 16 4
# RGB, RGB with one transparent colour, RGBA.
printf 'P3 3 2 255\n255 0 0 0 255 0 0 0 255\n10 20 30 255 255 255 0 0 0\n' | png rgb8.png 8 2
printf 'P3 2 1 65535\n385 386 65535 0 32896 1\n' | png rgb16.png 16 2
pam 3 1 RGB_ALPHA 255 255 0 0 255 9 8 7 0 0 0 255 255 | png rgb8-trns.png 8 2
pam 3 1 RGB_ALPHA 255 255 0 0 255 0 255 0 128 0 0 255 0 | png rgba8.png 8 6
pam 2 1 RGB_ALPHA 65535 65535 385 0 386 0 0 65535 65535 | png rgba16.png 16 6
# Indexed at 1, 2, 4 and 8 bits; alpha for the first palette entries only (a short tRNS).
printf 'P3 8 1 255\n255 0 0 0 0 255 0 0 255 255 0 0 255 0 0 255 0 0 0 0 255 0 0 255\n' |
  png pal1.png 1 3
printf 'P3 4 1 255\n255 0 0 0 255 0 0 0 255 0 255 0\n' | png pal2.png 2 3
pam 4 1 RGB_ALPHA 255 255 0 0 255 0 255 0 128 0 0 255 0 255 255 255 255 | png pal2-trns.png '' ''
printf 'P3 4 2 255\n0 0 0 255 0 0 0 255 0 0 0 255\n255 255 0 0 255 255 255 0 255 128 128 128\n' |
  png pal4.png 4 3
{
  printf 'P3 5 4 255\n'
  for i in $(seq 0 19); do printf '%d %d %d\n' $((i * 13 % 256)) $((i * 40 % 256)) $((255 - i * 12)); done
} | png pal8.png 8 3

# Interlaced (Adam7) pictures of 10 x 7 pixels, so that every one of the seven passes has pixels,
# and the RGB one once more without interlacing.
rgb10x7() {
  printf 'P3 10 7 255\n'
  for y in $(seq 0 6); do
    for x in $(seq 0 9); do printf '%d %d %d ' $((x * 25)) $((y * 40)) $(((x * y * 7) % 256)); done
    printf '\n'
  done
}
rgb10x7 | png rgb8-adam7.png 8 2 -interlace PNG
rgb10x7 | png rgb8-10x7.png 8 2
{
  printf 'P2 10 7 1\n'
  for y in $(seq 0 6); do for x in $(seq 0 9); do printf '%d ' $(((x + y) % 3 == 0)); done; printf '\n'; done
} | png gray1-adam7.png 1 0 -interlace PNG
{
  printf 'P3 10 7 255\n'
  for y in $(seq 0 6); do
    for x in $(seq 0 9); do
      v=$(((x + 2 * y) % 12)); printf '%d %d %d ' $((v * 20)) $((255 - v * 20)) $((v % 3 * 100))
    done
    printf '\n'
  done
} | png pal4-adam7.png 4 3 -interlace PNG
{
  samples=()
  for y in $(seq 0 6); do
    for x in $(seq 0 9); do
      samples+=($((x * 6553)) $((y * 9362)) $((x * y * 999)) $((65535 - (x + y) * 3000)))
    done
  done
  pam 10 7 RGB_ALPHA 65535 "${samples[@]}"
} | png rgba16-adam7.png 16 6 -interlace PNG
