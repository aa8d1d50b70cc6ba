#!/usr/bin/env bash
# The C output works as a header: included twice, it compiles with gcc as strict C99 and with sdcc
# for the Z80, and the bytes gcc's program reads from its arrays are those of the binary output;
# sprite sets too, an array per cel and table.
#
#   c_header.sh SPRITEHEX_CLI SOURCE_DIR
set -euo pipefail
cli=$(readlink -f "$1")
src=$(readlink -f "$2")
source "$src/tools/x-session.sh"
command -v sdcc >/dev/null || fail "sdcc is not installed (tools/packages.txt lists it)"
work=$(mktemp -d /tmp/spritehex-c.XXXXXX)
trap 'rm -rf "$work"' EXIT

for run in "ship.dat --two-layers --color-data" "walker.dat --two-layers" "font.dat --type chr"; do
  read -r file options <<<"$run"
  name=${file%.dat}
  # shellcheck disable=SC2086 # the options are words
  "$cli" tables $options --format c -o "$work/$name.h" "$src/examples/$file" || [[ $? -eq 1 ]]
  # shellcheck disable=SC2086
  "$cli" tables $options --format bin -o "$work/$name.bin" "$src/examples/$file" || [[ $? -eq 1 ]]
  # Cel by cel, table by table, as the binary output has them (which has no colours table).
  arrays=$(sed -n 's/^static const unsigned char \([A-Za-z0-9_]*\)\[.*/\1/p' "$work/$name.h" |
    grep -v '_colours$')
  {
    echo "#include <stdio.h>"
    echo "#include \"$name.h\""
    echo "#include \"$name.h\""
    echo "int main(void) {"
    echo "    int cel;"
    echo "    for (cel = 0; cel < ${name}_CELS; ++cel) {"
    for array in $arrays; do
      echo "        fwrite($array[cel], 1, sizeof $array[cel], stdout);"
    done
    echo "    }"
    echo "    return 0;"
    echo "}"
  } >"$work/$name.c"
  (cd "$work" && gcc -std=c99 -Wall -Wextra -Werror -pedantic -o "$name" "$name.c") ||
    fail "gcc refuses $name.h"
  "$work/$name" >"$work/$name.out"
  cmp -s "$work/$name.out" "$work/$name.bin" || fail "$name.h: the arrays' bytes differ from --format bin"
  {
    echo "#include \"$name.h\""
    echo "#include \"$name.h\""
    echo "unsigned char first(void) { return ${arrays%%$'\n'*}[0][0]; }"
  } >"$work/${name}_z80.c"
  (cd "$work" && sdcc -mz80 -c "${name}_z80.c" >sdcc.log 2>&1) ||
    fail "sdcc -mz80 refuses $name.h: $(cat "$work/sdcc.log")"
  echo "ok: $name.h ($options), $(stat -c %s "$work/$name.bin") bytes"
done

# Sprite sets: an array per cel and table, in the order of the binary output.
for run in "sign.dat --pieces 16 --two-layers --color-data" "walker.dat --pieces 8 --two-layers"; do
  read -r file options <<<"$run"
  name=${file%.dat}
  # shellcheck disable=SC2086 # the options are words
  "$cli" tables $options --format c -o "$work/set.h" "$src/examples/$file"
  # shellcheck disable=SC2086
  "$cli" tables $options --format bin -o "$work/set.bin" "$src/examples/$file"
  {
    echo "#include <stdio.h>"
    echo "#include \"set.h\""
    echo "#include \"set.h\""
    echo "int main(void) {"
    sed -n 's/^static const unsigned char \([A-Za-z0-9_]*\)\[.*/    fwrite(\1, 1, sizeof \1, stdout);/p' "$work/set.h"
    echo "    return 0;"
    echo "}"
  } >"$work/set.c"
  (cd "$work" && gcc -std=c99 -Wall -Wextra -Werror -pedantic -o set set.c) || fail "gcc refuses the sprite set of $file"
  "$work/set" >"$work/set.out"
  cmp -s "$work/set.out" "$work/set.bin" || fail "$file as a sprite set: the arrays' bytes differ from --format bin"
  echo "ok: the sprite set of $file ($options), $(stat -c %s "$work/set.bin") bytes"
done
