#!/usr/bin/env bash
# Makes the Debian package a second time, from a copy of this source tree in another folder, and
# compares the package and the two programs byte for byte with those of a first build that
# tools/make-deb.sh made in BUILD_DIR, a folder inside this tree (the copy builds at the same
# place inside itself). Both use the same SOURCE_DATE_EPOCH (by default the changelog's).
#
#   tools/check-reproducible.sh BUILD_DIR
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
first=$(cd "$1" && pwd)
inside=${first#"$src"/}
[[ "$inside" != "$first" ]] || { echo "check-reproducible: $first is not inside $src" >&2; exit 2; }
work=$(mktemp -d /tmp/spritehex-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
copy=$work/another/folder/spritehex
mkdir -p "$copy"
tar -C "$src" --exclude=./.git --exclude='./build*' --exclude='./*.deb' -cf - . |
  tar -C "$copy" -xf -
package=$("$src/tools/make-deb.sh" "$first")
second=$("$copy/tools/make-deb.sh" "$copy/$inside")
status=0
for file in "${package#"$first"/}" bin/spritehex bin/spritehex-cli; do
  if cmp "$first/$file" "$copy/$inside/$file"; then
    echo "same bytes: $file"
  else
    status=1
  fi
done
[[ $status -eq 0 ]] && echo "reproducible: $(basename "$second") built in $src and in $copy"
exit $status
