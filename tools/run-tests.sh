#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds everything (Release) and runs the whole test suite.
# Usage: tools/run-tests.sh [build-dir] [extra cmake arguments...]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"
shift || true

"$source_dir/tools/setup.sh"

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
# QUANE_BUILD_TARGETS limits the build (the sanitizer runs build only what they run).
cmake --build "$build_dir" -j"$(nproc)" ${QUANE_BUILD_TARGETS:+--target $QUANE_BUILD_TARGETS}

# The editor's size must not come from the person running the tests: their own choice of scale
# (kept under the configuration folder) and their desktop's GDK_SCALE stay out of the suite.
unset GDK_SCALE
XDG_CONFIG_HOME="$(mktemp -d)"
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

# The editor tests need an X display: start a private one when there is none.
if [ -z "${DISPLAY:-}" ]; then
    source "$source_dir/tools/xvfb.sh"
    start_private_display
    trap 'stop_private_display; rm -rf "$XDG_CONFIG_HOME"' EXIT
fi

cd "$build_dir"
ctest --output-on-failure -j"$(nproc)" ${QUANE_CTEST_ARGS:-}
