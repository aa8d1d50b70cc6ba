#!/usr/bin/env bash
# Fails when a file includes from a folder it may not use: dependencies run one way, from the
# core up to the programs. The rules are the src/ rows of the layout table in docs/layout.md: a
# folder may include from itself and from the folders its "may use" column names. Every folder
# under src/, at any depth, needs a row, and every row a folder. Also fails when a test folder
# reaches into another test folder instead of tests/support.
#
#   tools/check-layers.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
table=docs/layout.md

# "generator/window: generator keys document base" for the row of `src/generator/window/`.
declare -A allowed
while IFS= read -r row; do
  folder=$(sed -n 's/^| `src\/\([^`]*\)\/` |.*/\1/p' <<<"$row")
  uses=$(awk -F' [|] ' '{ print $3 }' <<<"$row" | { grep -o '`[a-z/]*/`' || true; } |
    tr -d '`' | sed 's|/$||' | tr '\n' ' ')
  allowed[$folder]=" $folder $uses"
done < <(grep '^| `src/' "$table")

status=0
fail() { echo "$*" >&2; status=1; }
for folder in "${!allowed[@]}"; do
  [[ -d "src/$folder" ]] || fail "$table has a row for src/$folder/, which does not exist"
done

# The folder an include names: the longest folder with a row that starts its path.
folder_of() {
  local dir=${1%/*}
  [[ "$dir" == "$1" ]] && { echo ""; return; }
  while [[ -z "${allowed[$dir]+set}" && "$dir" == */* ]]; do dir=${dir%/*}; done
  echo "$dir"
}

while IFS= read -r file; do
  folder=$(dirname "${file#src/}")
  if [[ -z "${allowed[$folder]+set}" ]]; then
    fail "$file: src/$folder/ has no row in $table, so nothing says what it may use"
    continue
  fi
  while IFS= read -r include; do
    used=$(folder_of "$include")
    [[ -z "$used" || "${allowed[$folder]} " == *" $used "* ]] && continue
    fail "$file includes $include: $folder may not use $used"
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(find src \( -name '*.cpp' -o -name '*.h' \) | sort)

# Test folders share helpers through tests/support only.
for list in tests/*/CMakeLists.txt; do
  here=$(basename "$(dirname "$list")")
  if grep -n 'CMAKE_SOURCE_DIR}/tests/' "$list" | grep -v "tests/$here" | grep -v "tests/support"; then
    fail "$list reaches into another test folder"
  fi
done
[[ $status -eq 0 ]] && echo "Layers: every include runs downward, and every folder has its row."
exit $status
