#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks C++ sources against .clang-format; with --fix, rewrites them instead.
# Usage: tools/check-format.sh [--fix] [files...]   (no files: every C++ source in the repository)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

fix=false
if [ "${1:-}" = "--fix" ]; then
    fix=true
    shift
fi

if [ $# -gt 0 ]; then
    files=("$@")
else
    # Data files stay exactly as their generator writes them.
    mapfile -t files < <(git ls-files '*.cpp' '*.h' | xargs grep -L '^// Written by .*; do not edit\.$')
fi

if $fix; then
    clang-format -i "${files[@]}"
else
    clang-format --dry-run -Werror "${files[@]}"
    echo "${#files[@]} files formatted as .clang-format says"
fi
