#!/usr/bin/env bash
# A long campaign: 10,000 random operations against the simulated modem, each with a random fault,
# judged against a fault-free run (tests/campaign/README.md). Prints its figure for the README:
# operations, faults injected, outcomes by kind, violations. Takes about a minute.
#
#   scripts/campaign.sh                 a random seed, printed first
#   scripts/campaign.sh SEED [COUNT]    that seed (and that many operations)
#
# Exits with 1 when it found a violation; each is printed with a command line that repeats it.
set -euo pipefail
cd "$(dirname "$0")/.."
seed=${1:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
count=${2:-10000}
cmake --preset default >/dev/null
cmake --build build --target campaign -j2 >/dev/null
build/tests/campaign/campaign --seed "$seed" --operations "$count"
