# Sourced by the scripts that need a screen: start_xvfb FIRST SIZE starts Xvfb on the first
# display number from FIRST that nobody uses, waits until it answers, exports DISPLAY and sets
# xvfb_pid and xvfb_display.
start_xvfb() {
    xvfb_display=$1
    while [ -e "/tmp/.X11-unix/X$xvfb_display" ] || [ -e "/tmp/.X$xvfb_display-lock" ]; do
        xvfb_display=$((xvfb_display + 1))
    done
    Xvfb ":$xvfb_display" -screen 0 "$2" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$xvfb_display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$xvfb_display"
}

# wait_for_window PATTERN [SECONDS] prints the id of the first visible window whose name
# matches PATTERN, waiting for it up to SECONDS (default 30); fails when none shows.
wait_for_window() {
    local id="" tenths=$((${2:-30} * 10))
    for _ in $(seq "$tenths"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] &&
            { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
