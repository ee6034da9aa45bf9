#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need. Safe to run again:
# it asks dpkg first and only calls apt-get for what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev
    fonts-ipafont-gothic timgm6mb-soundfont
    libgtest-dev libbenchmark-dev
    xvfb xdotool imagemagick x11-utils
    # Installing as a Linux game: the validators of the installed menu entry, AppStream data and
    # man page, and what `make deb` builds and checks the Debian package with.
    desktop-file-utils appstream man-db
    debhelper dpkg-dev fakeroot lintian
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
