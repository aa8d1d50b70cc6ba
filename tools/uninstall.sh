#!/usr/bin/env bash
# Removes what `make install PREFIX=...` put under PREFIX, and nothing else:
#   PREFIX/bin/spritehex, PREFIX/bin/spritehex-cli     (only links into lib/spritehex)
#   PREFIX/lib/spritehex/{spritehex,spritehex-cli,pal.bmp,color.bmp}, and temp.bmp, which the
#   editor leaves there after a PNG export; then the directory itself when nothing else is in it
#   PREFIX/share/applications/io.github.spritehex.spritehex.desktop (and spritehex.desktop, its
#   name before), PREFIX/share/metainfo/io.github.spritehex.spritehex.metainfo.xml
#   PREFIX/share/icons/hicolor/*/apps/spritehex.png
#   PREFIX/share/man/man1/spritehex.1.gz and spritehex-cli.1.gz
#   PREFIX/share/bash-completion/completions/spritehex-cli
#   PREFIX/share/doc/spritehex/{copyright,changelog.gz}, then that directory when it is empty
#   and the temp.bmp a PNG export leaves in your cache folder when the program's folder may not
#   be written (${XDG_CACHE_HOME:-~/.cache}/spritehex/), with that folder when it is then empty
#
#   tools/uninstall.sh PREFIX
set -euo pipefail
[[ $# -eq 1 && -n "$1" ]] || { echo "usage: tools/uninstall.sh PREFIX" >&2; exit 2; }
prefix=${1%/}
dir=$prefix/lib/spritehex

remove() {
  if [[ -e "$1" || -L "$1" ]]; then
    rm -f -- "$1"
    echo "Removed $1"
  fi
}

for program in spritehex spritehex-cli; do
  link=$prefix/bin/$program
  if [[ -L "$link" ]]; then
    target=$(readlink -- "$link")
    if [[ "$target" == */lib/spritehex/$program ]]; then
      remove "$link"
    else
      echo "Left $link alone: it links to $target, not to the installed $program" >&2
    fi
  elif [[ -e "$link" ]]; then
    echo "Left $link alone: it is not a link made by the install" >&2
  fi
done
for file in spritehex spritehex-cli pal.bmp color.bmp temp.bmp; do remove "$dir/$file"; done
if [[ -d "$dir" ]]; then
  if rmdir -- "$dir" 2>/dev/null; then
    echo "Removed $dir"
  else
    echo "Left $dir: it holds files the install did not put there" >&2
  fi
fi
id=io.github.spritehex.spritehex
share=$prefix/share
for file in "applications/$id.desktop" applications/spritehex.desktop "metainfo/$id.metainfo.xml" \
  man/man1/spritehex.1.gz man/man1/spritehex-cli.1.gz bash-completion/completions/spritehex-cli \
  doc/spritehex/copyright doc/spritehex/changelog.gz; do
  remove "$share/$file"
done
for icon in "$share"/icons/hicolor/*/apps/spritehex.png; do remove "$icon"; done
if [[ -d "$share/doc/spritehex" ]] && rmdir -- "$share/doc/spritehex" 2>/dev/null; then
  echo "Removed $share/doc/spritehex"
fi
cache=${XDG_CACHE_HOME:-${HOME:-/nonexistent}/.cache}/spritehex
remove "$cache/temp.bmp"
if [[ -d "$cache" ]] && rmdir -- "$cache" 2>/dev/null; then echo "Removed $cache"; fi
