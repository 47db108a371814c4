#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the module and quane-render (Release, build/), then plays the demo
# phrase with every factory program into out/: WAV files, their pictures and the editor screenshot.
# From these it makes the manual's pictures in docs/pictures/ (the suite checks that they are current).
# Usage: tools/run-demo.sh [output-dir]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$source_dir/build"
out_dir="${1:-$source_dir/out}"

source "$source_dir/tools/release-build.sh"
release_build "$build_dir" quane-render

render="$build_dir/apps/render/quane-render"
mkdir -p "$out_dir"

echo
echo "Rendering the demo phrase with every factory program:"
"$render" --all-programs --out "$out_dir" --png "$out_dir"

# The editor at 100 %, as the manual shows it: on a private Xvfb (quane-render starts one when there
# is no DISPLAY), without the person's own choice of scale or the desktop's.
config_dir="$(mktemp -d)"
trap 'rm -rf "$config_dir"' EXIT
editor_status=0
env -u DISPLAY -u GDK_SCALE XDG_CONFIG_HOME="$config_dir" "$render" --editor-png "$out_dir/editor.png" || editor_status=$?
if [ "$editor_status" -eq 5 ]; then
    echo "(no editor screenshot: the module showed no editor, see the message above)" >&2
elif [ "$editor_status" -ne 0 ]; then
    exit "$editor_status"
fi

if [ -f "$out_dir/editor.png" ]; then
    "$source_dir/generators/manual/manual_pictures.py" "$out_dir"
fi

echo
echo "Done. In $out_dir:"
echo "  $(ls "$out_dir"/*.wav | wc -l) renders (NN-program-name.wav, 32-bit float, 44.1 kHz)"
echo "  $(ls "$out_dir"/[0-9]*.png | wc -l) pictures of them (NN-program-name.png: waveform and spectrogram)"
if [ -f "$out_dir/editor.png" ]; then
    echo "  the editor screenshot (editor.png)"
fi
echo "Install the module into a host: see \"Installing into a Linux host\" in README.md ($build_dir/module/Kolv.so)."
