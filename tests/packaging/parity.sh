#!/usr/bin/env bash
# The man pages and the Bash completion against the programs themselves: every command and option
# of the usage lines of `spritehex-cli --help`, the values that the CLI's own error message lists
# for an option, the file name extension of each operand, and every key of the key tables.
#
#   parity.sh man CLI KEY_NAMES MAN_DIR           (MAN_DIR: spritehex.1 and spritehex-cli.1)
#   parity.sh completion CLI COMPLETION_FILE
set -uo pipefail
what=$1 cli=$2
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
same() { # what expected actual
  if [[ "$2" == "$3" ]]; then echo "ok: $1"; else fail "$1: expected '$2', got '$3'"; fi
}
sorted() { tr ' ' '\n' | sed '/^$/d' | LC_ALL=C sort | tr '\n' ' '; }

# The usage lines of --help, one a command: "COMMAND;OPTIONS;VALUED;OPERANDS", where VALUED lists
# "OPTION=VALUE" for the options that take a value and OPERANDS the operands' names. The line of
# --help and --version is "--help;--help --version;;".
usage() {
  "$cli" --help | awk '
    /^Usage:/ { on = 1; next }
    on && /^$/ { exit }
    on && $1 == "spritehex-cli" { n++ }
    on { line[n] = line[n] " " $0 }
    END {
      for (i = 1; i <= n; i++) {
        w = split(line[i], word, " "); options = valued = operands = ""
        for (j = 2; j <= w; j++) {
          t = word[j]
          if (word[2] ~ /^-/) {   # --help | --version
            if (t ~ /^-/) options = options " " t
          } else if (t ~ /^\[?-/) {
            gsub(/[][]/, "", t); options = options " " t
            if (word[j] !~ /^\[.*\]$/) {
              v = word[++j]; sub(/\]$/, "", v); valued = valued " " t "=" v
            }
          } else if (j > 2) operands = operands " " t
        }
        print word[2] ";" options ";" valued ";" operands
      }
    }'
}
mapfile -t commands < <(usage)
[[ ${#commands[@]} -ge 2 ]] || { echo "FAIL: no usage lines in '$cli --help'" >&2; exit 1; }

# A man page without its font changes and escapes: "\fB\-\-type\fR" is "--type".
plain() { sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/\\(mu/x/g' -e 's/\\&//g' "$1"; }

# "SUBSECTION;TAG" for every tag of a .TP or .TQ list in section SECTION; a tag of keys is split at
# ", " ("PageUp, J" is two tags).
tags() { # page section
  plain "$1" | awk -v section="$2" '
    /^\.SH/ { on = ($2 == section) }
    on && /^\.SS/ { sub(/^\.SS /, ""); gsub(/"/, ""); sub_title = $0 }
    on && tag { n = split($0, t, ", "); for (i = 1; i <= n; i++) print sub_title ";" t[i] }
    { tag = on && /^\.T[PQ]/ }'
}

check_man() { # key_names man_dir
  local page=$2/spritehex-cli.1 line command options valued operands
  # The options of every command in the SYNOPSIS of spritehex-cli(1), from its .SY blocks.
  local -A synopsis
  while IFS=';' read -r command options; do synopsis[$command]=$options; done < <(
    plain "$page" | awk '
      /^\.SH/ { on = ($2 == "SYNOPSIS") }
      on && /^\.SY/ { if (command) print command ";" options; command = ""; options = ""; n = 0 }
      on && !/^\.(SY|YS|SH)/ {
        w = split($0, word, " ")
        for (i = 1; i <= w; i++) {
          if (word[i] ~ /^\./) continue
          if (++n == 1) command = word[i]
          if (word[i] ~ /^-/) options = options " " word[i]
        }
      }
      END { if (command) print command ";" options }')
  local tags_of_commands
  tags_of_commands=$(tags "$page" COMMANDS)
  for line in "${commands[@]}"; do
    IFS=';' read -r command options valued operands <<<"$line"
    same "spritehex-cli(1) SYNOPSIS: the options of $command" "$(sorted <<<"$options")" \
      "$(sorted <<<"${synopsis[$command]-(no such command)}")"
    [[ "$command" == -* ]] && continue
    for option in $options; do
      awk -F';' -v c="$command" -v o="$option" '$1 == c && split($2, w, " ") && w[1] == o {
        found = 1 } END { exit !found }' <<<"$tags_of_commands" ||
        fail "spritehex-cli(1): no tag for $option under COMMANDS, $command"
    done
  done

  local keys window key count=0
  keys=$(tags "$2/spritehex.1" KEYS)
  while IFS=$'\t' read -r window key; do
    count=$((count + 1))
    awk -F';' -v w="$window" -v k="$key" 'index($1, w) == 1 && $2 == k { found = 1 }
      END { exit !found }' <<<"$keys" ||
      fail "spritehex(1): no tag for the key '$key' in a KEYS subsection named '$window...'"
  done < <("$1")
  [[ $count -gt 40 ]] || fail "only $count keys in the key tables"
  echo "ok: spritehex(1) names all $count keys of the key tables"
}

check_completion() { # completion_file
  # shellcheck source=/dev/null
  source "$1"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cd "$work" || exit 1
  mkdir folder
  touch -- sprite.dat picture.png source.asm -dash.dat
  offered() { # WORD...: what completing the last word of "spritehex-cli WORD..." offers
    COMP_WORDS=(spritehex-cli "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _spritehex_cli
    echo "${COMPREPLY[*]}" | sorted
  }
  files() { # EXT [START]: the names that a file operand of that extension completes to
    local name names=""
    for name in *; do
      [[ "$name" == "${2-}"* ]] && [[ -d "$name" || "$1" == any || "$name" == *."$1" ]] &&
        names+=" $name"
    done
    sorted <<<"$names"
  }

  local line command options valued operands names=""
  for line in "${commands[@]}"; do names+=" ${line%%;*}"; done
  same "the commands" "$(sorted <<<"$names --version")" "$(offered '')"
  for line in "${commands[@]}"; do
    IFS=';' read -r command options valued operands <<<"$line"
    [[ "$command" == -* ]] && continue
    same "the options of $command" "$(sorted <<<"$options")" "$(offered "$command" -)"
    local pair option value expected
    for pair in $valued; do
      option=${pair%%=*} value=${pair#*=}
      # The CLI names the words an option takes when it is given another one.
      expected=$("$cli" "$command" "$option" '@@' 2>&1 |
        sed -n "s/.*unknown [^']*'@@': use \(.*\)\$/\1/p" | sed 's/, / /g; s/ or / /')
      [[ "$value" == FILE ]] && expected=$(files any)
      same "the values of $command $option" "$(sorted <<<"$expected")" \
        "$(offered "$command" "$option" '')"
    done
    # Each operand by its extension (FILE.dat: .dat files and folders; IN: any file), also after
    # an option with its value and after --; past the last one, nothing unless it repeats.
    local -a names_of=($operands) before=()
    local first=${valued# } i ext
    first=${first%% *}
    for ((i = 0; i <= ${#names_of[@]}; i++)); do
      ext=${names_of[i]:-}
      [[ -z "$ext" && "${names_of[-1]}" == *... ]] && ext=${names_of[-1]}
      ext=${ext%...}
      [[ "$ext" == *.* ]] && ext=${ext##*.} || { [[ -n "$ext" ]] && ext=any; }
      expected=$([[ -n "$ext" ]] && files "$ext")
      same "$command: operand $((i + 1))" "$(sorted <<<"$expected")" \
        "$(offered "$command" "${before[@]}" '')"
      [[ -n "$first" ]] && same "$command ${first%%=*} VALUE: operand $((i + 1))" \
        "$(sorted <<<"$expected")" "$(offered "$command" "${first%%=*}" 1 "${before[@]}" '')"
      same "$command --: operand $((i + 1))" "$(sorted <<<"$expected")" \
        "$(offered "$command" -- "${before[@]}" '')"
      same "$command -- -: operand $((i + 1))" "$([[ -n "$ext" ]] && files "$ext" -)" \
        "$(offered "$command" -- "${before[@]}" -)"
      before+=(x.file)
    done
  done
}

case $what in
  man) check_man "$3" "$4" ;;
  completion) check_completion "$3" ;;
  *) echo "usage: parity.sh man|completion ..." >&2; exit 2 ;;
esac
[[ $failures -eq 0 ]] || { echo "$failures failed" >&2; exit 1; }
