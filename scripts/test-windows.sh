#!/usr/bin/env bash
# The Windows program, built here and proven under wine, all from Debian packages (installed
# when missing):
#   0. SQLite for Windows (scripts/build-sqlite-windows.sh, skipped when cached), which both
#      Windows builds link;
#   1. the standard-C++ libraries and their tests (preset windows);
#   2. Qt for Windows (scripts/build-qt-windows.sh, skipped when cached), then the programs and
#      every test that needs no pseudo-terminal (preset windows-qt), the tests run under wine;
#   3. zelar-cli.exe against zelar-sim through a wine COM port: the same output and the same
#      commands at the simulated modem as the Linux zelar-cli, a handover report set as a PDF,
#      and the port list asking each port for the modem (ports --probe);
#   4. zelar-config.exe under wine on a virtual display: the port from the registry map, read,
#      login, and docs/windows-main-window.png;
#   5. the ZIP and the NSIS installer; the installer runs silently, the installed program
#      starts, the uninstaller removes it.
# Prints the time of each part. .ci/run runs it through scripts/ci-windows.sh. The simulated
# modems use COM numbers from ZELAR_WINE_COM (default 230) on, the display the first free one
# from ZELAR_WINE_DISPLAY (default 170).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

scripts/setup.sh g++-mingw-w64-x86-64-posix wine wine64 googletest ninja-build nsis unzip \
    qt6-translations-l10n xvfb xdotool openbox imagemagick poppler-utils
export WINEDEBUG=-all

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

seconds() { date +%s; }
report() { echo "== $1: $(($(seconds) - $2)) s"; }

# A wine prefix of the script's own, its server kept running so that the serial device map
# (a volatile key) keeps what the script puts there. Wine maps every /dev/ttyS* to a COM port;
# /dev/ttyS0 may be the machine's console, so the map starts empty and nothing opens those.
use_wine_prefix() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    export WINEPREFIX="$1"
    # A server left running on this prefix (by an earlier run, say) ends first.
    wineserver -k 2>/dev/null || true
    wineserver -w
    if [ ! -d "$WINEPREFIX" ]; then
        wineboot --init >/dev/null 2>&1
        # wineboot leaves its server running for a few seconds; the persistent one below would
        # find it there and fail.
        wineserver -w
    fi
    wineserver -p
    wine reg delete 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /va /f >/dev/null 2>&1 || true
    rm -f "$WINEPREFIX"/dosdevices/com[0-9]*
    # The window tests start from no settings: the Modem.ini a window of an earlier run saved
    # goes.
    rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Kalvimo
}

# A virtual display for all of it: wine's Windows programs need one to make any window, and
# the Qt event loop makes one even in a test program.
. scripts/xvfb.sh
start_xvfb "${ZELAR_WINE_DISPLAY:-170}" 1280x800x24
pids+=("$xvfb_pid")
openbox >/dev/null 2>&1 &
pids+=($!)

# 0. SQLite for Windows.
t=$(seconds)
scripts/build-sqlite-windows.sh
sqlite="${XDG_CACHE_HOME:-$HOME/.cache}/zelar/sqlite-mingw64"
report "SQLite for Windows" "$t"

# 1. The std-only core.
t=$(seconds)
cmake --preset windows -DZELAR_SQLITE_WINDOWS="$sqlite"
cmake --build --preset windows
use_wine_prefix "$repo/build-windows/wine"
ctest --preset windows
report "std-only libraries built and tested" "$t"

# 2. Qt for Windows and the whole project.
t=$(seconds)
scripts/build-qt-windows.sh
report "Qt for Windows" "$t"
qt="${XDG_CACHE_HOME:-$HOME/.cache}/zelar/qt-6.4.2-mingw64"
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
export WINEPATH="$sqlite/bin;$qt/bin;$runtime;/usr/x86_64-w64-mingw32/lib"
build=build-windows-qt

t=$(seconds)
# A build folder made with Qt from another place keeps finding that one: it starts afresh.
fresh=()
if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^Qt6_DIR:PATH=$qt/" "$build/CMakeCache.txt"; then
    fresh=(--fresh)
fi
cmake --preset windows-qt "${fresh[@]}" -DZELAR_QT_WINDOWS="$qt" -DZELAR_SQLITE_WINDOWS="$sqlite"
cmake --build --preset windows-qt
report "project built for Windows" "$t"

use_wine_prefix "$repo/$build/wine"
t=$(seconds)
ctest --preset windows-qt
report "Windows tests under wine" "$t"

# The Linux simulator and zelar-cli, to compare with.
if [ ! -f build/CMakeCache.txt ]; then cmake --preset default; fi
cmake --build --preset default --target zelar-sim zelar-cli

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Kalvimo/Zelar2"
com=${ZELAR_WINE_COM:-230}

# Starts zelar-sim on COM$com with the state file $1, logging to $2.log; sets sim_pid and pty.
start_sim() {
    build/tools/zelar-sim/zelar-sim --com "$com" --state "$1" --log >"$2.out" 2>"$2.log" &
    sim_pid=$!
    pids+=("$sim_pid")
    for _ in $(seq 50); do [ -s "$2.out" ] && break; sleep 0.1; done
    read -r _ pty <"$2.out"
}
stop_sim() {
    kill "$sim_pid"
    wait "$sim_pid" 2>/dev/null || true
}
# Points wine's COM$com at the simulator's pseudo-terminal and lists it in the serial device
# map, as a driver would.
wine_port() {
    ln -sfn "$pty" "$WINEPREFIX/dosdevices/com$com"
    wine reg add 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' /v "ZelarSim$com" /d "COM$com" /f \
        >/dev/null 2>&1
}
# The commands the simulated modem saw, without their times.
commands() { sed -E 's/^\[ *[0-9.]+\] //' "$1.log"; }

# Closes a window of the program with Alt+F4, as a person would (wine turns it into the
# window's close), and waits until the program has ended.
close_window() {
    # A window just shown on a busy machine may not take the keys yet: asked again each 3 s.
    for _ in $(seq 5); do
        xdotool windowactivate --sync "$1" key --clearmodifiers alt+F4 2>/dev/null || true
        for _ in $(seq 30); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
    done
    echo "test-windows.sh: the program did not end when its window was closed" >&2
    exit 1
}

# 3. zelar-cli.exe against the simulated modem, compared with the Linux zelar-cli.
t=$(seconds)
cat >"$work/sim-page.script" <<'END'
select TreeView1 "Настройка модема"
select PageControl1 "Настройка SIM-карт"
check AutoSetPar1 0
set EditSim1APN "internet.windows"
click ButtonWriteNastr
dump EditSim1APN
END
login=(--port "COM$com" --user 1 --password 1234)
for side in linux windows; do
    start_sim "$work/$side.state" "$work/$side-sim"
    if [ $side = linux ]; then
        cli=(build/tools/zelar-cli/zelar-cli)
    else
        wine_port
        cli=(wine "$build/tools/zelar-cli/zelar-cli.exe")
    fi
    "${cli[@]}" read "${login[@]}" >"$work/$side-read.out"
    "${cli[@]}" script "${login[@]}" "$work/sim-page.script" >"$work/$side-script.out"
    # The handover report set as a PDF, whatever platform the environment names (on Linux a
    # display that does not answer; wine itself needs its display).
    no_display=(QT_QPA_PLATFORM=xcb)
    [ $side = linux ] && no_display+=(DISPLAY=:9)
    env "${no_display[@]}" "${cli[@]}" report "${login[@]}" --installer "Test" --site "Wine" \
        "$work/$side-report.pdf" >"$work/$side-report.out" 2>&1
    # What the modem was asked so far, before the port probe that only Windows runs.
    commands "$work/$side-sim" >"$work/$side.commands"
    if [ $side = windows ]; then
        "${cli[@]}" ports --probe >"$work/windows-ports.out"
    fi
    stop_sim
done
# Windows consoles end lines with CR LF.
for out in read script report; do
    sed -i 's/\r$//' "$work/windows-$out.out"
    diff -u "$work/linux-$out.out" "$work/windows-$out.out"
done
diff -u "$work/linux.commands" "$work/windows.commands"
grep -q "internet.windows" "$work/windows-script.out"
# A PDF of at least one page; its first page as a picture beside the build, to look at.
for side in linux windows; do
    [ "$(head -c 5 "$work/$side-report.pdf")" = "%PDF-" ] ||
        { echo "test-windows.sh: the $side report is no PDF" >&2; exit 1; }
    pages=$(pdfinfo "$work/$side-report.pdf" | sed -n 's/^Pages: *//p')
    [ "${pages:-0}" -ge 1 ] || { echo "test-windows.sh: the $side PDF has no page" >&2; exit 1; }
    echo "the $side report: $pages pages"
done
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/windows-report.pdf" "$build/report-windows"
# The simulated modem found on its port, as the Linux zelar-cli names it.
sed -i 's/\r$//' "$work/windows-ports.out"
grep -qx "COM$com	№ 7204518, ПО 2.05, загрузчик 1.02" "$work/windows-ports.out" ||
    { echo "test-windows.sh: ports --probe did not find the modem:" >&2;
      cat "$work/windows-ports.out" >&2; exit 1; }
report "zelar-cli.exe read, script, report and ports --probe equal to Linux" "$t"

# 4. The window under wine on a virtual display, driven as a person would.
t=$(seconds)
start_sim "$work/window.state" "$work/window-sim"
wine_port
# Under wine, the configuration folder is wine's %APPDATA%; the port list starts on COM$com.
appdata=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
ini_dir=$(winepath -u "$appdata\\Kalvimo\\Zelar2")
mkdir -p "$ini_dir"
printf '[Modem]\r\nCom=%s\r\nExpert=1\r\n' "$com" >"$ini_dir/Modem.ini"
wine "$build/src/ui/zelar-config.exe" >"$work/window.out" 2>&1 &
window_pid=$!
pids+=("$window_pid")
main=$(wait_for_window "^Zelar 2") ||
    { echo "test-windows.sh: zelar-config.exe did not show" >&2; exit 1; }
xdotool windowmove "$main" 0 0
sleep 1
click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep "${3:-1}"; }
# Places in the window's client area as wine draws it (its fonts are wider than on Linux),
# below the "Файл" menu.
click 366 43 7    # "Считать"
click 172 567     # the password field
xdotool type --delay 80 1234
click 128 596 3   # "Применить пароль"
box=$(xdotool search --onlyvisible --name "^Модем$" | head -1)
[ -n "$box" ] && xdotool windowactivate --sync "$box" key Return
sleep 1
grep -q "V22" "$work/window-sim.log"
# "Проверять запись" on, the modem settings node, SIM 2's access point typed anew, "Записать",
# and the box that says it was written: the modem holds the new name.
click 898 43
click 82 197 2
xdotool mousemove --window "$main" 541 466 click --repeat 3 1
xdotool key ctrl+a type --delay 60 "internet.wine"
click 1093 606 6
box=$(xdotool search --onlyvisible --name "^Модем$" | head -1)
[ -n "$box" ] || { echo "test-windows.sh: the write showed no box" >&2; exit 1; }
xdotool windowactivate --sync "$box" key Return
sleep 1
import -window "$main" docs/windows-main-window.png
# The write of the new name, and right after it its read-back.
grep -A1 "> AT+V16.*$(printf internet.wine | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" \
    "$work/window-sim.log" | grep -q "< .*OK"
grep -A2 "> AT+V16.*$(printf internet.wine | od -An -tx1 | tr -d ' \n' | tr a-f A-F)" \
    "$work/window-sim.log" | grep -q "> AT+V17"
close_window "$main" "$window_pid"
report "zelar-config.exe read, login and a verified write under wine" "$t"
stop_sim

# 5. The packages: built, installed silently, started, removed.
t=$(seconds)
(cd "$build" && cpack)
ls -l "$build"/package/zelar-config-*-win64.{zip,exe}
installer=$(ls "$build"/package/zelar-config-*-win64.exe)
wine "$installer" /S
sleep 2
program_files=$(winepath -u "$(wine cmd /c echo %ProgramFiles% 2>/dev/null | tr -d '\r')")
installed="$program_files/Zelar2"
[ -f "$installed/zelar-config.exe" ] && [ -f "$installed/platforms/qwindows.dll" ]
menu_entry="Zelar-2 — настройка модема"
menu="$(dirname "$program_files")/ProgramData/Microsoft/Windows/Start Menu/Programs/$menu_entry"
[ -f "$menu/$menu_entry.lnk" ]
# The installer's guide beside the program, with its menu entry.
[ -f "$installed/guide-ru.html" ] && [ -f "$menu/Руководство.lnk" ]
WINEPATH= timeout 60 wine "$installed/zelar-cli.exe" --help >/dev/null
# Each starts from its own folder, with nothing of the build's on the path.
shows_window() {
    WINEPATH= wine "$1" >/dev/null 2>&1 &
    local pid=$! shown
    pids+=("$pid")
    shown=$(wait_for_window "^Zelar 2") || { echo "test-windows.sh: $1 did not show" >&2; exit 1; }
    close_window "$shown" "$pid"
}
shows_window "$installed/zelar-config.exe"
wine "$installed/Uninstall.exe" /S
sleep 3
[ ! -e "$installed/zelar-config.exe" ] && [ ! -e "$menu/$menu_entry.lnk" ] &&
    [ ! -e "$menu/Руководство.lnk" ]
unzip -q "$(ls "$build"/package/zelar-config-*-win64.zip)" -d "$work/unpacked"
shows_window "$(ls "$work"/unpacked/*/zelar-config.exe)"
report "installer installed, started and removed, the ZIP's program started, under wine" "$t"
echo "test-windows.sh: all passed"
