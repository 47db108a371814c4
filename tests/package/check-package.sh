#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a build folder into a scratch folder, unpacks it with dpkg-deb
# and checks its files, its control data and that the unpacked tools play the unpacked module.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail

build_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if ! cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
fi
deb="$(ls "$work"/out/*.deb)"
dpkg-deb -x "$deb" "$work/root"

for file in usr/lib/vst/Kolv.so usr/lib/lv2/Quane.lv2/libQuane.so usr/lib/lv2/Quane.lv2/manifest.ttl \
            usr/lib/lv2/Quane.lv2/dsp.ttl usr/lib/vst3/Quane.vst3/Contents/x86_64-linux/Quane.so \
            usr/bin/quane-render usr/bin/quane-play usr/share/doc/quane/copyright \
            usr/share/doc/quane/changelog.gz usr/share/doc/quane/manual.md usr/share/doc/quane/manual.html \
            usr/share/doc/quane/pictures/editor.png usr/share/man/man1/quane-render.1.gz \
            usr/share/man/man1/quane-play.1.gz \
            usr/share/applications/quane-play.desktop usr/share/icons/hicolor/scalable/apps/quane-play.svg; do
    [ -s "$work/root/$file" ] || fail "$file is missing from the package"
done
for program in usr/bin/quane-render usr/bin/quane-play; do
    [ -x "$work/root/$program" ] || fail "$program is not executable"
done
grep -qx "Exec=quane-play" "$work/root/usr/share/applications/quane-play.desktop" || fail "the desktop entry does not start quane-play"
grep -qx "Icon=quane-play" "$work/root/usr/share/applications/quane-play.desktop" || fail "the desktop entry names another icon"
grep -q "GPL-3" "$work/root/usr/share/doc/quane/copyright" || fail "the copyright file names no licence"
for program in quane-render quane-play; do
    # groff writes each hyphen of an option as \-.
    zgrep -q -- '\\-\\-module' "$work/root/usr/share/man/man1/$program.1.gz" || fail "the manual page of $program lists no options"
done

[ "$(dpkg-deb -f "$deb" Package)" = quane ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture: $(dpkg-deb -f "$deb" Architecture)"
grep -q "^set(CPACK_PACKAGE_VERSION \"$(dpkg-deb -f "$deb" Version)\")" "$build_dir/CPackConfig.cmake" \
    || fail "version $(dpkg-deb -f "$deb" Version) is not the project's"
[[ "$(zcat "$work/root/usr/share/doc/quane/changelog.gz" | sed -n 1p)" == "quane ($(dpkg-deb -f "$deb" Version))"* ]] \
    || fail "the changelog's latest entry is not of version $(dpkg-deb -f "$deb" Version)"
depends="$(dpkg-deb -f "$deb" Depends)"
# What the binaries link, found by dpkg-shlibdeps; JACK is opened at run time and only recommended.
for library in libc6 libasound2 libx11-6 libfreetype6 libpng16-16 libstdc++6; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
[[ "$depends" != *jack* ]] || fail "Depends names JACK, which is loaded at run time: $depends"
# The module stays free of the player's audio and MIDI libraries.
for plugin in usr/lib/vst/Kolv.so usr/lib/lv2/Quane.lv2/libQuane.so usr/lib/vst3/Quane.vst3/Contents/x86_64-linux/Quane.so; do
    if readelf -d "$work/root/$plugin" | grep -E "NEEDED.*(asound|jack)"; then
        fail "$plugin links ALSA or JACK"
    fi
done

# The unpacked renderer plays the unpacked module.
if ! "$work/root/usr/bin/quane-render" --module "$work/root/usr/lib/vst/Kolv.so" --program 3 --tail 0.5 \
        --out "$work/lead.wav" >"$work/render.log" 2>&1 || [ ! -s "$work/lead.wav" ]; then
    cat "$work/render.log" >&2
    fail "the packaged quane-render did not render the packaged module"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "package $(basename "$deb") checked: files, control data, dependencies, a render"
