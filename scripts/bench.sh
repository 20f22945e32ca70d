#!/usr/bin/env bash
# Times every operation of zelar-cli against the simulated modem, with the usual waits and with
# --fast, and compares the usual run with the time the protocol's fixed waits add up to. Also
# times the window's start. Takes a few minutes; not part of CI (.ci/run).
#
#   scripts/bench.sh            prints a Markdown table ("Figures" in docs/performance.md)
#
# Nominal time: the simulator's log (--log) gives every command and boot loader block; each is
# multiplied by the fixed wait the program keeps after it for that operation (see WAITS below),
# and the fixed pauses of the operation are added. Real time, CPU time (user + system) and peak
# memory come from GNU time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh time
build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DZELAR_WITH_QT=ON >/dev/null
cmake --build "$build" --target zelar-cli zelar-sim zelar-config -j2 >/dev/null
cli=$PWD/$build/tools/zelar-cli/zelar-cli
sim=$PWD/$build/tools/zelar-sim/zelar-sim
window=$PWD/$build/src/ui/zelar-config

work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config
sim_pid=""
xvfb_pid=""
cleanup() {
    # shellcheck disable=SC2086
    kill $sim_pid $xvfb_pid 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The fixed waits, in ms, of the program's exchanges (the first poll of a polled wait, where a
# reply always comes within it).
#   V22, V17 read by polls: 100;  V17 of the voice and incoming call pages: 300
#   V17 reading a write back (--verify), right after its V16: 100 (polled)
#   V16 write: 100 (polled "OK"); 1000 when a settings file is loaded; 600 for factory defaults
#   V18 dictionary chunk: 100;  V20 page store: 150;  V21 page load: 40;  V19 chunk read: 60
#   V23-V25 diagnostics: 100;  V39 restart: 100 (first poll)
#   boot loader block: 100;  closing the boot loader link: 300;  the report after the transfer: 100
nominal_ms() { # log v16wait
    awk -v v16="$2" '
        match($0, /> AT\+V[0-9][0-9]/) {
            n = substr($0, RSTART + 6, 2)
            address = substr($0, RSTART + 8, 4)
            if (n == "17" && last == "16") ms += 100
            else if (n == "17") ms += (address == "0225" || address == "0264") ? 300 : 100
            else if (n == "16") ms += v16
            else if (n == "18") ms += 100
            else if (n == "20") ms += 150
            else if (n == "21") ms += 40
            else if (n == "19") ms += 60
            else ms += 100
            last = n
        }
        /block page/ { ms += 100; blocks++ }
        END { if (blocks > 0) ms += 300 + 100; print ms + 0 }' "$1"
}

start_sim() {
    coproc SIM { exec "$sim" --log 2>"$work/sim.log"; }
    sim_pid=$SIM_PID
    read -r com _ <&"${SIM[0]}"
}
stop_sim() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
}

login=(--user 1 --password 1234)
cat >"$work/sim-page.txt" <<'END'
select TreeView1 "Настройка модема"
select PageControl1 "Настройка SIM-карт"
click ButtonWriteNastr
END
head -c 100000 /dev/urandom >"$work/fw.bin"

# name | V16 wait | arguments (PORT stands for the simulator's port)
operations=(
    "read with login|100|read --port PORT ${login[*]}"
    "write one SIM page|100|script --port PORT ${login[*]} $work/sim-page.txt"
    "write one SIM page with --verify|100|script --port PORT ${login[*]} --verify $work/sim-page.txt"
    "backup|100|backup --port PORT ${login[*]} $work/backup.md2"
    "restore|1000|restore --port PORT ${login[*]} --yes $work/backup.md2"
    "restore with --verify|1000|restore --port PORT ${login[*]} --yes --verify $work/backup.md2"
    "factory defaults|600|defaults --port PORT ${login[*]} --yes"
    "dictionary download|100|dict-download --port PORT ${login[*]} --yes $work/dict.txt"
    "protocol-0 dictionary upload|100|dict-upload --port PORT ${login[*]} --yes $work/dict.txt"
    "firmware programming|100|flash --port PORT ${login[*]} --yes $work/fw.bin"
)

# One run: prints "real cpu peakKiB nominalMs"; a failed command stops the bench.
run() { # v16wait fast args...
    local v16=$1 fast=$2
    shift 2
    start_sim
    local args=("${@//PORT/$com}")
    [ "$fast" = 1 ] && args+=(--fast)
    if ! /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$cli" "${args[@]}" \
        >/dev/null 2>"$work/cli.err"; then
        echo "zelar-cli ${args[*]} failed:" >&2
        cat "$work/cli.err" >&2
        exit 1
    fi
    stop_sim
    read -r real user sys peak <"$work/time"
    echo "$real $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }') $peak" \
        "$(nominal_ms "$work/sim.log" "$v16")"
}

echo "| Operation | Nominal (fixed waits) | Real | Ratio | CPU | Peak memory | Real with --fast | CPU with --fast | Peak with --fast |"
echo "|---|---|---|---|---|---|---|---|---|"
for op in "${operations[@]}"; do
    IFS='|' read -r name v16 argline <<<"$op"
    read -ra args <<<"$argline"
    read -r real cpu peak nominal < <(run "$v16" 0 "${args[@]}")
    read -r freal fcpu fpeak _ < <(run "$v16" 1 "${args[@]}")
    awk -v n="$name" -v nom="$nominal" -v r="$real" -v c="$cpu" -v p="$peak" \
        -v fr="$freal" -v fc="$fcpu" -v fp="$fpeak" 'BEGIN {
        printf "| %s | %.2f s | %.2f s | %.3f | %.2f s (%.1f%%) | %.0f MiB | %.2f s | %.2f s (%.1f%%) | %.0f MiB |\n",
            n, nom / 1000, r, r / (nom / 1000), c, 100 * c / r, p / 1024,
            fr, fc, 100 * fc / fr, fp / 1024 }'
done

# "Найти модем" over 16 ports where nothing answers: pseudo-terminals that nobody reads,
# registered as COM1 to COM16 for this run.
mkdir -p "$XDG_CONFIG_HOME/Kalvimo/Zelar2/ports"
python3 - "$XDG_CONFIG_HOME/Kalvimo/Zelar2/ports" <<'PY' &
import os, pty, sys, time, tty
for n in range(1, 17):
    master, slave = pty.openpty()
    tty.setraw(slave)
    os.symlink(os.ttyname(slave), os.path.join(sys.argv[1], "COM%d" % n))
time.sleep(3600)
PY
ptys_pid=$!
for _ in $(seq 50); do
    [ -e "$XDG_CONFIG_HOME/Kalvimo/Zelar2/ports/COM16" ] && break
    sleep 0.1
done
/usr/bin/time -f "%e %U %S %M" -o "$work/time" "$cli" ports --probe >/dev/null 2>&1 || true
kill "$ptys_pid"
wait "$ptys_pid" 2>/dev/null || true
rm -f "$XDG_CONFIG_HOME"/Kalvimo/Zelar2/ports/COM*
read -r real user sys peak <"$work/time"
awk -v r="$real" -v u="$user" -v s="$sys" -v p="$peak" 'BEGIN {
    printf "\nports --probe, 16 ports without a modem: %.2f s, CPU %.2f s, %.0f MiB.\n",
        r, u + s, p / 1024 }'

# The window: from its start to the first frame shown, and its memory at rest 3 s later.
if [ -z "${DISPLAY:-}" ]; then
    . scripts/xvfb.sh
    start_xvfb 99 1280x800x24
fi
mkdir -p "$XDG_CONFIG_HOME/Kalvimo/Zelar2"
begin=$(date +%s.%N)
coproc WINDOW { ZELAR_REPORT_FIRST_FRAME=1 exec "$window"; }
window_pid=$WINDOW_PID
read -r _ <&"${WINDOW[0]}"
shown=$(date +%s.%N)
sleep 3
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$window_pid/status")
kill "$window_pid"
wait "$window_pid" 2>/dev/null || true
awk -v b="$begin" -v s="$shown" -v r="$rss" 'BEGIN {
    printf "\nWindow: first frame %.2f s after start; memory at rest %.0f MiB.\n", s - b, r / 1024 }'
