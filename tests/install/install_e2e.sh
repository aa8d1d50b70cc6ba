#!/usr/bin/env bash
# End-to-end run of the install (run it under xvfb-run): `cmake --install` into a temporary
# prefix whose path holds a blank, then both programs run from PREFIX/bin. The editor starts
# through its link (so it finds pal.bmp and color.bmp in PREFIX/lib/spritehex), F1 shows the key
# help, Esc gives the keyboard back, Q closes the editor. Then tools/uninstall.sh removes exactly
# what was installed, and an install never replaces a file it did not make.
#
#   install_e2e.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(readlink -f "$1")
src=$(readlink -f "$2")
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$src/tests/e2e/lsan.supp}
source "$src/tools/x-session.sh"
x_session install
prefix="$work/my prefix"
installed() { # every file and link under a prefix, one a line, sorted
  (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
}

# --- install ------------------------------------------------------------------------------------
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "install"; }
id=io.github.spritehex.spritehex
files="bin/spritehex bin/spritehex-cli lib/spritehex/color.bmp lib/spritehex/pal.bmp \
lib/spritehex/spritehex lib/spritehex/spritehex-cli share/applications/$id.desktop \
share/bash-completion/completions/spritehex-cli share/doc/spritehex/changelog.gz \
share/doc/spritehex/copyright share/icons/hicolor/128x128/apps/spritehex.png \
share/icons/hicolor/256x256/apps/spritehex.png share/icons/hicolor/32x32/apps/spritehex.png \
share/icons/hicolor/48x48/apps/spritehex.png share/icons/hicolor/64x64/apps/spritehex.png \
share/man/man1/spritehex-cli.1.gz share/man/man1/spritehex.1.gz share/metainfo/$id.metainfo.xml "
check "installed files" "$files" "$(installed "$prefix")"
check "editor link" "../lib/spritehex/spritehex" "$(readlink "$prefix/bin/spritehex")"
check "cli link" "../lib/spritehex/spritehex-cli" "$(readlink "$prefix/bin/spritehex-cli")"
check "desktop entry runs the linked editor with the chosen file" "Exec=\"$prefix/bin/spritehex\" %f" \
  "$(grep '^Exec=' "$prefix/share/applications/$id.desktop")"
check "desktop entry names the icon" "Icon=spritehex" \
  "$(grep '^Icon=' "$prefix/share/applications/$id.desktop")"
icon=$prefix/share/icons/hicolor/32x32/apps/spritehex.png
check "icon is a 32 x 32 PNG" "PNG 32x32" "$(/usr/bin/identify -format '%m %wx%h' "$icon")"
# examples/ship.dat at twice its size: pixel (7, 0) is cyan (7), pixel (0, 0) is colour 0.
check "icon: the ship's nose" 42EBF5 "$(pixel "$icon" 14 0)"
check "icon: colour 0 as the PNG export paints it" 303038 "$(pixel "$icon" 0 0)"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "a second install over the first"
check "a second install leaves the same files" "$files" "$(installed "$prefix")"
# man finds the pages of a prefix whose bin/ is on the PATH.
check "man finds spritehex-cli(1)" "$prefix/share/man/man1/spritehex-cli.1.gz" \
  "$(PATH="$prefix/bin:$PATH" env -u MANPATH man -w spritehex-cli)"

# --- spritehex-cli from PREFIX/bin ----------------------------------------------------------------
check "spritehex-cli info through the link" "width: 16 height: 16 cels: 4" \
  "$("$prefix/bin/spritehex-cli" info "$src/examples/walker.dat" | tr '\n' ' ' | sed 's/ $//')"
check "spritehex-cli found on PATH" "spritehex-cli" \
  "$(PATH="$prefix/bin:$PATH" spritehex-cli --version | cut -d' ' -f1)"

# --- the editor from PREFIX/bin ------------------------------------------------------------------
set +e
msg=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/spritehex" 2>&1 >/dev/null)
rc=$?
set -e
check "exit status without a display" 1 "$rc"
[[ "$msg" == *"use $prefix/lib/spritehex/spritehex-cli."* ]] || fail "no-display message: $msg"
echo "ok: without a display the editor names the installed spritehex-cli"

"$prefix/bin/spritehex" & pid=$!
win=$(find_window "new 1/1")
wait_focus "$win"
xdotool key F1
help=$(find_window "spritehex keys")
wait_focus "$help"
xdotool key Escape
wait_focus "$win"
echo "ok: F1 shows the key help, Esc gives the keyboard back to the editor"
xdotool key q
set +e; wait "$pid"; rc=$?; set -e; pid=
check "Q closes the installed editor" 0 "$rc"

# --- install never replaces a file it did not make ---------------------------------------------
other="$work/other"
mkdir -p "$other/bin"
echo "not ours" >"$other/bin/spritehex"
if cmake --install "$build" --prefix "$other" >"$work/other.log" 2>&1; then
  fail "an install over a foreign $other/bin/spritehex went through"
fi
grep -q "already exists and is not" "$work/other.log" || fail "message: $(cat "$work/other.log")"
check "the foreign file is untouched" "not ours" "$(cat "$other/bin/spritehex")"
check "and nothing was installed beside it" "bin/spritehex " "$(installed "$other")"

# --- uninstall ----------------------------------------------------------------------------------
touch "$prefix/lib/spritehex/temp.bmp"  # as a PNG export leaves it
export XDG_CACHE_HOME=$work/cache      # and where it leaves it after a system-wide install
mkdir -p "$XDG_CACHE_HOME/spritehex"
touch "$XDG_CACHE_HOME/spritehex/temp.bmp"
mkdir -p "$prefix/share/applications"
echo keep >"$prefix/share/applications/other.desktop"
"$src/tools/uninstall.sh" "$prefix" >/dev/null
check "uninstall leaves only what it did not install" "share/applications/other.desktop " \
  "$(installed "$prefix")"
check "uninstall removes the cached temp.bmp and its folder" "" "$(ls -A "$XDG_CACHE_HOME")"
"$src/tools/uninstall.sh" "$prefix" >/dev/null || fail "a second uninstall"
echo "install: all checks passed"
