# bash completion for kovferrit-cli: commands, options, setting names and channel names. The
# names come from the program itself (settings list, channels list), for the program folder
# given with --home on the line, else the user's.

_kovferrit_cli_matches()
{
    # Offers each line of standard input that starts with $cur, quoted for the command line.
    # Lines are compared as they are, never expanded: a channel name may hold $ or `.
    local line
    while IFS= read -r line; do
        [[ -n $line && $line == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$line")$1")
    done
}

_kovferrit_cli()
{
    local cli=$1 cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local i command="" start=0
    local -a home=() args=()
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --home)
            home=(--home "${COMP_WORDS[i + 1]}")
            ((i++))
            ;;
        -*) ;;
        *)
            command=${COMP_WORDS[i]}
            start=$i
            break
            ;;
        esac
    done
    if [[ -z $command ]]; then
        if [[ $prev == --home ]]; then
            COMPREPLY=($(compgen -d -- "$cur"))
        elif [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--home --quiet --verbose --version --help -q -v -h' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'settings account translate fetch sync tick daemon channels
                recordings status help' -- "$cur"))
        fi
        return
    fi
    args=("${COMP_WORDS[@]:start+1:COMP_CWORD-start-1}")
    case $command in
    settings)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--text --number --force --json --show-secrets --help' -- \
                "$cur"))
        elif ((${#args[@]} == 0)); then
            COMPREPLY=($(compgen -W 'list get set delete export' -- "$cur"))
        elif ((${#args[@]} == 1)) && [[ ${args[0]} == @(get|set|delete) ]]; then
            _kovferrit_cli_matches < <("$cli" "${home[@]}" settings list 2>/dev/null |
                sed 's/ : .*//')
        elif [[ ${args[0]} == export ]]; then
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
        ;;
    fetch)
        COMPREPLY=($(compgen -W 'getjobs channelguide gettargetsystems --manual --zero-serial
            --help' -- "$cur"))
        ;;
    sync)
        if [[ $prev == --channel ]]; then
            compopt -o nospace 2>/dev/null
            _kovferrit_cli_matches = < <("$cli" "${home[@]}" channels list 2>/dev/null | cut -f1)
        else
            COMPREPLY=($(compgen -W '--timed --dry-run --json --channel --help' -- "$cur"))
        fi
        ;;
    tick | daemon)
        COMPREPLY=($(compgen -W '--admin --help' -- "$cur"))
        ;;
    channels)
        if ((${#args[@]} == 0)); then
            COMPREPLY=($(compgen -W 'list set match' -- "$cur"))
        elif [[ ${args[0]} == list ]]; then
            COMPREPLY=($(compgen -W '--json' -- "$cur"))
        elif [[ ${args[0]} == set ]] && ((${#args[@]} == 1)); then
            _kovferrit_cli_matches < <("$cli" "${home[@]}" channels list 2>/dev/null | cut -f1)
        fi
        ;;
    recordings | status)
        COMPREPLY=($(compgen -W '--json --help' -- "$cur"))
        ;;
    help)
        COMPREPLY=($(compgen -W 'settings account translate fetch sync tick daemon channels
            recordings status' -- "$cur"))
        ;;
    esac
}
complete -F _kovferrit_cli kovferrit-cli
