#!/usr/bin/env bash
# spritehex-cli png onto an existing picture that may be written, in a folder that may not: the
# picture is overwritten in place (it cannot be written beside it first) and nothing else appears.
# A failed write into that folder leaves the old picture and says so. Root may write anywhere, so
# as root the tool runs as the user nobody; what nobody runs and reads is copied into the test's
# own folder first, since the checkout may lie in a folder nobody may not enter.
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

mkdir "$work/bin" "$work/out"
cp "$cli" "$(dirname "$cli")/color.bmp" "$work/bin/"
cp "$src/examples/ship.dat" "$work/"
cli=$work/bin/$(basename "$cli")
chmod -R a+rX "$work/bin" "$work/ship.dat"
printf 'old picture' >"$work/out/ship.png"
chmod 666 "$work/out/ship.png"
chmod 555 "$work/out"
"${as_user[@]}" "$cli" png "$work/ship.dat" "$work/out/ship.png" ||
  fail "png into a locked folder exited with $?"
check "picture overwritten in place" 32x32 "$(identify -format '%wx%h' "$work/out/ship.png")"
check "sprite pixel (7, 1): white" FFFFFF "$(pixel "$work/out/ship.png" 15 3)"
check "nothing else in the folder" ship.png "$(ls -A "$work/out")"
check "the picture keeps its owner" "$(stat -c %U "$work/out/ship.png")" "$(id -un)"

chmod 444 "$work/out/ship.png"
cp "$work/out/ship.png" "$work/before.png"
set +e
message=$("${as_user[@]}" "$cli" png "$work/ship.dat" "$work/out/ship.png" 2>&1)
status=$?
set -e
check "a picture that may not be written either: exit status" 2 "$status"
[[ "$message" == "spritehex-cli: Cannot create $work/out/ship.png: Permission denied." ]] ||
  fail "message: $message"
echo "ok: message names the picture"
cmp -s "$work/before.png" "$work/out/ship.png" || fail "the old picture changed"
echo "ok: the old picture is kept"
