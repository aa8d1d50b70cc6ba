#!/usr/bin/env bash
# Fails when a file includes from a folder it may not use: dependencies run one way, from the
# core up to the programs (the README's layout table says the same in words). Also fails when a
# test folder reaches into another test folder instead of tests/support.
#
#   tools/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# folder: the folders under src/ whose headers it may include (itself included).
rules=(
  "document: document"
  "generator: generator document"
  "image: image document"
  "imgctl: imgctl image document"
  "keys: keys"
  "tools: tools imgctl image document"
  "generator/window: generator/window generator keys document"
  "editor: editor generator/window generator keys imgctl image document"
  "app: app editor generator/window generator keys imgctl image document"
  "cli: cli generator imgctl image document"
)

# The folder an include names: "generator/window/x.h" is generator/window, "editor/x.h" editor.
folder_of() {
  case "$1" in
    generator/window/*) echo generator/window ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

status=0
for rule in "${rules[@]}"; do
  folder=${rule%%:*}
  allowed=" ${rule#*: } "
  files=$(find "src/$folder" -maxdepth 1 \( -name '*.cpp' -o -name '*.h' \))
  for file in $files; do
    while IFS= read -r include; do
      used=$(folder_of "$include")
      [[ -z "$used" || "$allowed" == *" $used "* ]] && continue
      echo "$file includes $include: $folder may not use $used" >&2
      status=1
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done

# Test folders share helpers through tests/support only.
for list in tests/*/CMakeLists.txt; do
  here=$(basename "$(dirname "$list")")
  if grep -n 'CMAKE_SOURCE_DIR}/tests/' "$list" | grep -v "tests/$here" | grep -v "tests/support"; then
    echo "$list reaches into another test folder" >&2
    status=1
  fi
done
[[ $status -eq 0 ]] && echo "Layers: every include runs downward."
exit $status
