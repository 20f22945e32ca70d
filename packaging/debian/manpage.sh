#!/bin/sh
# Writes a program's manual page from its --help with help2man. zelar-cli's help names the
# commands; every command's --help lists the same options, so one command's gives the section
# OPTIONS, and the help's paragraph on exit statuses becomes the section EXIT STATUS. The help holds Russian names: help2man reads it as UTF-8, not as its default C
# locale, which would turn every letter beyond ASCII into "?".
# manpage.sh PROGRAM VERSION "SHORT DESCRIPTION" OUTPUT
set -eu
program=$1
version=$2
name=$3
output=$4

include=$(mktemp)
wrapper=$(mktemp)
trap 'rm -f "$include" "$wrapper"' EXIT

case $(basename "$program") in
zelar-cli)
    {
        printf '[SYNOPSIS]\n.B zelar-cli\n.I COMMAND\n[\\fIOPTIONS\\fR] [\\fIFILE\\fR...]\n'
        printf '[OPTIONS]\nEach command takes those of these options that its text names and refuses the others.\n'
        # CLI11's list: "  --name VALUE   text", the text going on in indented lines.
        "$program" read --help | awk '
            function roff(s) { gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s); sub(/^[.'\'']/, "\\\\\\&&", s); return s }
            /^Options:/ { on = 1; next }
            !on || /^$/ { next }
            /^  -/ {
                line = substr($0, 3)
                split_at = index(line, "  ")
                option = split_at ? substr(line, 1, split_at - 1) : line
                text = split_at ? substr(line, split_at) : ""
                sub(/^ +/, "", text)
                n = split(option, part, " ")
                printf ".TP\n\\fB%s\\fR", roff(part[1])
                if (n > 1) printf " \\fI%s\\fR", roff(part[2])
                printf "\n"
                if (text != "") print roff(text)
                next
            }
            { sub(/^ +/, ""); print roff($0) }'
        # The help's paragraph "Exit status: ..." becomes the section EXIT STATUS.
        printf '[EXIT STATUS]\n'
        "$program" --help | awk '
            /^Exit status:/ { on = 1; sub(/^Exit status: */, "") }
            on && /^$/ { exit }
            on { gsub(/\\/, "\\e"); gsub(/-/, "\\-"); sub(/^[.'\'']/, "\\\\&&"); print }'
        printf '[SEE ALSO]\n.BR zelar-config (1),\n.BR zelar-sim (1)\n'
    } >"$include"
    # help2man reads the help through this, without that paragraph.
    printf '#!/bin/sh\n[ "$1" = --help ] || exec "%s" "$@"\n"%s" --help | awk %s\n' \
        "$program" "$program" "'/^Exit status:/ { skip = 1 } skip && /^\$/ { skip = 0 } !skip'" \
        >"$wrapper"
    chmod +x "$wrapper"
    helpProgram=$wrapper
    ;;
zelar-config)
    printf '[SEE ALSO]\n.BR zelar-cli (1),\n.BR zelar-sim (1)\n' >"$include"
    ;;
*)
    printf '[SEE ALSO]\n.BR zelar-config (1),\n.BR zelar-cli (1)\n' >"$include"
    ;;
esac

help2man --no-info --locale=C.UTF-8 --version-string="$version" --name="$name" --include="$include" \
    --output="$output" "${helpProgram:-$program}"
