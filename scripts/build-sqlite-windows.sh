#!/usr/bin/env bash
# Builds SQLite's C library for 64-bit Windows with mingw-w64 (posix threads, as Qt for Windows
# is) from Debian's source package `sqlite3`: the amalgamation (sqlite3.c) is made from the
# source tree, then compiled into sqlite3.dll with its import library, both with the
# compile-time options of Debian's own build (read from its debian/rules), so that what the
# program may rely on in SQL is the same on Linux and on Windows.
#
# Installs bin/sqlite3.dll, lib/libsqlite3.dll.a and include/sqlite3.h into
# ${XDG_CACHE_HOME:-~/.cache}/zelar/sqlite-mingw64 (where CMake's FindSQLite3 finds them in
# the windows presets) and does nothing when that install is complete. Takes about a minute.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"

cache="${XDG_CACHE_HOME:-$HOME/.cache}/zelar"
prefix="$cache/sqlite-mingw64"
work="$cache/sqlite-mingw64-build"
cc=x86_64-w64-mingw32-gcc-posix
# The DLL carries the compiler's helpers itself, so it needs no runtime DLL beside it; stripped.
link_flags=(-shared -s -static-libgcc -Wl,--out-implib,"$prefix/lib/libsqlite3.dll.a")

# The marker is written last and names the configuration, so an interrupted build is never
# taken for a complete one, and a changed configuration builds again.
configuration="$cc ${link_flags[*]}"
if [ -f "$prefix/.complete" ] && [ "$(cat "$prefix/.complete")" = "$configuration" ]; then
    echo "SQLite for Windows is in $prefix"
    exit 0
fi

"$repo/scripts/setup.sh" dpkg-dev gcc-mingw-w64-x86-64-posix tcl
. "$repo/scripts/apt-source.sh"

started=$(date +%s)
mkdir -p "$work"
apt_source sqlite3 "$work/source"

# Debian's options: the -D flags of CFLAGS in debian/rules. Some of them change the SQL
# grammar, so the amalgamation is generated with them too.
options=$(sed -n '/^export CFLAGS +=/,/[^\\]$/p' "$work/source/debian/rules" |
    grep -o -- '-DSQLITE_[A-Z0-9_]*\(=[0-9]*\)\?' | tr '\n' ' ')
case "$options" in *-DSQLITE_THREADSAFE=1*) ;; *)
    echo "build-sqlite-windows.sh: no SQLite options found in debian/rules" >&2
    exit 1
    ;;
esac
echo "SQLite options: $options"

rm -rf "$work/build" && mkdir "$work/build"
(cd "$work/build" && CFLAGS="-O2 $options" "$work/source/configure" >configure.log &&
    make sqlite3.c >make.log)

rm -rf "$prefix" && mkdir -p "$prefix/bin" "$prefix/lib" "$prefix/include"
# shellcheck disable=SC2086 # the options are separate words
"$cc" -O2 -fno-strict-aliasing $options -I"$work/build" "$work/build/sqlite3.c" \
    -o "$prefix/bin/sqlite3.dll" "${link_flags[@]}"
cp "$work/build/sqlite3.h" "$work/build/sqlite3ext.h" "$prefix/include/"

echo "$configuration" >"$prefix/.complete"
elapsed=$(($(date +%s) - started))
echo "SQLite $(sed -n 's/^#define SQLITE_VERSION  *"\(.*\)"/\1/p' "$prefix/include/sqlite3.h") for Windows built in $elapsed s into $prefix"
