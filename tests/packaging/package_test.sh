#!/usr/bin/env bash
# The Debian package unpacked with dpkg-deb into a scratch folder: both programs run from there
# as the build's own do, spritehex-cli loads libpng and zlib from the system and nothing of a
# desktop, the desktop entry and the AppStream metadata pass their validators and name each
# other, and every icon is the same picture at its folder's size.
#
#   package_test.sh PACKAGE BUILD_BIN SOURCE_DIR
set -euo pipefail
package=$1 bin=$2 src=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { # what expected actual
  [[ "$2" == "$3" ]] || fail "$1: expected '$2', got '$3'"
  echo "ok: $1"
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$package" "$work"
usr=$work/usr

check "spritehex --version" "$("$bin/spritehex" --version)" "$("$usr/bin/spritehex" --version)"
ship=$src/examples/ship.dat
check "spritehex-cli tables examples/ship.dat" "$("$bin/spritehex-cli" tables "$ship")" \
  "$("$usr/bin/spritehex-cli" tables "$ship")"
# png reads the color.bmp beside the program, through the link in usr/bin.
"$bin/spritehex-cli" png "$src/examples/walker.dat" "$work/build.png"
"$usr/bin/spritehex-cli" png "$src/examples/walker.dat" "$work/package.png"
cmp "$work/build.png" "$work/package.png" || fail "png differs from the build's"
echo "ok: spritehex-cli png finds color.bmp in usr/lib/spritehex"
libraries=$(ldd "$usr/lib/spritehex/spritehex-cli" 2>&1) || fail "spritehex-cli: $libraries"
for library in libpng16 libz; do
  grep -q "^[[:space:]]$library\.so" <<<"$libraries" ||
    fail "spritehex-cli does not load $library: $libraries"
done
! grep -E -i 'libQt|libX11|libxcb|fontconfig' <<<"$libraries" ||
  fail "spritehex-cli loads desktop libraries"
echo "ok: spritehex-cli loads libpng and zlib from the system, and no desktop library"

entry=$(ls "$usr"/share/applications/*.desktop)
metainfo=$(ls "$usr"/share/metainfo/*.metainfo.xml)
check "desktop-file-validate says nothing" "" "$(desktop-file-validate "$entry" 2>&1)"
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli validate"
check "the metadata launches the desktop entry" "$(basename "$entry")" \
  "$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")"
check "the metadata's file is named by its id" "$(basename "$metainfo" .metainfo.xml)" \
  "$(sed -n 's|.*<id>\(.*\)</id>.*|\1|p' "$metainfo")"

# Each icon, sampled at one point per pixel of examples/ship.dat, gives the picture of the first.
icons=("$usr"/share/icons/hicolor/*/apps/spritehex.png)
[[ ${#icons[@]} -ge 2 ]] || fail "only ${#icons[@]} icon sizes"
side=$("$bin/spritehex-cli" info "$ship" | sed -n 's/^width: //p')
reference=$(/usr/bin/convert "${icons[0]}" -sample "${side}x$side" txt:-)
for icon in "${icons[@]}"; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  check "icon $size" "PNG $size" "$(/usr/bin/identify -format '%m %wx%h' "$icon")"
  [[ "$(/usr/bin/convert "$icon" -sample "${side}x$side" txt:-)" == "$reference" ]] ||
    fail "icon $size is not the same picture as ${icons[0]}"
done
largest=$(/usr/bin/identify -format '%w\n' "${icons[@]}" | sort -n | tail -1)
((largest >= 48)) || fail "the largest icon is $largest pixels, software centres want 48 or more"
echo "package: all checks passed"
