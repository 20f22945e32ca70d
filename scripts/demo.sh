#!/usr/bin/env bash
# Sets up everything, builds, starts the simulated modem in the background and then the
# configuration window; closing the window stops the simulated modem. Without a display the
# window runs on a virtual one (Xvfb), and the script says how to see and stop it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default --target zelar-config zelar-sim

config_dir="${XDG_CONFIG_HOME:-$HOME/.config}/Kalvimo/Zelar2"
mkdir -p "$config_dir"
# The level moves, so that the signal meter ("Непрерывно") has something to draw.
coproc SIM { exec build/tools/zelar-sim/zelar-sim --signal-walk 2 --state "$config_dir/simulated-modem.state"; }
sim_pid=$SIM_PID
xvfb_pid=""
trap 'kill "$sim_pid" $xvfb_pid 2>/dev/null || true; wait "$sim_pid" $xvfb_pid 2>/dev/null || true' EXIT
read -r com device <&"${SIM[0]}"
echo "Simulated modem on $com ($device); choose $com in the port list."

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    build/src/ui/zelar-config
    exit
fi

# No screen: a virtual one, on the first display number nobody uses.
. scripts/xvfb.sh
start_xvfb 99 1280x800x24
display=$xvfb_display
cat <<END
No display: the window runs on the virtual display :$display (Xvfb, 1280x800), unseen.
  Screenshot:  DISPLAY=:$display /usr/bin/import -window root shot.png
  Keys, mouse: DISPLAY=:$display xdotool ...   (apt-get install xdotool)
  Stop:        Ctrl+C here, or kill $$; the window, the simulated modem and Xvfb all end.
END
DISPLAY=":$display" build/src/ui/zelar-config
