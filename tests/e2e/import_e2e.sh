#!/usr/bin/env bash
# End-to-end run of key I in the real editor on an X server (run it under xvfb-run, screen
# 1024x768x24): after a change, I asks "Save?", then the open dialog "Import PNG", then the
# cel-size dialog; a sheet of 110 cels with a colour of no swatch comes in as its first 100 cels,
# the information box says so, and the document equals what spritehex-cli import makes of the same
# picture.
# Arguments: the spritehex program, the spritehex-cli program.
set -euo pipefail
build_exe=$(readlink -f "$1")
build_cli=$(readlink -f "$2")
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp}
source "$(dirname "$(readlink -f "$0")")/../../tools/x-session.sh"
x_session import-e2e

# The programs and their bitmaps in a folder of their own.
app=$work/app
mkdir "$app"
cp "$build_exe" "$build_cli" "$(dirname "$build_exe")/pal.bmp" "$(dirname "$build_exe")/color.bmp" "$app/"
exe=$app/$(basename "$build_exe")
cli=$app/$(basename "$build_cli")

# Waits until a number of visible windows have that exact title.
wait_windows() { # title count
  local n
  for _ in $(seq 100); do
    n=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l || true)
    [[ "$n" == "$2" ]] && return 0
    sleep 0.05
  done
  fail "windows named '$1': expected $2, got $n"
}
bytes() { od -An -v -tx1 "$@" | tr -d ' \n'; }

# sheet.png: 176 x 160 pixels, 11 x 10 cels of 16 x 16, in colour 0 of color.bmp; cel 2 (x 16..31)
# in #7F3F00, which no swatch has; one pixel of colour 15 at (1, 0) so that it does not look like
# a picture the export wrote (2 x 2 blocks of one colour).
c0=$(pixel "$app/color.bmp" 0 0)
c15=$(pixel "$app/color.bmp" 240 0)
/usr/bin/convert -size 176x160 "xc:#$c0" -fill '#7F3F00' -draw 'rectangle 16,0 31,15' \
  -fill "#$c15" -draw 'point 1,0' "PNG24:$work/sheet.png"
"$cli" import --size 16x16 "$work/sheet.png" "$work/cli.dat" 2>"$work/cli.err"
check "spritehex-cli import's notes" \
  "spritehex-cli: $work/sheet.png holds 110 cels; the first 100 were imported.|spritehex-cli: 256 pixels in 1 colour were matched to the nearest palette colour.|" \
  "$(tr '\n' '|' <"$work/cli.err")"

"$exe" & pid=$!
win=$(find_window "new 1/1")
wait_focus "$win"
xdotool key 5
wait_title "$win" "new* 1/1"

# --- I: "Save?", the open dialog, the cel-size dialog ------------------------------------------------
xdotool key i
wait_focus "$(find_window "Prompt")"
xdotool key n
wait_focus "$(find_window "Import PNG")"
xdotool type --delay 15 "$work/sheet.png"
xdotool key Return
size=$(find_window "Cel size")
wait_focus "$size"
eval "$(xdotool getwindowgeometry --shell "$size")"
check "cel-size dialog: 108 x 61, centred" "458,353 108x61" "$X,$Y ${WIDTH}x$HEIGHT"
# W shows 8, the current document's, selected: typing replaces it; Tab selects H's 8.
xdotool type --delay 30 16
xdotool key Tab
xdotool type --delay 30 16
xdotool key Return

# --- the title, the information box, the layout -------------------------------------------------------
wait_title "$win" "sheet* 1/100"
# The box's caption is the editor's title: two windows of that name while it is up.
wait_windows "sheet\\* 1/100" 2
box=$(xdotool search --onlyvisible --name '^sheet\* 1/100$' | grep -vx "$win" | head -1)
wait_focus "$box"
xdotool key Return
wait_windows "sheet\\* 1/100" 1
wait_focus "$win"
eval "$(xdotool getwindowgeometry --shell "$win")"
check "window geometry (16 x 16 at zoom 16, centred)" "384,256 256x256" "$X,$Y ${WIDTH}x$HEIGHT"

# S asks for a path: the imported document has none. The file is what spritehex-cli made.
xdotool key s
wait_focus "$(find_window "Save As")"
xdotool type --delay 15 "$work/sheet"
xdotool key Return
wait_title "$win" "sheet 1/100"
wait_focus "$win"
check "sheet.dat: header 16, 16, 100" 101064 "$(bytes -N3 "$work/sheet.dat")"
cmp "$work/sheet.dat" "$work/cli.dat" || fail "sheet.dat differs from spritehex-cli import's"
echo "ok: sheet.dat is spritehex-cli import's document, byte for byte"

xdotool key Escape
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after Esc" 0 "$rc"
echo "import e2e: all checks passed"
