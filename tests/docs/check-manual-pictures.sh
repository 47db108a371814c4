#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders what tools/run-demo.sh renders for the manual (every program's picture, the editor's screenshot)
# and checks that docs/pictures holds the same pixels.
# Usage: check-manual-pictures.sh QUANE_RENDER
set -euo pipefail

render="$1"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The editor at 100 %: neither the person's own choice of scale nor the desktop's reaches it.
export XDG_CONFIG_HOME="$work/config"
unset GDK_SCALE
"$render" --quiet --all-programs --out "$work" --png "$work"
# On a private X server of its own: a desktop's display could scale the editor.
env -u DISPLAY "$render" --quiet --editor-png "$work/editor.png"
"$source_dir/generators/manual/manual_pictures.py" "$work" --check
