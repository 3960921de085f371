#!/usr/bin/env bash
# Prints what the lumavox-cli completion (the file given) offers in a few places, one line each,
# in the current folder.
source /usr/share/bash-completion/bash_completion
source "$1"
offer() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _lumavox_cli lumavox-cli "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
echo "commands: $(offer lumavox-cli cal)"
echo "play: $(offer lumavox-cli play '')"
echo "export OUT: $(offer lumavox-cli export demo.prj --step 20 '')"
echo "output: $(offer lumavox-cli play demo.prj --output '')"
