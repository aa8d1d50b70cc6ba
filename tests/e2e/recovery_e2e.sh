#!/usr/bin/env bash
# End-to-end run of the recovery copy in the real editor on an X server (run it under xvfb-run,
# screen 1024x768x24): an unmodified editor ended by SIGTERM leaves nothing; a modified one leaves
# its drawing, which the next start offers and, after Yes, shows with its title, until a clean
# close removes it; a modified editor
# whose X server is killed (a second server, started for that) leaves its last change too.
set -euo pipefail
exe=$(readlink -f "$1")
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$(dirname "$(readlink -f "$0")")/lsan.supp}
source "$(dirname "$(readlink -f "$0")")/../../tools/x-session.sh"
x_session recovery
folder=$HOME/.local/share/spritehex/recovery

copies() { ls "$folder" 2>/dev/null | tr '\n' ' ' | sed 's/ $//'; }

# The byte of a copy's sprite image at offset $3, given the image's size $2, in hexadecimal.
image_byte() { # copy size offset
  tail -c "$2" "$1" | od -An -v -tx1 -j "$3" -N 1 | tr -d ' '
}

# --- SIGTERM with nothing changed: no file at all -------------------------------------------------
"$exe" & pid=$!
win=$(find_window "new 1/1")
kill -TERM "$pid"
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after SIGTERM" 143 "$rc"
check "recovery files of an unmodified editor" "" "$(copies)"

# --- SIGTERM with changes: the copy is written at once ----------------------------------------------
"$exe" & pid=$!
first=$pid
win=$(find_window "new 1/1")
wait_focus "$win"
xdotool key 5 Right 3 ctrl+a 9
wait_title "$win" "new* 2/2"
kill -TERM "$pid"  # at once: well within the second before the first timed copy
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after SIGTERM" 143 "$rc"
check "recovery files after SIGTERM" "editor-$first.lock editor-$first.recovery" "$(copies)"
check "copy of cel 2, pixel (5, 4)" 09 "$(image_byte "$folder/editor-$first.recovery" 131 $((3 + 64 + 4 * 8 + 5)))"

# --- the next start asks; Yes (the default button) brings the drawing back -------------------------
"$exe" & pid=$!
box=$(find_window Prompt)
wait_focus "$box"
xdotool key Return
win=$(find_window 'new\* 1/2')
wait_focus "$win"
check "recovery files after Yes: the copy is the new editor's" \
  "editor-$pid.lock editor-$pid.recovery" "$(copies)"
import -window root "$work/shot.png"
check "recovered cel 1, pixel (4, 4): light blue" 7D76FC "$(pixel "$work/shot.png" $((448 + 4 * 16 + 4)) $((320 + 4 * 16 + 4)))"
check "recovered cel 1, pixel (5, 4): light green" 5EDC78 "$(pixel "$work/shot.png" $((448 + 5 * 16 + 4)) $((320 + 4 * 16 + 4)))"
xdotool key m
wait_title "$win" "new* 2/2"

# --- a clean close removes the copy: Esc, "Save?" answered No ------------------------------------
xdotool key Escape
box=$(find_window Prompt)
wait_focus "$box"
xdotool key n
set +e; wait "$pid"; rc=$?; set -e; pid=
check "exit status after a clean close" 0 "$rc"
check "recovery files after a clean close" "" "$(copies)"

# --- the X server dies under a modified editor: the last change is in the copy ---------------------
# A server of its own (on the first free display), so the session's server outlives this.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
server=$!
trap 'kill "$server" 2>/dev/null || true; x_session_end' EXIT
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.05; done
[[ -s "$work/display" ]] || fail "the second X server did not start"
export DISPLAY=:$(cat "$work/display")
"$exe" & pid=$!
win=$(find_window "new 1/1")
wait_focus "$win"
xdotool key 6
wait_title "$win" "new* 1/1"
kill "$server"  # at once: no timed copy has been written yet
set +e; wait "$pid"; rc=$?; set -e
check "exit status after the X server died" 1 "$rc"
check "recovery files after the X server died" "editor-$pid.lock editor-$pid.recovery" "$(copies)"
check "copy of pixel (4, 4): the last change" 06 "$(image_byte "$folder/editor-$pid.recovery" 67 $((3 + 4 * 8 + 4)))"
pid=
echo "e2e recovery: all checks passed"
