#!/usr/bin/env bash
# End-to-end run of the companion window, the zoom keys and the onion skin in the real editor on
# an X server (run it under xvfb-run, screen 1024x768x24): W shows the companion beside the editor
# while the editor keeps the keyboard, a pixel drawn shows at once in its three copies, a click
# gives it the keyboard and Esc gives it back; + and - as X delivers them (Shift with =, = alone,
# the keypad, _), Ctrl with + doing nothing; L showing the previous cel through colour 0.
set -euo pipefail
exe=$(readlink -f "$1")
# In a sanitizer build, leaks of the system libraries behind the X11 plugin are not ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp}
source "$(dirname "$(readlink -f "$0")")/../../tools/x-session.sh"
x_session companion

white_pixels() { # picture: how many pixels are pure white
  /usr/bin/convert "$1" -fill black +opaque white -fill white -opaque white \
    -format "%[fx:round(mean*w*h)]" info:
}

geometry() { # window: "X,Y WxH"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X,$Y ${WIDTH}x$HEIGHT"
}

wait_geometry() { # window expected
  for _ in $(seq 100); do
    [[ "$(geometry "$1")" == "$2" ]] && { echo "ok: geometry $2"; return 0; }
    sleep 0.05
  done
  fail "geometry: expected '$2', got '$(geometry "$1")'"
}

xdotool mousemove 0 0
"$exe" & pid=$!
win=$(find_window "new 1/1")
wait_focus "$win"
check "editor at start (8 x 8 at zoom 16)" "448,320 128x128" "$(geometry "$win")"

# W: the companion to the right of the editor, 8 pixels apart; the keys stay with the editor.
xdotool key w
comp=$(find_window Animation)
eval "$(xdotool getwindowgeometry --shell "$comp")"
check "companion beside the editor" "584,320" "$X,$Y"
wait_focus "$win"
sleep 0.3
import -window "$comp" "$work/before.png"
before=$(white_pixels "$work/before.png")

# F draws white at the cursor (4, 4): the animation shows it at 1x, 2x and 4x, 1 + 4 + 16 pixels.
xdotool key f
wait_title "$win" "new* 1/1"
sleep 0.3
import -window "$comp" "$work/after.png"
check "white pixels more in the companion after F" 21 $(($(white_pixels "$work/after.png") - before))

# A click on the companion gives it the keyboard; its Esc hides it and gives the keyboard back.
xdotool mousemove $((X + 1)) $((Y + 1)) click 1
wait_focus "$comp"
xdotool key Escape
wait_focus "$win"
[[ -z "$(xdotool search --onlyvisible --name '^Animation$' 2>/dev/null)" ]] || fail "companion still shown"
echo "ok: Esc in the companion hides it and the editor has the keyboard"
xdotool mousemove 0 0

# The zoom keys as X delivers them: plus is Shift with the = key here.
xdotool key plus
wait_geometry "$win" "416,288 192x192"
xdotool key equal
wait_geometry "$win" "384,256 256x256"
xdotool key ctrl+plus ctrl+minus ctrl+KP_Add
sleep 0.3
check "Ctrl with + or - does nothing" "384,256 256x256" "$(geometry "$win")"
xdotool key minus
wait_geometry "$win" "416,288 192x192"
xdotool key KP_Subtract
wait_geometry "$win" "448,320 128x128"
xdotool key KP_Add
wait_geometry "$win" "416,288 192x192"
xdotool key underscore
wait_geometry "$win" "448,320 128x128"
wait_title "$win" "new* 1/1"  # none of them changed the document

# L on a second, empty cel: cell (4, 4) shows the first cel's white blended 40 % over colour 0's
# dark checker square: (2 x 255 + 3 x 28) / 5 = 119, (2 x 255 + 3 x 36) / 5 = 124.
xdotool key ctrl+a l
wait_title "$win" "new* 2/2"
sleep 0.3
import -window root "$work/onion.png"
check "onion skin over colour 0" 77777C "$(pixel "$work/onion.png" $((448 + 64 + 5)) $((320 + 64 + 5)))"
check "colour 0 elsewhere: the dark checker" 1C1C24 "$(pixel "$work/onion.png" $((448 + 5)) $((320 + 5)))"
xdotool key l
sleep 0.3
import -window root "$work/plain.png"
check "L again: colour 0 as before" 1C1C24 "$(pixel "$work/plain.png" $((448 + 64 + 5)) $((320 + 64 + 5)))"

# A clean close: Esc, "Save?" answered No.
xdotool key Escape
box=$(find_window Prompt)
wait_focus "$box"
xdotool key n
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after Esc" 0 "$rc"

echo "e2e companion: all checks passed"
