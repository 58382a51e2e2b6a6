#!/usr/bin/env bash
# The completions for bash, zsh and fish offer what tavikctl takes: each
# shell completes the same words to the same candidates, and every command
# tavikctl's help lists. Usage: check-completions.sh SOURCE_DIR TAVIKCTL
set -euo pipefail
source_dir=$1
tavikctl=$2
packaging=$source_dir/packaging
failed=0

bash_complete() {
    bash --norc -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        read -r -a COMP_WORDS <<<"$2"
        [[ $2 == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=$2 COMP_POINT=${#2}
        _tavikctl tavikctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}"' _ "$packaging/tavikctl.bash-completion" "$1" | sort -u
}

zsh_complete() {
    # zsh completes only in its line editor: type the words and Tab into an
    # interactive zsh on a pseudo-terminal, where compadd prints each match.
    timeout 30 zsh -f -c '
        zmodload zsh/zpty
        zpty z zsh -f -i
        zpty -w z "stty -echo; PS1=\"\" RPROMPT=\"\"; fpath=($1 \$fpath); autoload -U compinit; compinit -u -d /dev/null"
        zpty -w z "compadd () { if [[ \${@[1,(i)(-|--)]} == *-(O|A|D)\\ * ]]; then builtin compadd \"\$@\"; return; fi; typeset -a hits; builtin compadd -A hits \"\$@\"; local h; for h in \$hits; do print -r -- \"<h\"\"it>\$h\"; done; }"
        zpty -w z "done-listing () { print -r -- \"<e\"\"nd>\"; exit }; zle -N done-listing; bindkey \"^T\" done-listing"
        # Typed only once the line editor waits: a busy machine may still be loading compinit.
        zpty -w z "PS1=\"<re\"\"ady>\""
        zpty -r z out "*<ready>*"
        zpty -w z "$2"$'"'"'\t\x14'"'"'
        zpty -r z out "*<end>*"
        print -r -- "$out" | tr -d "\r" | grep -o "<hit>[^<]*" | sed "s/^<hit>//"
        zpty -d z' _ "$packaging" "$1" | sort -u
}

fish_complete() {
    fish --no-config -c "source $packaging/tavikctl.fish; complete -C '$1'" | cut -f1 | sort -u
}

expect() {
    local words=$1 wanted
    wanted=$(printf '%s\n' "${@:2}" | sort -u)
    for shell in bash zsh fish; do
        local got
        got=$("${shell}_complete" "$words" | grep -v '^$' || true)
        if [[ $got != "$wanted" ]]; then
            echo "FAIL: $shell completes '$words' to:"
            echo "$got" | sed 's/^/    /'
            echo "  not:"
            echo "$wanted" | sed 's/^/    /'
            failed=1
        fi
    done
}

# Every command the help lists, and nothing else.
mapfile -t commands < <("$tavikctl" --help | sed -n '/^Commands:/,/^$/p' | awk 'NR > 1 && /^  [a-z]/ {print $1}')
[[ ${#commands[@]} -ge 13 ]] || { echo "FAIL: tavikctl --help lists ${#commands[@]} commands"; exit 1; }
expect "tavikctl pro" program
expect "tavikctl program --" --changed --json --port --ports-from --relay --simulate
expect "tavikctl verify --" --all --json --port --ports-from --relay --simulate
expect "tavikctl set site.csv --gate NA" NAND
expect "tavikctl set site.csv --mode M" Max-Time Min-Time Momentary
expect "tavikctl report --page " a4 letter

got=$(zsh_complete "tavikctl ")
if [[ $got != "$(printf '%s\n' "${commands[@]}" | sort -u)" ]]; then
    echo "FAIL: zsh's commands are not the help's:"; diff <(echo "$got") <(printf '%s\n' "${commands[@]}" | sort -u) || true
    failed=1
fi
for shell in bash fish; do
    got=$("${shell}_complete" "tavikctl " | grep -v '^-' || true)
    if [[ $got != "$(printf '%s\n' "${commands[@]}" | sort -u)" ]]; then
        echo "FAIL: $shell's commands are not the help's:"; diff <(echo "$got") <(printf '%s\n' "${commands[@]}" | sort -u) || true
        failed=1
    fi
done
exit $failed
