#!/usr/bin/env bash
# End-to-end run of the Generate window and the PNG export in the real editor on an X server (run
# it under xvfb-run, screen 1024x768x24): open a sprite file, draw, save, press G and compare the
# X clipboard byte for byte with spritehex-cli tables of the saved file, for each option key (the
# sprite sets of P and the layers of L included); then export with P, typing the path into the
# dialog, and check the PNG's size and pixels; then the chip view (X) under colour data marks the
# rows the chip cannot show as drawn.
# Arguments: the spritehex program, the spritehex-cli program.
set -euo pipefail
build_exe=$(readlink -f "$1")
build_cli=$(readlink -f "$2")
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp}
source "$(dirname "$(readlink -f "$0")")/../../tools/x-session.sh"
x_session gen-e2e
# Waits until the clipboard holds exactly the bytes of the file.
wait_clipboard() { # what expected-file
  for _ in $(seq 100); do
    xclip -o -selection clipboard >"$work/clip" 2>/dev/null || true
    cmp -s "$work/clip" "$2" && { echo "ok: $1"; return 0; }
    sleep 0.05
  done
  fail "$1: the clipboard holds $(od -c "$work/clip" | head -3), not $(od -c "$2" | head -3)"
}
# The tables spritehex-cli writes for the saved file (exit 1 only reports a broken rule).
tables() { # file options...
  local out=$1; shift
  "$cli" tables "$@" "$work/walk.dat" >"$out" || [[ $? -eq 1 ]]
}

# The programs and their bitmaps in a folder of their own: the export writes temp.bmp there.
app=$work/app
mkdir "$app"
cp "$build_exe" "$build_cli" "$(dirname "$build_exe")/pal.bmp" "$(dirname "$build_exe")/color.bmp" "$app/"
exe=$app/$(basename "$build_exe")
cli=$app/$(basename "$build_cli")

# walk.dat: 16 x 3, two cels. Cel 1 row 0 holds 1 1 0 2 2 0 3 0 ... 1, row 2 a 3 at column 9;
# cel 2 holds 5 at (0, 1) and 4 at (15, 1).
{
  printf '\x10\x03\x02'
  printf '\x01\x01\x00\x02\x02\x00\x03\x00\x00\x00\x00\x00\x00\x00\x00\x01'
  printf '\x00%.0s' $(seq 16)
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00\x00'
  printf '\x00%.0s' $(seq 16)
  printf '\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x04'
  printf '\x00%.0s' $(seq 16)
} >"$work/walk.dat"
check "walk.dat size" 99 "$(stat -c %s "$work/walk.dat")"

"$exe" & pid=$!
win=$(find_window "new 1/1")
wait_focus "$win"
xdotool key o
wait_focus "$(find_window "Open")"
xdotool type --delay 15 "$work/walk.dat"
xdotool key Return
wait_title "$win" "walk 1/2"
wait_focus "$win"
# The cursor to (0, 0) (the arrows stop at the edges, wherever the pointer put it); colour 7
# there, then a plain save to the opened file.
xdotool key Up Up Up $(printf 'Left %.0s' $(seq 16)) 7
wait_title "$win" "walk* 1/2"
xdotool key s
wait_title "$win" "walk 1/2"

# --- G: the clipboard equals spritehex-cli tables of the saved file -----------------------------
xdotool key g
gen=$(find_window "Generate")
wait_focus "$gen"
eval "$(xdotool getwindowgeometry --shell "$gen")"
check "Generate window: 409 x 166, centred" "307,301 409x166" "$X,$Y ${WIDTH}x$HEIGHT"
tables "$work/expected"
[[ -s "$work/expected" ]] || fail "spritehex-cli tables wrote nothing"
grep -q $'\r' "$work/expected" || fail "the tables have no CR LF line breaks"
wait_clipboard "G: single-layer tables" "$work/expected"

xdotool key t
tables "$work/expected" --type chr
wait_clipboard "T: character tables" "$work/expected"
xdotool key t
tables "$work/expected"
wait_clipboard "T again: sprite tables" "$work/expected"
xdotool key alt+c  # Alt with the label's mnemonic acts as C
tables "$work/expected" --color-data
wait_clipboard "Alt+C: colour data" "$work/expected"
xdotool key o
tables "$work/expected" --color-data --no-comma
wait_clipboard "O: no commas" "$work/expected"
xdotool key shift+2  # arrives as @ on the key of the 2
tables "$work/expected" --two-layers --color-data --no-comma
wait_clipboard "Shift+2: two layers" "$work/expected"
xdotool key ctrl+t ctrl+o KP_2
sleep 0.3
wait_clipboard "Ctrl+T, Ctrl+O and keypad 2 change nothing" "$work/expected"
xdotool key c 2 o
tables "$work/expected"
wait_clipboard "C, 2, O: back to the first tables" "$work/expected"

# F: the same tables as assembler, C and BASIC, byte for byte, named after the document as
# spritehex-cli names them after the file; then Hex again.
for format in asm c basic; do
  xdotool key f
  tables "$work/expected" --format "$format"
  wait_clipboard "F: --format $format" "$work/expected"
done
xdotool key shift+f
tables "$work/expected"
wait_clipboard "Shift+F: Hex again" "$work/expected"

# P: the cels as sprite sets of 16 x 16 pieces, then of 8 x 8 (each cel's two halves), then off.
for pieces in 16 8; do
  xdotool key p
  tables "$work/expected" --pieces "$pieces"
  wait_clipboard "P: --pieces $pieces" "$work/expected"
done
xdotool key p
tables "$work/expected"
wait_clipboard "P: pieces off again" "$work/expected"

# L: two layers, three, four, as many as the file needs, then one again.
for layers in 2 3 4 auto; do
  xdotool key l
  tables "$work/expected" --layers "$layers"
  wait_clipboard "L: --layers $layers" "$work/expected"
done
xdotool key l
tables "$work/expected"
wait_clipboard "L: one layer again" "$work/expected"

# Esc hides the window; the editor has the keyboard again.
printf 'kept' | xclip -i -selection clipboard
xdotool key Escape
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^Generate$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^Generate$' >/dev/null 2>&1 && fail "Esc left the Generate window open"
wait_focus "$win"
check "Esc leaves the clipboard alone" kept "$(xclip -o -selection clipboard)"

# --- P: the current cel (cel 1) as a PNG at twice its size ---------------------------------------
xdotool key p
wait_focus "$(find_window "Export PNG")"
xdotool type --delay 15 "$work/walk"
xdotool key Return
for _ in $(seq 100); do [[ -s "$work/walk.png" ]] && break; sleep 0.05; done
[[ -s "$work/walk.png" ]] || fail "P wrote no walk.png (the dialog adds .png)"
wait_focus "$win"
check "title after the export: no *" "walk 1/2" "$(xdotool getwindowname "$win")"
[[ -s "$app/temp.bmp" ]] || fail "no temp.bmp beside the program"
echo "ok: temp.bmp beside the program"
check "PNG size" "32x6" "$(identify -format '%wx%h' "$work/walk.png")"
strip=$app/color.bmp
# Pixel (x, y) of colour v is the block at (2x, 2y), the colour strip's pixels at (16v, 0).
check "pixel (0, 0), colour 7 drawn before the save" "$(pixel "$strip" 112 0)" "$(pixel "$work/walk.png" 0 0)"
check "pixel (0, 0), block's far corner" "$(pixel "$strip" 113 1)" "$(pixel "$work/walk.png" 1 1)"
check "pixel (3, 0), colour 2" "$(pixel "$strip" 32 0)" "$(pixel "$work/walk.png" 6 0)"
check "pixel (15, 0), colour 1" "$(pixel "$strip" 17 1)" "$(pixel "$work/walk.png" 31 1)"
check "pixel (9, 2), colour 3" "$(pixel "$strip" 48 0)" "$(pixel "$work/walk.png" 18 4)"
check "pixel (2, 1), colour 0" "$(pixel "$strip" 0 0)" "$(pixel "$work/walk.png" 4 2)"
# spritehex-cli png writes the same picture.
"$cli" png "$work/walk.dat" "$work/cli.png"
check "spritehex-cli png: the same pixels" 0 "$(compare -metric AE "$work/walk.png" "$work/cli.png" null: 2>&1)"

# --- X: the chip view under colour data marks each row of two colours ---------------------------
xdotool key g
wait_focus "$(find_window "Generate")"
xdotool key c Escape
wait_focus "$win"
# The editor is 256 x 48 at (384, 360); a row's notch covers pixels 0-3 across, 4-11 down.
notch() { # row: waits for the screen's colour at the row's notch, prints it
  local last=
  for _ in $(seq 20); do
    import -window root "$work/shot.png"
    last=$(pixel "$work/shot.png" 385 $((360 + $1 * 16 + 8)))
    [[ "$last" == "$2" ]] && break
    sleep 0.05
  done
  echo "$last"
}
xdotool key x Up Up Up $(printf 'Left %.0s' $(seq 16)) Down 5
check "X: row 0 (colours 7, 1, 2 and 3) has its red notch" FF0000 "$(notch 0 FF0000)"
wait_title "$win" "walk* 1/2"
[[ "$(notch 1 none)" != FF0000 ]] || fail "row 1 of one colour has a notch"
echo "ok: row 1 of one colour shows as drawn"
xdotool key Right 6
check "a second colour in row 1: its notch" FF0000 "$(notch 1 FF0000)"
xdotool key x s
wait_title "$win" "walk 1/2"

# The editor closing while the Generate window is still open ends the program all the same.
xdotool key g
wait_focus "$(find_window "Generate")"
xdotool windowfocus --sync "$win"
wait_focus "$win"
xdotool key Escape
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "the program kept running after the editor closed"
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after Esc with the Generate window open" 0 "$rc"
echo "generate e2e: all checks passed"
