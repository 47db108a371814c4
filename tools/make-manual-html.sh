#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the manual one self-contained HTML file (pictures inside) from docs/manual.md with pandoc; the Debian package and the Windows installer and zip carry it.
# Usage: tools/make-manual-html.sh OUTPUT.html
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTPUT.html" >&2
    exit 1
fi
docs="$(cd "$(dirname "${BASH_SOURCE[0]}")/../docs" && pwd)"
output="$(realpath -m "$1")"

# pandoc 2.19 and later name the option that puts the pictures inside the page differently.
embed=(--self-contained)
if pandoc --help | grep -q -- --embed-resources; then
    embed=(--embed-resources --standalone)
fi

cd "$docs"
pandoc manual.md --from gfm --to html5 "${embed[@]}" --toc --toc-depth 2 \
    --css manual.css --metadata pagetitle="Quane: the manual" --resource-path "$docs" --output "$output"
