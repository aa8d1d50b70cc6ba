#!/usr/bin/env bash
# spritehex-cli png onto an existing picture that may be written, in a folder that may not: the
# picture is overwritten in place (it cannot be written beside it first) and nothing else appears.
# A failed write into that folder leaves the old picture and says so. Root may write anywhere, so
# as root the tool runs as the user nobody.
#
#   png_locked_folder.sh SPRITEHEX_CLI SOURCE_DIR
set -euo pipefail
cli=$(readlink -f "$1")
src=$(readlink -f "$2")
source "$src/tools/x-session.sh"
work=$(mktemp -d /tmp/spritehex-png-locked.XXXXXX)
trap 'chmod 755 "$work/out" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
as_user=()
[[ $(id -u) == 0 ]] && as_user=(runuser -u nobody --)

mkdir "$work/out"
printf 'old picture' >"$work/out/ship.png"
chmod 666 "$work/out/ship.png"
chmod 555 "$work/out"
"${as_user[@]}" "$cli" png "$src/examples/ship.dat" "$work/out/ship.png" ||
  fail "png into a locked folder exited with $?"
check "picture overwritten in place" 32x32 "$(identify -format '%wx%h' "$work/out/ship.png")"
check "sprite pixel (7, 1): white" FFFFFF "$(pixel "$work/out/ship.png" 15 3)"
check "nothing else in the folder" ship.png "$(ls -A "$work/out")"

chmod 444 "$work/out/ship.png"
cp "$work/out/ship.png" "$work/before.png"
set +e
message=$("${as_user[@]}" "$cli" png "$src/examples/ship.dat" "$work/out/ship.png" 2>&1)
status=$?
set -e
check "a picture that may not be written either: exit status" 2 "$status"
[[ "$message" == "spritehex-cli: cannot write $work/out/ship.png: "* ]] || fail "message: $message"
echo "ok: message names the picture"
cmp -s "$work/before.png" "$work/out/ship.png" || fail "the old picture changed"
echo "ok: the old picture is kept"
