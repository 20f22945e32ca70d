#!/usr/bin/env bash
# Installs the Debian packages the project needs, and those named as arguments, only when one
# of them is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config libcli11-dev nlohmann-json3-dev libsqlite3-dev
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-serialport-dev qt6-translations-l10n
    xvfb xauth imagemagick fonts-dejavu-core clang-format
    cmark-gfm python3 help2man
)
# Extra packages a script asks for: the fuzzing compiler, the "time" of the benchmark.
packages+=("$@")

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
