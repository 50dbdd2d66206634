#!/bin/sh
# Loads the completion scripts in bash and zsh and asks each for a few completions, with
# kovferrit-cli answering the names for a program folder of its own.
# usage: completion.sh KOVFERRIT_CLI SOURCE_DIR
set -eu
cli=$1
src=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
"$cli" --home "$home" settings set Port --number 8080
printf '0,2,csv,2\r\nisocode,name,id,country,category,language\r\nde,Alpha TV,101,DE,General,de\r\nde,Beta One,102,DE,News,de\r\n' >"$home/kovquibcg.dat"

fail=0
expect() { # what was asked, what came, what should have
    if [ "$2" != "$3" ]; then
        echo "FAIL $1: got [$2], expected [$3]"
        fail=1
    fi
}

# bash: the words on the line up to the one completed; prints the candidates, | after each.
bashComplete() {
    bash -c '. "$0"
        complete -p kovferrit-cli > /dev/null || exit 1
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _kovferrit_cli "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s|" "${COMPREPLY[@]}"' "$src/data/completion/kovferrit-cli.bash" "$cli" "$@"
}
expect "bash command" "$(bashComplete --home "$home" sta)" "status|"
expect "bash setting" "$(bashComplete --home "$home" settings get Po)" "Port|"
expect "bash option" "$(bashComplete --home "$home" settings list --s)" "--show-secrets|"
expect "bash channel" "$(bashComplete --home "$home" channels set Al)" 'Alpha\ TV|'
expect "bash --channel" "$(bashComplete --home "$home" sync --channel Be)" 'Beta\ One=|'

# zsh: the completion system's builtins stand in for themselves, keeping what starts with PREFIX.
zshComplete() {
    zsh -fc '. "$0"
        compadd() {
            local suffix=""
            while [[ $1 == -* && $1 != -- ]]; do
                [[ $1 == -S ]] && { suffix=$2; shift; }
                shift
            done
            [[ $1 == -- ]] && shift
            local c; for c in "$@"; do [[ $c == ${PREFIX}* ]] && print -rn -- "$c$suffix|"; done
        }
        _describe() { compadd -- ${${(P)4}%%:*}; }
        _files() { :; }
        words=("$@"); CURRENT=$#; PREFIX=${words[CURRENT]}
        _kovferrit-cli' "$src/data/completion/_kovferrit-cli" "$cli" "$@"
}
expect "zsh command" "$(zshComplete --home "$home" sta)" "status|"
expect "zsh setting" "$(zshComplete --home "$home" settings set Po)" "Port|"
expect "zsh option" "$(zshComplete --home "$home" settings get --s)" "--show-secrets|"
expect "zsh --channel" "$(zshComplete --home "$home" sync --channel Al)" "Alpha TV=|"
exit $fail
