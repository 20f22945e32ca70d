#!/usr/bin/env bash
# CI's Windows step. With Qt for Windows in this machine's cache (scripts/build-qt-windows.sh,
# in the same configuration), runs scripts/test-windows.sh. Without it, builds that Qt first
# (about half an hour on two cores, once a machine) when the change touches what the Windows
# program is built from: src/ui/, tools/, cmake/, a CMakeLists.txt, the Windows packaging, the
# Qt build script, or a Qt class not included before (a new `#include <Q...>`); otherwise it
# says that it skipped the step.
#
# "The change" is what differs from the last commit that passed test-windows.sh on this
# machine, kept in the cache as `windows-proven` beside Qt. Without one (a new machine, a
# cache removed, a commit this clone does not have), everything counts as changed.
set -euo pipefail
cd "$(dirname "$0")/.."

cache="${XDG_CACHE_HOME:-$HOME/.cache}/zelar"
proven_file="$cache/windows-proven"
proven=$(cat "$proven_file" 2>/dev/null || true)

# The change's files and lines since the proven commit; fails without one.
changed_since_proven() {
    [ -n "$proven" ] && git cat-file -e "$proven^{commit}" 2>/dev/null || return 1
    git diff "$proven" HEAD "$@"
}

touches_windows_program() {
    local files lines
    files=$(changed_since_proven --name-only) || return 0
    lines=$(changed_since_proven -- src tools tests)
    grep -qE '^(src/ui/|tools/|cmake/|packaging/windows|scripts/build-qt-windows\.sh$)|(^|/)CMakeLists\.txt$' \
        <<<"$files" || grep -qE '^\+[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' <<<"$lines"
}

if scripts/build-qt-windows.sh --check; then
    :
elif touches_windows_program; then
    echo "ci-windows.sh: the change since ${proven:-no commit proven here} touches the Windows program: Qt for Windows is built first"
else
    echo "ci-windows.sh: Windows test skipped: Qt for Windows is not cached on this machine and nothing the Windows program is built from changed since $proven"
    exit 0
fi
started=$(date +%s)
scripts/test-windows.sh
git rev-parse HEAD >"$proven_file"
echo "ci-windows.sh: the Windows program passed in $(($(date +%s) - started)) s; $(git rev-parse --short HEAD) is proven on Windows here"
