#!/usr/bin/env bash
# Fills an archive of modems with 10,000 modems x 20 visits through the archive's own code (the
# store and the settings snapshot that zelar-cli and the window record with) and times one
# visit recorded, the list of modems, a history and a diff of two entries; prints the file's
# size. The figures of docs/performance.md; takes a few minutes; not part of CI (.ci/run).
#
#   scripts/bench-archive.sh [MODEMS [VISITS]]
#
# Its last line: archive: record R ms, list L ms, history H ms, diff D ms, size S MB (medians;
# record as zelar-cli does it, opening and closing the archive; list filtered as typed).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZELAR_WITH_QT=ON >/dev/null
cmake --build "$build" --target archive-bench -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tools/archive-bench/archive-bench" "$work/archive.sqlite" "${1:-10000}" "${2:-20}"
