#!/usr/bin/env bash
# The bash completion of zelar-cli offers what the program takes: every command its --help
# names, every option a command's --help lists, and the ports `zelar-cli ports` prints. A
# command or option added to the program but not to the completion fails here.
# completion_test.sh ZELAR_CLI COMPLETION_SCRIPT
set -euo pipefail
program=$1
source "$2"

failures=0
# The words the completion offers for the command line "$@" (the last word being completed).
offered() {
    COMP_WORDS=(zelar-cli "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _zelar_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort -u
}
same() {
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1" >&2
        diff <(echo "$2") <(echo "$3") >&2 || true
        failures=$((failures + 1))
    fi
}

commands=$("$program" --help | sed -nE 's/^  zelar-cli ([a-z][a-z-]*).*/\1/p' | sort -u)
same "commands (< program, > completion)" "$(printf '%s\n' $commands --help | sort -u)" \
    "$(offered '')"

options=$("$program" read --help | sed -nE 's/^  (-h,)?(--[a-z-]+).*/\2/p' | sort -u)
same "options (< program, > completion)" "$options" "$(offered read --)"

# A port the program lists: a COM link in a configuration folder of this test's own.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/Kalvimo/Zelar2/ports"
ln -s /dev/null "$config/Kalvimo/Zelar2/ports/COM7"
export XDG_CONFIG_HOME=$config
# Only the names: `zelar-cli ports` prints each port's device after a tab.
same "ports after --port" "COM7" "$(PATH=$(dirname "$program"):$PATH offered read --port '')"
same "user numbers" "$(printf '%s\n' 1 2 3 4 5 6)" "$(offered read --user '')"
same "mode's argument" "$(printf '%s\n' device terminal)" "$(offered mode '')"

[ "$failures" -eq 0 ] && echo "completion offers what zelar-cli takes"
exit "$failures"
