#!/usr/bin/env bash
# Takes the screenshots of the README and docs/features.md: starts the simulated modem and
# the window on a virtual
# display (Xvfb), reads the modem, logs in as user 1, walks the main pages, opens the
# service window, reads again and opens the archive of modems, writing one PNG of each into
# docs/. Needs a build (scripts/test.sh or
# scripts/demo.sh makes one), Xvfb, xdotool and ImageMagick's import:
#   sudo apt-get install -y xvfb xdotool imagemagick
# The clicks go to places in the window's own layout (the window sits at 0,0 with no window
# manager); after a change of that layout, check the pictures and the places below.
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs
sim=build/tools/zelar-sim/zelar-sim
window=build/src/ui/zelar-config
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshots.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$sim" ] && [ -x "$window" ] || { echo "screenshots.sh: build first" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A configuration of its own: the simulated modem's port is the one remembered in Modem.ini.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Kalvimo/Zelar2"
# The archive of modems is kept: the first read finds the modem new, the later ones know it.
printf '[Modem]\nCom=200\nExpert=1\n[Archive]\nEnabled=1\n' >"$XDG_CONFIG_HOME/Kalvimo/Zelar2/Modem.ini"

. scripts/xvfb.sh
start_xvfb 150 1280x800x24
pids+=("$xvfb_pid")
# A window manager, as every desktop has: the window takes its size once framed.
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
fi

"$sim" --com 200 --state "$work/modem.state" >"$work/sim.out" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done

"$window" &
pids+=($!)
main=$(wait_for_window "^Zelar 2" 10) ||
    { echo "screenshots.sh: the window did not show" >&2; exit 1; }
xdotool windowmove "$main" 0 0
sleep 0.5

click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep "${3:-0.7}"; }
shot() { import -window "$1" "$out/$2.png"; echo "$out/$2.png"; }
# Closes the message box on view with Enter.
close_message() {
    local box
    box=$(xdotool search --onlyvisible --name "^Модем$" | head -1)
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
    sleep 0.5
}

mkdir -p "$out"
click 420 38 4            # "Считать"
click 197 568             # the password field
xdotool type --delay 50 1234
click 129 596 1           # "Применить пароль"
close_message
shot "$main" main-window
click 61 77               # users: #1
shot "$main" user-page
click 92 161              # "Настройка модема"
shot "$main" modem-settings
click 86 175              # "Голосовой вызов"
shot "$main" voice-call
click 73 189              # "Диагностика"
shot "$main" diagnostics

xdotool windowfocus --sync "$main" key ctrl+alt+7
sleep 1
setup=$(xdotool search --onlyvisible --name "^Настройки$" | head -1)
[ -n "$setup" ] || { echo "screenshots.sh: the service window did not show" >&2; exit 1; }
xdotool windowmove "$setup" 0 0
sleep 0.5
shot "$setup" service-window
xdotool windowfocus --sync "$setup" key Escape
sleep 0.5

# The archive: a second read finds the modem in it; "Файл" → "Архив…" lists it.
click 420 38 4            # "Считать"
shot "$main" archive-line
xdotool windowfocus --sync "$main" key alt+Cyrillic_ef
sleep 0.5
xdotool key Cyrillic_a
sleep 1
archive=$(xdotool search --onlyvisible --name "^Архив модемов$" | head -1)
[ -n "$archive" ] || { echo "screenshots.sh: the archive window did not show" >&2; exit 1; }
xdotool windowmove "$archive" 0 0
sleep 0.5
xdotool mousemove --window "$archive" 60 95 click 1   # the first modem
sleep 0.5
shot "$archive" archive-window
xdotool windowfocus --sync "$archive" key Escape
sleep 0.5

# The main window at 150 % on the same screen: smaller than the window, which fills it and
# scrolls its contents.
window_pid=${pids[-1]}
kill "$window_pid"
wait "$window_pid" 2>/dev/null || true
QT_SCALE_FACTOR=1.5 "$window" &
pids+=($!)
main=$(wait_for_window "^Zelar 2" 10) ||
    { echo "screenshots.sh: the window at 150 % did not show" >&2; exit 1; }
xdotool windowmove "$main" 0 0
sleep 0.5
click 635 58 4            # "Считать", at 150 %
shot "$main" main-window-150
