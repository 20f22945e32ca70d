#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (mingw-w64, posix threads) from Debian's source packages:
# Core, Gui, Widgets, Test, the "windows" and "offscreen" platform plugins and Serial Port, with Qt's bundled
# third-party libraries and no OpenGL, SQL, D-Bus, network, examples or tests. Host tools (moc,
# uic, rcc) are Debian's qt6-base-dev-tools of the same version.
#
# Installs into ${XDG_CACHE_HOME:-~/.cache}/zelar/qt-6.4.2-mingw64 and does nothing when that
# install is complete (with --check, only says whether it is). Takes about half an hour on two
# cores; .ci/run builds it through scripts/ci-windows.sh when a change needs it.
#
# Qt Serial Port's source comes from `apt-get source qt6-serialport` when the archive serves it,
# else from qtserialport-everywhere-src-6.4.2.tar.xz in $ZELAR_VENDOR_DIR (default: the folder
# `shared/vendor` beside the checkout), checked against the checksum below.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

qt_version=6.4.2
cache="${XDG_CACHE_HOME:-$HOME/.cache}/zelar"
prefix="$cache/qt-$qt_version-mingw64"
work="$cache/qt-$qt_version-mingw64-build"
serialport_tarball=qtserialport-everywhere-src-$qt_version.tar.xz
serialport_sha256=682626d3ae07074df0f707dab880f1eab1c133a04d5bed688a3ec63af305ae89
vendor="${ZELAR_VENDOR_DIR:-$repo/../shared/vendor}"

features_off=(
    opengl dynamicgl vulkan sql dbus network printsupport concurrent xml
    # The dfsg source has no src/3rdparty/wintab, which tablet events need.
    tabletevent
    # What the program never uses: the Direct2D platform plugin (it draws through the
    # "windows" one) and JPEG images.
    direct2d jpeg
    # Widgets and classes it has no use for, each a part of the build time.
    graphicsview mdiarea calendarwidget datetimeedit wizard colordialog fontdialog fontcombobox
    keysequenceedit lcdnumber dial undocommand undostack undogroup undoview systemtrayicon
    splashscreen movie textodfwriter textmarkdownreader textmarkdownwriter sessionmanager
    system_zlib system_pcre2 system_harfbuzz system_freetype system_doubleconversion
    system_png
)
# Qt's bundled FreeType, for the offscreen platform plugin that the window tests run on (the
# program itself draws with Windows' own fonts).
features_on=(freetype)
feature_args=()
for f in "${features_off[@]}"; do feature_args+=("-DFEATURE_$f=OFF"); done
for f in "${features_on[@]}"; do feature_args+=("-DFEATURE_$f=ON"); done

# The marker is written last and names the configuration, so an interrupted build is never
# taken for a complete one, and a changed configuration builds again in the same folders.
configuration="${feature_args[*]}"
if [ -f "$prefix/.complete" ] && [ "$(cat "$prefix/.complete")" = "$configuration" ]; then
    echo "Qt $qt_version for Windows is in $prefix"
    exit 0
fi
# --check: only says whether it is there (exit 1 when it would be built).
if [ "${1:-}" = --check ]; then
    echo "Qt $qt_version for Windows is not in $prefix, or in another configuration"
    exit 1
fi
rm -f "$work/build-base/.installed" "$work/build-serialport/.installed"

"$repo/scripts/setup.sh" dpkg-dev g++-mingw-w64-x86-64-posix qt6-base-dev-tools ninja-build

. "$repo/scripts/apt-source.sh"

started=$(date +%s)
mkdir -p "$work"
cd "$work"

if [ ! -d qtbase ]; then apt_source qt6-base "$work/qtbase"; fi

if [ ! -d qtserialport ]; then
    rm -rf src-serialport && mkdir src-serialport
    if (cd src-serialport && apt-get source qt6-serialport) >/dev/null 2>&1; then
        mv "$(find src-serialport -mindepth 1 -maxdepth 1 -type d -name 'qt6-serialport-*')" \
            qtserialport
    else
        echo "apt-get source qt6-serialport failed; using $vendor/$serialport_tarball" >&2
        echo "$serialport_sha256  $vendor/$serialport_tarball" | sha256sum --check --quiet
        tar -C src-serialport -xf "$vendor/$serialport_tarball"
        mv "src-serialport/qtserialport-everywhere-src-$qt_version" qtserialport
    fi
fi

# Patches that this configuration needs, each explained in its own header.
for patch in "$repo"/packaging/windows/qtbase-*.patch; do
    [ -e "$patch" ] || continue
    stamp="qtbase/.applied-$(basename "$patch")"
    [ -f "$stamp" ] && continue
    patch -d qtbase -p1 <"$patch"
    touch "$stamp"
done


if [ ! -f build-base/.installed ]; then
    cmake -G Ninja -S qtbase -B build-base \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
        -DCMAKE_EXE_LINKER_FLAGS="" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        "${feature_args[@]}"
    cmake --build build-base --parallel "${ZELAR_QT_JOBS:-2}"
    cmake --install build-base
    touch build-base/.installed
fi

if [ ! -f build-serialport/.installed ]; then
    "$prefix/bin/qt-cmake" -G Ninja -S qtserialport -B build-serialport \
        -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build build-serialport --parallel "${ZELAR_QT_JOBS:-2}"
    cmake --install build-serialport
    touch build-serialport/.installed
fi

echo "$configuration" >"$prefix/.complete"
elapsed=$(($(date +%s) - started))
echo "Qt $qt_version for Windows built in $((elapsed / 60)) min $((elapsed % 60)) s into $prefix"
