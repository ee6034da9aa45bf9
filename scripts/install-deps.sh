#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run; with --test, also those its
# tests, fuzzers and benchmarks need; with --package, those that build the Debian package. Safe
# to run again: it asks dpkg first and only calls apt-get for what is missing. --list prints the
# packages instead of installing them. Usage: install-deps.sh [--test] [--package] [--list]
set -euo pipefail

# Building and playing: the compiler, SDL with its font and mixer libraries, FluidSynth that
# renders the tune once into the cache, fontconfig to find the font, zlib for the replays, the
# Japanese font itself, the General MIDI sound font for the tune, and libdecor with its drawing
# plugin for the window's title bar on Wayland compositors that leave it to the program (GNOME's).
packages=(
    build-essential cmake pkg-config
    libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfluidsynth-dev libfontconfig-dev zlib1g-dev
    fonts-ipafont-gothic timgm6mb-soundfont
    libdecor-0-0 libdecor-0-plugin-1-cairo
)
# Testing: clang for the fuzzers, GoogleTest and Google Benchmark, a virtual X display with a
# window manager and the tools that drive and photograph the real window, Mesa's software OpenGL
# that the GPU path is forced onto there, weston for a real Wayland compositor, sox to measure
# the mix, perf to profile a frame (make bench), strace to kill the runner in the middle of its
# saves, and the validators of the installed menu entry, MIME type, AppStream data and man page.
test_packages=(
    clang libclang-rt-14-dev
    libgtest-dev libbenchmark-dev
    xvfb xdotool imagemagick x11-utils libx11-dev openbox libgl1-mesa-dri weston
    sox strace linux-perf
    desktop-file-utils shared-mime-info appstream man-db
)
# Packaging (`make deb`): what builds the Debian package and checks it.
package_packages=(
    debhelper dpkg-dev fakeroot lintian
)

list=0
for arg in "$@"; do
    case "$arg" in
        --test) packages+=("${test_packages[@]}") ;;
        --package) packages+=("${package_packages[@]}") ;;
        --list) list=1 ;;
        *) echo "usage: install-deps.sh [--test] [--package] [--list]" >&2; exit 2 ;;
    esac
done
if [ "$list" = 1 ]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

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
