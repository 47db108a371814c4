#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays and restores the LV2 and the VST3 plug-in in Ardour 7, headless (ardour7-lua on the dummy
# backend): a session per format with a MIDI track playing the test phrase through Quane set to
# "Pulse Lead", exported, saved, loaded again in a new process and exported again. All four exports
# must hold the same samples, and a session left at the default program must sound otherwise.
# Installs Ardour when it is missing. Usage: tools/test-ardour.sh [build-dir]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"

if ! command -v ardour7-lua >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends ardour >&2
fi

"$source_dir/tools/setup.sh"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target Quane_LV2 Quane_VST3
bundles="$build_dir/formats/Quane_artefacts/Release"

# Ardour's configuration and caches of this run alone: the phrase processor, the export preset
# and the VST3 scan, which Ardour trusts when it is newer than the bundle's files.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export LV2_PATH="$bundles/LV2" VST3_PATH="$bundles/VST3" EXPORT_SCRIPT="$source_dir/tests/ardour/export.lua"
mkdir -p "$XDG_CONFIG_HOME/ardour7/scripts" "$XDG_CONFIG_HOME/ardour7/export"
cp "$source_dir/tests/ardour/test_phrase.lua" "$XDG_CONFIG_HOME/ardour7/scripts/quane_test_phrase.lua"
cp "$source_dir/tests/ardour/float-export.preset" "$XDG_CONFIG_HOME/ardour7/export/quane-float.preset"
sleep 1 # a bundle linked this very second would be as new as its scan, which Ardour then ignores
LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 120 /usr/lib/ardour7/ardour-vst3-scanner -q -f "$VST3_PATH/Quane.vst3"

run_ardour() {
    local script="$1" log="$2"
    if ! timeout 300 ardour7-lua "$source_dir/tests/ardour/$script" >"$log" 2>&1 || grep -q '^Error' "$log"; then
        cat "$log" >&2
        echo "FAIL: $script for $SESSION_NAME" >&2
        exit 1
    fi
}

for session in "lv2 LV2 Pulse Lead" "vst3 VST3 Pulse Lead" "default LV2"; do
    read -r name kind preset <<<"$session"
    export SESSION_FOLDER="$work/sessions/$name" SESSION_NAME="$name" PLUGIN_KIND="$kind" PRESET="${preset:-}"
    OUT_FOLDER="$work/exports/$name-made" run_ardour create_session.lua "$work/$name-create.log"
    OUT_FOLDER="$work/exports/$name-reloaded" run_ardour reload_session.lua "$work/$name-reload.log"
    grep -h "plug-in" "$work/$name-create.log" || true
done

"$source_dir/tests/ardour/compare_exports.py" "$work"/exports/{lv2-made,lv2-reloaded,vst3-made,vst3-reloaded}/*.wav \
    --differs "$work"/exports/default-made/*.wav
