#!/usr/bin/env bash
# Cross-compiles the standard-C++ libraries and their tests for 64-bit Windows with mingw-w64
# and runs the tests under wine, all from Debian packages (installed when missing). The Qt
# layer and the programs are not built: that needs Qt for Windows. Not part of .ci/run.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++-mingw-w64-x86-64-posix wine wine64 googletest)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake --preset windows
cmake --build --preset windows
# wine keeps its prefix inside the build folder; the first run creates it.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1
ctest --preset windows
