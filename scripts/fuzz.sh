#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each for SECONDS (default 60),
# starting from the seed corpus in fuzz/corpus. Fails on the first crash; prints each target's
# count of executions.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup.sh clang-14 libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for target in build-fuzz/fuzz/*_fuzz; do
    name="$(basename "$target")"
    mkdir -p "$work/$name"
    log="$work/$name.log"
    if ! "$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
        -artifact_prefix="$work/$name-" "$work/$name" "fuzz/corpus/$name" >"$log" 2>&1; then
        tail -n 40 "$log"
        for crash in "$work/$name"-*; do
            [ -e "$crash" ] && cp "$crash" . && echo "saved $(basename "$crash")"
        done
        echo "$name: FAILED" >&2
        exit 1
    fi
    runs="$(grep -o 'Done [0-9]* runs' "$log" | tail -n 1 | grep -o '[0-9]*')"
    echo "$name: ${runs:-0} executions clean in ${seconds} s"
done
