#!/usr/bin/env bash
# CHANGELOG.md's releases become Debian changelog entries: every item whole (semicolons and
# brackets too, which CMake's lists would eat), lines within Debian's 80 columns, signed on the
# release's date with its weekday, newest first.
# changelog_test.sh CMAKE CHANGELOG_SCRIPT
set -euo pipefail
cmake=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat >"$dir/CHANGELOG.md" <<'MD'
# Changelog

Introduction, not part of any release.

## 0.2 — 2027-03-01

- A long item that goes on and on past the width of one Debian line; it keeps its
  semicolon, its [brackets] and "Быстрый обмен" whole.
- A short one.

## 0.1 — 2026-12-07

- The first release.
MD
"$cmake" -DCHANGELOG="$dir/CHANGELOG.md" -DPACKAGE=zelar-config \
    "-DMAINTAINER=Zelar-2 tool maintainers <maintainers@zelar2-config.org>" \
    -DOUTPUT="$dir/changelog" -P "$2"

expected='zelar-config (0.2) unstable; urgency=medium

  * A long item that goes on and on past the width of one Debian line; it
    keeps its semicolon, its [brackets] and "Быстрый обмен" whole.
  * A short one.

 -- Zelar-2 tool maintainers <maintainers@zelar2-config.org>  Mon, 01 Mar 2027 00:00:00 +0000

zelar-config (0.1) unstable; urgency=medium

  * The first release.

 -- Zelar-2 tool maintainers <maintainers@zelar2-config.org>  Mon, 07 Dec 2026 00:00:00 +0000'
if [ "$(cat "$dir/changelog")" != "$expected" ]; then
    diff <(echo "$expected") "$dir/changelog" >&2 || true
    exit 1
fi
if command -v dpkg-parsechangelog >/dev/null; then
    dpkg-parsechangelog -l "$dir/changelog" --show-field Version | grep -qx 0.2
fi
echo "the Debian changelog holds every release whole"
