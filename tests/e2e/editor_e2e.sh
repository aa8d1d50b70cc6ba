#!/usr/bin/env bash
# End-to-end run of the real editor on an X server (run it under xvfb-run, screen 1024x768x24):
# draw with digits and Shift+arrows, flood-fill with Shift+digit, mirror, add a cel, save with
# Ctrl+S typing a path into the dialog; then check the file's bytes, the window title and pixels
# of a screenshot. Also: a missing pal.bmp ends the program after its error box, without a
# display the program says what to use instead, a wrong command line ends it before any window,
# and a file named on the command line opens; its window destroyed by another client asks "Save?"
# as Q does.
set -euo pipefail
exe=$(readlink -f "$1")
# In a sanitizer build, leaks of the system libraries behind the X11 plugin are not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp}
source "$(dirname "$(readlink -f "$0")")/../../tools/x-session.sh"
x_session e2e

# --- without a display -----------------------------------------------------------------------
set +e
msg=$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" 2>&1 >/dev/null)
rc=$?
set -e
check "exit status without a display" 1 "$rc"
[[ "$msg" == *"use $(dirname "$exe")/spritehex-cli."* ]] || fail "no-display message: $msg"
echo "ok: no-display message names the spritehex-cli beside the editor"

# --- the command line is read first: usage errors, --help, --version need no display ------------
usage="usage: spritehex [FILE.dat] | --help | --version"
for args in "--bogus" "a.dat b.dat"; do
  set +e
  # shellcheck disable=SC2086
  msg=$(env -u DISPLAY -u WAYLAND_DISPLAY "$exe" $args 2>&1 >/dev/null)
  rc=$?
  set -e
  check "exit status of 'spritehex $args'" 2 "$rc"
  check "lines on standard error for '$args'" 1 "$(printf '%s\n' "$msg" | wc -l)"
  [[ "$msg" == "spritehex: "*"; $usage" ]] || fail "usage line for '$args': $msg"
done
check "spritehex --version" "spritehex " "$(env -u DISPLAY "$exe" --version | sed 's/[0-9.]*$//')"
check "first line of spritehex --help" "Usage:" "$("$exe" --help | head -1)"

# Presses Enter (OK of the error box that has the focus) until the program $pid is gone; its exit
# status in rc.
answer_until_gone() {
  for _ in $(seq 20); do
    kill -0 "$pid" 2>/dev/null || break
    xdotool key Return
    sleep 0.2
  done
  set +e; wait "$pid"; rc=$?; set -e; pid=
}

# --- a missing pal.bmp: error box, no editor window, program ends -----------------------------
mkdir "$work/bare"
cp "$exe" "$work/bare/spritehex"
"$work/bare/spritehex" & pid=$!
find_window spritehex >/dev/null
sleep 0.3
check "windows shown with pal.bmp missing" 1 "$(xdotool search --onlyvisible --class spritehex | wc -l)"
# The box has the focus: Enter presses OK.
answer_until_gone
check "exit status with pal.bmp missing" 1 "$rc"

# --- a named pipe for pal.bmp: refused at once with its error box, never waited on ------------
mkdir "$work/fifo"
cp "$exe" "$(dirname "$exe")/color.bmp" "$work/fifo/"
mkfifo "$work/fifo/pal.bmp"
"$work/fifo/spritehex" & pid=$!
find_window spritehex >/dev/null
answer_until_gone
check "exit status with a named pipe for pal.bmp" 1 "$rc"

# --- the editor --------------------------------------------------------------------------------
"$exe" & pid=$!
win=$(find_window "new 1/1")
eval "$(xdotool getwindowgeometry --shell "$win")"
check "window geometry (8 x 8 at zoom 16, centred)" "448,320 128x128" "$X,$Y ${WIDTH}x$HEIGHT"

# Keys go to the focused window: the editor takes the focus itself when it is shown.
wait_focus "$win"
xdotool key 5 shift+Right shift+Right Up 7 shift+3
wait_title "$win" "new* 1/1"
xdotool key v ctrl+a
wait_title "$win" "new* 2/2"
xdotool key a
# A left click draws the current colour (10, set by A) where it lands: cell (0, 0) of cel 2.
xdotool mousemove $((448 + 5)) $((320 + 7)) click 1

xdotool key ctrl+s
wait_focus "$(find_window "Save As")"
xdotool type --delay 15 "$work/walk"
xdotool key Return
wait_title "$win" "walk 2/2"
wait_focus "$win"  # back to the editor once the dialog has closed

# Header 8, 8, 2; cel 1 holds 5 at (1..3, 4) and 3 at (1, 3) after the mirror; cel 2 holds 10
# at (6, 3) and (0, 0).
expected=$(
  cel0=() cel1=()
  for i in $(seq 0 63); do cel0[i]=00 cel1[i]=00; done
  cel0[4 * 8 + 3]=05 cel0[4 * 8 + 2]=05 cel0[4 * 8 + 1]=05 cel0[3 * 8 + 1]=03
  cel1[3 * 8 + 6]=0a cel1[0]=0a
  printf '%s' 080802 "${cel0[@]}" "${cel1[@]}"
)
check "walk.dat bytes" "$expected" "$(od -An -v -tx1 "$work/walk.dat" | tr -d ' \n')"

import -window root "$work/shot.png"
# Cel 2 is shown with the cursor frame on cell (0, 0), where the click drew colour 10.
check "frame corner of the cursor cell" 777799 "$(pixel "$work/shot.png" 448 320)"
check "frame's far corner" 777799 "$(pixel "$work/shot.png" $((448 + 14)) $((320 + 14)))"
check "inside the cursor cell: dark yellow" D4C154 "$(pixel "$work/shot.png" $((448 + 8)) $((320 + 8)))"
check "cell (6, 3): dark yellow" D4C154 "$(pixel "$work/shot.png" $((448 + 96 + 8)) $((320 + 48 + 8)))"
check "a cell's last pixel keeps the swatch's grid line" C9B859 "$(pixel "$work/shot.png" $((448 + 96 + 15)) $((320 + 48 + 15)))"
check "colour 0 is the dark checker" 1C1C24 "$(pixel "$work/shot.png" $((448 + 112)) $((320 + 112)))"
check "and its light squares" 383844 "$(pixel "$work/shot.png" $((448 + 112 + 4)) $((320 + 112)))"

xdotool key j
wait_title "$win" "walk 1/2"
import -window root "$work/shot.png"
check "cel 1 cell (3, 4): light blue" 7D76FC "$(pixel "$work/shot.png" $((448 + 3 * 16 + 4)) $((320 + 4 * 16 + 4)))"
check "cel 1 cell (1, 3): light green after Shift+3" 5EDC78 "$(pixel "$work/shot.png" $((448 + 16 + 4)) $((320 + 3 * 16 + 4)))"

xdotool key Escape
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after Esc" 0 "$rc"

# --- a file named on the command line; its window destroyed by another client ------------------
"$exe" "$work/walk.dat" & pid=$!
win=$(find_window "walk 1/2")
wait_focus "$win"
xdotool key 5
xdotool windowclose "$win"
find_window "Prompt" >/dev/null
xdotool key Escape  # Cancel of "Save?": the editor goes on in a new window
win=$(find_window "walk\\* 1/2")
wait_focus "$win"
xdotool key q
find_window "Prompt" >/dev/null
xdotool key n
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after the window was destroyed, then Q and No" 0 "$rc"

echo "e2e: all checks passed"
