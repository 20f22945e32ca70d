#!/usr/bin/env bash
# Sets up everything, builds, starts the simulated modem in the background and then the
# configuration window; closing the window stops the simulated modem.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default --target zelar-config zelar-sim

config_dir="${XDG_CONFIG_HOME:-$HOME/.config}/Kalvimo/Zelar2"
mkdir -p "$config_dir"
coproc SIM { exec build/tools/zelar-sim/zelar-sim --state "$config_dir/simulated-modem.state"; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
read -r com device <&"${SIM[0]}"
echo "Simulated modem on $com ($device); choose $com in the port list."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: the window runs under Xvfb, where it cannot be seen." >&2
    xvfb-run -a -s "-screen 0 1280x800x24" build/src/ui/zelar-config
else
    build/src/ui/zelar-config
fi
