#!/usr/bin/env bash
# Makes the README's pictures from the real editor on a virtual X server of 1024 x 768:
#   editor.png    the editor with examples/ship.dat opened through its Open dialog (key O)
#   generate.png  the Generate window for it (key G), switched to two layers with colour data
#                 (keys 2 and C)
#   chip-view.png the editor with examples/ship.dat in the chip view (key X) under single-layer
#                 sprite tables with colour data (key 2 again in the Generate window), and its
#                 companion window beside it (key W)
#   companion.png the editor with examples/walker.dat and its companion window beside it (key W),
#                 the walk playing
#
#   tools/screenshots.sh [BUILD_DIR [OUTPUT_DIR]]     (defaults: build and docs of this checkout)
#
# Needs xvfb-run, xauth, xdotool and ImageMagick (all in tools/packages.txt). It always runs on a
# server of its own, so no other window can cover the pictures.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "${1:-$here/build}")
out=$(readlink -m "${2:-$here/docs}")
# -noreset: without it the server resets when its first client (xdotool) leaves, and refuses the
# editor for that moment.
if [[ -z "${SPRITEHEX_SCREENSHOT_SERVER:-}" ]]; then
  exec env SPRITEHEX_SCREENSHOT_SERVER=1 \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" "$0" "$build" "$out"
fi
exe=$build/bin/spritehex
source "$here/tools/x-session.sh"
fail_prefix=screenshots
[[ -x "$exe" ]] || fail "no editor at $exe; build first (make build)"
x_session shots

shoot() { # window file
  sleep 0.5  # let the window finish painting
  /usr/bin/import -window "$1" "$2"
  echo "wrote $2"
}

# One picture of the editor and its companion window, 8 pixels of the screen around them.
shoot_both() { # editor companion file
  local left top right bottom X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  left=$X top=$Y right=$((X + WIDTH)) bottom=$((Y + HEIGHT))
  eval "$(xdotool getwindowgeometry --shell "$2")"
  ((X < left)) && left=$X
  ((Y < top)) && top=$Y
  ((X + WIDTH > right)) && right=$((X + WIDTH))
  ((Y + HEIGHT > bottom)) && bottom=$((Y + HEIGHT))
  sleep 0.5
  /usr/bin/import -window root \
    -crop "$((right - left + 16))x$((bottom - top + 16))+$((left - 8))+$((top - 8))" +repage "$3"
  echo "wrote $3"
}

mkdir -p "$out"
xdotool mousemove 0 0  # keep the pointer (and with it the editor's cursor frame) out of the way
"$exe" & pid=$!
editor=$(find_window "new 1/1")
wait_focus "$editor"

xdotool key o
wait_focus "$(find_window Open)"
xdotool type --delay 15 "$here/examples/ship.dat"
xdotool key Return
wait_title "$editor" "ship 1/1"
wait_focus "$editor"
shoot "$editor" "$out/editor.png"

xdotool key g
generate=$(find_window Generate)
wait_focus "$generate"
xdotool key 2 c
shoot "$generate" "$out/generate.png"

xdotool key 2 Escape
wait_focus "$editor"
xdotool key x w
companion=$(find_window Animation)
shoot_both "$editor" "$companion" "$out/chip-view.png"
xdotool key x w

xdotool key o
wait_focus "$(find_window Open)"
xdotool type --delay 15 "$here/examples/walker.dat"
xdotool key Return
wait_title "$editor" "walker 1/4"
wait_focus "$editor"
xdotool key w
companion=$(find_window Animation)
shoot_both "$editor" "$companion" "$out/companion.png"

xdotool key Escape
wait "$pid" || fail "the editor did not end cleanly"
pid=
