#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kolv.dll for 32-bit (i686) and 64-bit (x86_64) Windows and Quane.vst3 for 64-bit Windows
# with MinGW-w64, from the same sources and CMake project as the Linux build, together with the
# Wine test hosts, then the installer and the zip (tools/make-windows-installer.sh). Installs what is
# missing first.
# Usage: tools/build-windows.sh [build-root]      (default: build-windows/ in the source folder)
# Leaves <build-root>/i686/module/Kolv.dll, <build-root>/x86_64/module/Kolv.dll and
# <build-root>/x86_64/formats/Quane_artefacts/Release/VST3/Quane.vst3/ (the bundle), and
# <build-root>/dist/Quane-<version>-setup.exe and Quane-<version>-windows.zip.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
root="${1:-$source_dir/build-windows}"
mkdir -p "$root"
root="$(cd "$root" && pwd)"

"$source_dir/tools/setup-windows.sh"

for arch in i686 x86_64; do
    "$source_dir/windows/build-third-party.sh" "$root/third-party" "$arch"
    cmake -S "$source_dir" -B "$root/$arch" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/windows/toolchains/mingw-w64-$arch.cmake" \
        -DQUANE_WINDOWS_THIRD_PARTY="$root/third-party/$arch" >/dev/null
    cmake --build "$root/$arch" -j"$(nproc)"
done

for file in i686/module/Kolv.dll x86_64/module/Kolv.dll \
            x86_64/formats/Quane_artefacts/Release/VST3/Quane.vst3/Contents/x86_64-win/Quane.vst3; do
    echo "$root/$file ($(stat -c %s "$root/$file") bytes)"
done
"$source_dir/tools/make-windows-installer.sh" "$root"
