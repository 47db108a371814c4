#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the Windows build and its Wine tests need: the MinGW-w64 cross compilers, Wine for 32-
# and 64-bit programs, (on kernels that cannot run 32-bit code) qemu to run 32-bit Wine emulated, and
# NSIS, pandoc and zip for the installer, its manual page and the zip.
# Idempotent; the emulator registration is checked every time, since it lasts only until reboot.
set -euo pipefail

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# Waits for another apt or dpkg to finish instead of failing on its lock.
apt_get() {
    local attempt
    for attempt in $(seq 1 60); do
        if DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; then
            return 0
        fi
        echo "apt-get $1 failed (attempt $attempt), retrying in 10 s" >&2
        sleep 10
    done
    return 1
}

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

packages=(
    # the cross compilers (the -posix variants: JUCE needs std::mutex) and zlib for them
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
    # JUCE's module sources (patched in a copy), its CMake package for the VST3 plug-in
    # (juce_add_plugin), and GoogleTest's sources for the Wine test hosts
    juce-modules-source-data juce-modules-source libgtest-dev
    # building libpng and libjpeg-turbo from Debian's source packages
    dpkg-dev patch cmake ccache xz-utils
    # Wine for 64- and 32-bit programs, with its preloaders (needed when 32-bit code runs emulated)
    wine wine64 wine32:i386 wine64-preloader wine32-preloader:i386 fonts-wine
    # what Wine's windows need, for both architectures
    libgl1 libgl1-mesa-dri libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3
    libxxf86vm1
    libgl1:i386 libgl1-mesa-dri:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386
    libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
    # windows under a private display, input and screenshots in the tests
    xvfb xauth x11-utils xdotool imagemagick
    # 32-bit programs on kernels without 32-bit support
    qemu-user-static
    # the Windows installer, the manual in it, the zip and its test
    nsis pandoc zip unzip
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    if ! is_installed "$package"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    apt_get update -qq
    apt_get install -y -qq --no-install-recommends "${missing[@]}" >&2
fi

# Where the kernel runs 32-bit code itself, 32-bit Wine needs nothing more.
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    exit 0
fi

# Otherwise 32-bit x86 ELF programs go through qemu. F: the emulator is opened now, so it is found
# inside any mount namespace later.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
    $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
fi
if [ ! -e "$binfmt/qemu-i386" ]; then
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" | $sudo tee "$binfmt/register" >/dev/null
fi
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "32-bit programs still do not run (binfmt_misc entry: $(cat "$binfmt/qemu-i386" 2>&1))" >&2
    exit 1
fi
