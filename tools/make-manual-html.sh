#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the manual an HTML page from docs/manual.md with pandoc: one self-contained file with the pictures inside (the Windows installer and zip), or with --linked a page that shows them from pictures/ beside it (the Debian package, which installs them there).
# Usage: tools/make-manual-html.sh [--linked] OUTPUT.html
set -euo pipefail

pictures=embedded
if [ "${1:-}" = "--linked" ]; then
    pictures=linked
    shift
fi
if [ $# -ne 1 ]; then
    echo "usage: $0 [--linked] OUTPUT.html" >&2
    exit 1
fi
docs="$(cd "$(dirname "${BASH_SOURCE[0]}")/../docs" && pwd)"
output="$(realpath -m "$1")"

# The page's style is always inside it; pandoc 2.19 and later name the option that also puts the
# pictures inside differently.
style="$(mktemp)"
trap 'rm -f "$style"' EXIT
printf '<style>\n%s\n</style>\n' "$(cat "$docs/manual.css")" >"$style"
options=(--standalone --include-in-header "$style")
if [ "$pictures" = embedded ]; then
    if pandoc --help | grep -q -- --embed-resources; then
        options+=(--embed-resources)
    else
        options+=(--self-contained)
    fi
fi

cd "$docs"
pandoc manual.md --from gfm --to html5 "${options[@]}" --toc --toc-depth 2 \
    --metadata pagetitle="Quane: the manual" --resource-path "$docs" --output "$output"
