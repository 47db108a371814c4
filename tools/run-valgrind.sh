#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the module and quane-stress (Release, build/), then runs
# a host's session (load, every program, a chord, a state round trip, the editor opened and
# closed, unload) under Valgrind's memcheck; any error it reports fails the run. An Xvfb display
# is started when there is none.
# Usage: tools/run-valgrind.sh [build-dir, default build]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${1:-$source_dir/build}"

source "$source_dir/tools/release-build.sh"
release_build "$build_dir" quane-stress

if [ -z "${DISPLAY:-}" ]; then
    source "$source_dir/tools/xvfb.sh"
    start_private_display
    trap stop_private_display EXIT
fi

valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --track-origins=yes \
    "$build_dir/devtools/stress/quane-stress" session
