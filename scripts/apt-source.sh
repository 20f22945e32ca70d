# Sourced by the scripts that build Windows libraries from Debian's source packages.
# apt_source PACKAGE FOLDER: unpacks PACKAGE's Debian source into FOLDER (made anew), adding a
# deb-src copy of the system's binary entries first when apt has none.
apt_source() {
    local package=$1 folder=$2 sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    if ! apt-get source --print-uris "$package" >/dev/null 2>&1; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            $sudo tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
        $sudo apt-get update
    fi
    rm -rf "$folder.download" && mkdir "$folder.download"
    (cd "$folder.download" && apt-get source "$package")
    rm -rf "$folder"
    mv "$(find "$folder.download" -mindepth 1 -maxdepth 1 -type d | head -1)" "$folder"
    rm -rf "$folder.download"
}
