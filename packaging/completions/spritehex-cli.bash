# Bash completion of spritehex-cli: its commands, each command's options, the values of the
# options that take one of a few words, and file names by the extension each operand has in the
# usage lines of `spritehex-cli --help` (FILE.dat, OUT.png ...). The test
# completion_matches_the_cli compares all of these with the program itself.

_spritehex_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    # Bash splits "--format=asm" into "--format", "=" and "asm".
    [[ $prev == = ]] && prev=${COMP_WORDS[COMP_CWORD - 2]}
    local sprite_options="--type --two-layers --color-data"
    # Options that take the next word as their value.
    local valued="--type --layers --pieces --sprites-per-line --format --name --directive --number-style
                  --line-start --line-step --eol -o --cel --size --scale --cels --offset --colour"
    local options="" operands="" # operands: the extension of each operand, "any" for any file; the
                           # last one repeats when it ends in "..."
    case ${COMP_WORDS[1]} in
        tables)
            options="$sprite_options --layers --pieces --sprites-per-line --no-comma --format --name
                     --directive --number-style --line-start --line-step --eol -o"
            operands="dat..." ;;
        check)
            options="$sprite_options --layers --pieces --sprites-per-line"
            operands="dat..." ;;
        info) operands="dat" ;;
        decode)
            options="--size $sprite_options --cels --offset --colour --format"
            operands="any dat" ;;
        png) options="--cel" operands="dat png" ;;
        import) options="--size --scale --strict --indices" operands="png dat" ;;
    esac

    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "tables check info decode png import --help --version" -- "$cur"))
        return
    fi
    [[ -n $operands ]] || return

    # The value of an option.
    local values=""
    case $prev in
        --type) values="sprite chr" ;;
        --layers) values="1 2 3 4 auto" ;;
        --pieces) values="16 8" ;;
        --format) values="hex asm c basic bin" ;;
        --number-style) values='$ # 0x &H h' ;;
        --eol) values="lf crlf" ;;
        --scale) values="1 2 auto" ;;
        -o) _spritehex_cli_files any; return ;;
    esac
    if [[ -n $values ]]; then
        local value
        COMPREPLY=()
        for value in $values; do [[ $value == "$cur"* ]] && COMPREPLY+=("$value"); done
        return
    fi
    [[ " "$valued" " == *[[:space:]]"$prev"[[:space:]]* ]] && return

    # Which operand this word is: count the operands before it.
    local i n=0 ended=
    for ((i = 2; i < COMP_CWORD; i++)); do
        local w=${COMP_WORDS[i]}
        if [[ -z $ended && $w == -- ]]; then
            ended=1
        elif [[ -z $ended && $w == -?* ]]; then
            if [[ ${COMP_WORDS[i + 1]} == = ]]; then
                i=$((i + 2))
            elif [[ " "$valued" " == *[[:space:]]"$w"[[:space:]]* ]]; then
                i=$((i + 1))
            fi
        else
            n=$((n + 1))
        fi
    done
    if [[ -z $ended && $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    local -a exts=($operands)
    local ext=${exts[n]:-}
    [[ -z $ext && ${exts[-1]} == *... ]] && ext=${exts[-1]}
    [[ -n $ext ]] && _spritehex_cli_files "${ext%...}"
}

# File names ending in .EXT, and folders; every file for "any".
_spritehex_cli_files() {
    compopt -o filenames 2>/dev/null
    local IFS=$'\n' cur=${COMP_WORDS[COMP_CWORD]}
    if [[ $1 == any ]]; then
        COMPREPLY=($(compgen -f -- "$cur"))
    else
        COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X "!*.$1" -- "$cur"))
    fi
}

complete -F _spritehex_cli spritehex-cli
