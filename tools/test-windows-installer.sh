#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Tests the zip's contents and the Windows installer under Wine in a fresh prefix: silent install of each plug-in with the
# built bytes and the uninstall entry in the 64-bit registry, the installed Kolv.dll rendering the
# Linux module's samples in the Windows test host, an upgrade into folders with spaces and non-ASCII
# letters that leaves one copy, folders that cannot be used, and an uninstall that leaves nothing
# of its own and the user's files alone; where this machine runs 32-bit code itself, also the
# 32-bit plug-in alone on 32-bit Windows.
# Usage: tools/test-windows-installer.sh [linux-build-dir] [windows-build-root]
#        (after tools/test-windows.sh has built both and written the Linux reference renders)
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux_build="$(cd "${1:-$source_dir/build}" && pwd)"
root="$(cd "${2:-$source_dir/build-windows}" && pwd)"
installer="$(ls "$root"/dist/*-setup.exe)"
zip="$(ls "$root"/dist/*-windows.zip)"

windows_path() {
    local path="$1"
    echo "Z:${path//\//\\}"
}

# Windows sees the folder names' letters through the locale's character set.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"
if [ -z "${DISPLAY:-}" ]; then
    source "$source_dir/tools/xvfb.sh"
    start_private_display
    trap stop_private_display EXIT
fi

# A new Windows in PREFIX (of the kind WINEARCH says, 64-bit by default).
fresh_prefix() {
    export WINEPREFIX="$1"
    rm -rf "$WINEPREFIX"
    timeout 300 wineboot --init
    timeout 120 wineserver --wait || true
}

emulated=false
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    emulated=true
    echo "32-bit code runs emulated here: the 32-bit Kolv.dll is checked by its bytes, not on 32-bit Windows" >&2
fi

fresh_prefix "$root/installer-prefix"

c="$WINEPREFIX/drive_c"
vst2_64="$c/Program Files/VSTPlugins"
vst2_32="$c/Program Files (x86)/VSTPlugins"
vst3_file="Quane.vst3/Contents/x86_64-win/Quane.vst3"
vst3="$c/Program Files/Common Files/VST3"
program="$c/Program Files/Brelloux/Quane"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quane'

passed=0
failed=0
check() {
    local what="$1"
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what" >&2
    fi
}

run_installer() {
    timeout 300 wine "$installer" /S "$@"
    local status=$?
    timeout 60 wineserver --wait || true
    return $status
}

# Prints the value NAME of KEY in the 64-bit (VIEW 64) or 32-bit (VIEW 32) registry view; reg.exe
# writes to a pipe in the console's code page.
reg_value() {
    timeout 60 wine reg query "$1" /v "$2" "/reg:$3" 2>/dev/null | iconv -f CP437 -t UTF-8 | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

key_absent() {
    ! timeout 60 wine reg query "$1" "/reg:$2" >/dev/null 2>&1
}

# Setup's exit code for a refused folder is 2.
installer_refuses() {
    local status=0
    run_installer "$@" || status=$?
    [ "$status" -eq 2 ]
}

renders_like_linux() {
    local arch="$1" dll="$2"
    QUANE_MODULE_PATH="$(windows_path "$dll")" QUANE_LINUX_REFERENCE="$(windows_path "$linux_build/cross-platform")" \
        timeout 300 wine "$root/$arch/tests/windows/kolv_host_tests.exe" \
        --gtest_filter=LinuxAgreement.PhraseRendersMatchBitForBit --gtest_brief=1
}

no_leftover() {
    [ -z "$(find "$c" -name '*.new' -print -quit)" ]
}

in_zip_as_built() {
    unzip -p "$zip" "$(basename "$zip" .zip)/$1" | cmp - "$2"
}

echo "== the zip"
check "the zip holds the 64-bit Kolv.dll" in_zip_as_built 64-bit/Kolv.dll "$root/x86_64/module/Kolv.dll"
check "the zip holds the 32-bit Kolv.dll" in_zip_as_built 32-bit/Kolv.dll "$root/i686/module/Kolv.dll"
check "the zip holds Quane.vst3" in_zip_as_built "$vst3_file" "$root/x86_64/formats/Quane_artefacts/Release/VST3/$vst3_file"
check "the zip holds the manual, the licence and the README" \
    test "$(unzip -Z1 "$zip" | grep -cE '/(manual.html|LICENCE.txt|README.txt)$')" = 3

# A plug-in of the user's in the 32-bit folder, which therefore exists before the install.
mkdir -p "$vst2_32"
echo "another plug-in" >"$vst2_32/Other.dll"

echo "== silent install to the default folders"
check "the silent install succeeds" run_installer
check "64-bit Kolv.dll has the built bytes" cmp "$root/x86_64/module/Kolv.dll" "$vst2_64/Kolv.dll"
check "32-bit Kolv.dll has the built bytes" cmp "$root/i686/module/Kolv.dll" "$vst2_32/Kolv.dll"
check "Quane.vst3 has the built bytes" \
    cmp "$root/x86_64/formats/Quane_artefacts/Release/VST3/$vst3_file" "$vst3/$vst3_file"
check "the manual and the uninstaller are installed" test -s "$program/manual.html" -a -s "$program/Uninstall.exe"
check "the uninstall entry names the product" test "$(reg_value "$uninstall_key" DisplayName 64)" = Quane
check "the uninstall entry names the publisher" test "$(reg_value "$uninstall_key" Publisher 64)" = Brelloux
check "the uninstall entry has the version" test "$(reg_value "$uninstall_key" DisplayVersion 64)" = 1.0.0
size_kb="$(($(reg_value "$uninstall_key" EstimatedSize 64)))"
plugin_kb="$((($(stat -c %s "$vst2_64/Kolv.dll" "$vst2_32/Kolv.dll" "$vst3/$vst3_file" | paste -sd+)) / 1024))"
check "the uninstall entry has the size ($size_kb kB)" test "$size_kb" -ge "$plugin_kb"
check "the uninstall entry has the command" \
    test "$(reg_value "$uninstall_key" UninstallString 64)" = '"C:\Program Files\Brelloux\Quane\Uninstall.exe"'
check "the uninstall entry is in the 64-bit registry only" key_absent "$uninstall_key" 32

echo "== the installed plug-ins render the Linux module's samples"
check "the installed 64-bit Kolv.dll renders as on Linux" renders_like_linux x86_64 "$vst2_64/Kolv.dll"
if ! $emulated; then
    check "the installed 32-bit Kolv.dll renders as on Linux" renders_like_linux i686 "$vst2_32/Kolv.dll"
fi

echo "== folders that cannot take the plug-in"
check "Setup refuses a folder inside a file" installer_refuses '/VST2DIR64=C:\windows\win.ini\VST'
# Drive R: is a folder that refuses new files, even to root.
ln -s /proc "$WINEPREFIX/dosdevices/r:"
check "Setup refuses a folder it cannot write to" installer_refuses '/VST2DIR32=R:\VST'
check "and leaves the installed plug-ins as they were" cmp "$root/x86_64/module/Kolv.dll" "$vst2_64/Kolv.dll"

echo "== upgrade into folders with spaces and non-ASCII letters"
moved_64="$c/Program Files/Klänge & Effekte/VST 2 (64 bit)"
moved_32="$c/Program Files (x86)/Greffons été"
mkdir -p "$moved_64" # the user's, with what an interrupted install left
echo "half" >"$moved_64/Kolv.dll.new"
check "the upgrade succeeds" run_installer '/VST2DIR64=C:\Program Files\Klänge & Effekte\VST 2 (64 bit)\' \
    '/VST2DIR32=C:\Program Files (x86)\Greffons été'
check "64-bit Kolv.dll is in its new folder" cmp "$root/x86_64/module/Kolv.dll" "$moved_64/Kolv.dll"
check "32-bit Kolv.dll is in its new folder" cmp "$root/i686/module/Kolv.dll" "$moved_32/Kolv.dll"
check "the old copies are gone, and the folder the install made" test ! -e "$vst2_64" -a ! -e "$vst2_32/Kolv.dll"
check "the user's plug-in stays" test -s "$vst2_32/Other.dll"
check "no half-written file is left" no_leftover
check "the folder is remembered" test "$(reg_value 'HKLM\Software\Brelloux\Quane' Vst2Folder64 64)" = 'C:\Program Files\Klänge & Effekte\VST 2 (64 bit)'
check "the same upgrade again succeeds" run_installer
check "and finds the remembered folders" test -s "$moved_64/Kolv.dll" -a -s "$moved_32/Kolv.dll" -a ! -e "$vst2_64"
check "one copy of each plug-in" test "$(find "$c" -iname Kolv.dll | wc -l)" = 2 -a "$(find "$c" -name Quane.vst3 -type f | wc -l)" = 1

uninstall() {
    timeout 300 wine "$c/Program Files/Brelloux/Quane/Uninstall.exe" /S
    timeout 60 wineserver --wait || true
}

echo "== silent uninstall"
uninstall
check "no plug-in is left" test "$(find "$c" \( -iname Kolv.dll -o -iname 'Quane.vst3' \) | wc -l)" = 0
check "the folders the install made are gone" test ! -e "$vst3" -a ! -e "$c/Program Files/Brelloux" -a ! -e "$moved_32"
check "the user's folders and plug-in stay" test -d "$moved_64" -a -s "$vst2_32/Other.dll"
check "the uninstall entry is gone" key_absent "$uninstall_key" 64
check "the product's keys are gone" key_absent 'HKLM\Software\Brelloux' 64

timeout 60 wineserver --kill || true
rm -rf "$WINEPREFIX"

if ! $emulated; then
    echo "== on 32-bit Windows"
    WINEARCH=win32 fresh_prefix "$root/installer-prefix-32"
    c="$WINEPREFIX/drive_c"
    check "the silent install succeeds" run_installer
    check "32-bit Kolv.dll is in C:\Program Files\VSTPlugins" cmp "$root/i686/module/Kolv.dll" "$c/Program Files/VSTPlugins/Kolv.dll"
    check "and no 64-bit plug-in" test "$(find "$c" \( -iname Kolv.dll -o -iname 'Quane.vst3' \) | wc -l)" = 1
    check "the uninstall entry names the product" test "$(reg_value "$uninstall_key" DisplayName 32)" = Quane
    uninstall
    check "the uninstall leaves no plug-in" test ! -e "$c/Program Files/VSTPlugins" -a ! -e "$c/Program Files/Brelloux"
    check "nor the uninstall entry" key_absent "$uninstall_key" 32
    timeout 60 wineserver --kill || true
    rm -rf "$WINEPREFIX"
fi

echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
