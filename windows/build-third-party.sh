#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds libpng and libjpeg-turbo as static MinGW-w64 libraries from Debian's source packages, for
# JUCE's image decoders (Debian's JUCE is packaged without its bundled copies). zlib comes from
# libz-mingw-w64-dev. Skips what is already installed.
# Usage: windows/build-third-party.sh <work-dir> <i686|x86_64>
# Installs into <work-dir>/<arch>; sources are fetched once into <work-dir>/src.
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work_dir="$1"
arch="$2"
prefix="$work_dir/$arch"
toolchain="$source_dir/windows/toolchains/mingw-w64-$arch.cmake"

if [ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpegint.h" ]; then
    exit 0
fi

# Source packages through a private apt state: the system's sources list stays untouched.
fetch_sources() {
    local apt_dir="$work_dir/src/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    : >"$apt_dir/sources.list"
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list >>"$apt_dir/sources.list"
    fi
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] && sed 's/^Types: deb$/Types: deb-src/' "$file" >"$apt_dir/sources.list.d/$(basename "$file")"
    done
    local options=(
        -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=root"
    )
    apt-get "${options[@]}" update -qq
    cd "$work_dir/src"
    # The newest listed libpng revision's files were missing from the archive; this one is there.
    apt-get "${options[@]}" source -qq libpng1.6=1.6.39-2+deb12u5 || apt-get "${options[@]}" source -qq libpng1.6
    apt-get "${options[@]}" source -qq libjpeg-turbo
}

if ! ls -d "$work_dir"/src/libpng1.6-*/ >/dev/null 2>&1 || ! ls -d "$work_dir"/src/libjpeg-turbo-*/ >/dev/null 2>&1; then
    (fetch_sources) >&2
fi

cache=()
if command -v ccache >/dev/null; then
    cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# Only the static library of each is built (not their tools and tests); headers go in by hand.
build() {
    local name="$1" target="$2"
    shift 2
    local src
    src="$(ls -d "$work_dir"/src/"$name"-*/ | head -n 1)"
    local build_dir="$work_dir/build-$arch/$name"
    cmake -S "$src" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        "${cache[@]}" "$@" >/dev/null
    cmake --build "$build_dir" -j"$(nproc)" --target "$target" >/dev/null
    built_src="$src" built_dir="$build_dir"
}

mkdir -p "$prefix/include" "$prefix/lib"

build libpng1.6 png_static -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF
cp "$built_src/png.h" "$built_src/pngconf.h" "$built_dir/pnglibconf.h" "$prefix/include/"
cp "$built_dir/libpng16.a" "$prefix/lib/libpng.a"

build libjpeg-turbo jpeg-static -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF
# JUCE's decoder defines JPEG_INTERNALS and so includes the library's internal header too.
cp "$built_src/jpeglib.h" "$built_src/jmorecfg.h" "$built_src/jerror.h" "$built_src/jpegint.h" \
    "$built_dir/jconfig.h" "$prefix/include/"
cp "$built_dir/libjpeg.a" "$prefix/lib/libjpeg.a"
