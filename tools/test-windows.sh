#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kolv.dll for 32- and 64-bit Windows (tools/build-windows.sh) and runs the Windows test host
# against each under Wine (and the 64-bit Quane.vst3 in JUCE's VST3 host): identity and requests, audio and saved states against the Linux module's
# (whose reference renders the Linux suite writes first), the editor in a Win32 window under Xvfb,
# load/unload cycles, and the Win32 window calls of the editor hosting on host-like window chains;
# then the installer in a fresh prefix (tools/test-windows-installer.sh).
# Editor pictures land in <build-root>/artefacts/<arch>/.
# Usage: tools/test-windows.sh [linux-build-dir] [windows-build-root]
#        (defaults: build/ and build-windows/ in the source folder)
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux_build="${1:-$source_dir/build}"
root="${2:-$source_dir/build-windows}"

"$source_dir/tools/build-windows.sh" "$root"
root="$(cd "$root" && pwd)"

# The Linux module's renders and state, from this source tree.
source "$source_dir/tools/release-build.sh"
release_build "$linux_build" host_tests
linux_build="$(cd "$linux_build" && pwd)"
"$linux_build/tests/host_tests" --gtest_filter='CrossPlatformReference.*' --gtest_brief=1

windows_path() {
    local path="$1"
    echo "Z:${path//\//\\}"
}

# A private prefix; a crash ends the program at once instead of waiting in the debugger's dialog,
# and no Mono or Gecko installer is offered.
export WINEPREFIX="$root/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"
export QUANE_LINUX_REFERENCE
QUANE_LINUX_REFERENCE="$(windows_path "$linux_build/cross-platform")"

if [ -z "${DISPLAY:-}" ]; then
    source "$source_dir/tools/xvfb.sh"
    start_private_display
    trap stop_private_display EXIT
fi

timeout 300 wineboot --init
# Wine's own windows, not a window manager's: without one, every unmapped managed window would
# wait a second for a withdrawal that never comes.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
# DXGI without OpenGL underneath: the editor needs the factory and its outputs, not 3D (and 32-bit
# Wine run by qemu cannot map Mesa's driver).
timeout 60 wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d no3d /f >/dev/null
timeout 120 wineserver --wait || true

# Where 32-bit code runs emulated (tools/setup-windows.sh), Wine's 32-bit window and display stack
# and large allocations fail under qemu; the 32-bit DLL then runs the tests without windows (its
# binary interface, audio and states), and its window calls in quane_native_tests. Emulated time
# says nothing of the module's speed, so the tests of it are left out there too.
emulated_filter=()
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    emulated_filter=(--gtest_filter='-Win32Editor*:LoadCycles.*:StateChunk.HostileBytes*:StateChunk.OversizedStates*:AudioBridge.ABlockOfAHundred*')
    echo "32-bit code runs emulated here: the i686 host tests run without their window tests" >&2
fi

# JUCE 7.0.5's VST3 host finds a Windows plug-in by the file inside the bundle, not the bundle.
windows_vst3=formats/Quane_artefacts/Release/VST3/Quane.vst3/Contents/x86_64-win/Quane.vst3

status=0
for arch in x86_64 i686; do
    if [ "$arch" = x86_64 ]; then
        filter=()
    else
        filter=("${emulated_filter[@]+"${emulated_filter[@]}"}")
    fi
    artefacts="$root/artefacts/$arch"
    mkdir -p "$artefacts"
    rm -f "$artefacts"/*
    echo "== Windows $arch: $root/$arch/module/Kolv.dll under Wine"
    QUANE_MODULE_PATH="$(windows_path "$root/$arch/module/Kolv.dll")" \
        QUANE_ARTEFACTS="$(windows_path "$artefacts")" \
        timeout 600 wine "$root/$arch/tests/windows/kolv_host_tests.exe" \
        ${filter[@]+"${filter[@]}"} || status=1
    timeout 300 wine "$root/$arch/tests/windows/quane_native_tests.exe" || status=1
    if [ "$arch" = x86_64 ]; then
        echo "== Windows x86_64: Quane.vst3 in JUCE's VST3 host under Wine"
        QUANE_VST3_PATH="$(windows_path "$root/x86_64/$windows_vst3")" \
            QUANE_GOLDEN_DIR="$(windows_path "$source_dir/tests/golden")" \
            timeout 300 wine "$root/x86_64/tests/windows/quane_vst3_tests.exe" || status=1
    fi
    for picture in "$artefacts"/*.bmp; do
        [ -f "$picture" ] && convert "$picture" "${picture%.bmp}.png" && rm "$picture"
    done
done
timeout 60 wineserver --kill || true
"$source_dir/tools/test-windows-installer.sh" "$linux_build" "$root" || status=1
exit "$status"
