#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package that the build, the tests and the tools need; does nothing when all are present.
set -euo pipefail

packages=(
    # build
    build-essential cmake pkgconf ccache
    juce-modules-source
    libfreetype-dev libx11-dev libxext-dev libxrandr-dev libxrender-dev libxinerama-dev libxcursor-dev
    libjpeg-dev libpng-dev zlib1g-dev
    # the player: ALSA and JACK audio and MIDI (JUCE loads libjack at run time), the Debian package
    libasound2-dev libjack-jackd2-dev dpkg-dev file
    # tests; the LV2 plug-in's test host (lilv) and lv2info; AVX-512 emulated for the 16-lane kernel
    libgtest-dev liblilv-dev lilv-utils libsimde-dev
    # sanitizers and fuzz targets (clang's runtimes and libFuzzer), the memory checker
    clang libclang-rt-14-dev valgrind
    # fonts for the editor and the pictures
    fontconfig-config fonts-dejavu-core
    # windows for the editor tests and the screenshots
    xvfb xauth x11-utils xdotool matchbox-window-manager imagemagick
    # the player's tests: a JACK server with the dummy driver
    jackd2
    # the data and picture design scripts
    python3 python3-numpy python3-pil
    # the formatting check
    clang-format
    # the manual (HTML from Markdown), the manual pages from --help, the package check, reading them
    pandoc help2man lintian man-db
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

echo "Installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
