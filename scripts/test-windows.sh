#!/usr/bin/env bash
# Cross-compiles the standard-C++ libraries and their tests for 64-bit Windows with mingw-w64
# and runs the tests under wine, all from Debian packages (installed when missing). The Qt
# layer and the programs are not built: that needs Qt for Windows. Not part of .ci/run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh g++-mingw-w64-x86-64-posix wine wine64 googletest

cmake --preset windows
cmake --build --preset windows
# wine keeps its prefix inside the build folder; the first run creates it.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1
ctest --preset windows
