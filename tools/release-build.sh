#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds targets of a Release build after installing what is missing (sourced by the scripts).

# release_build BUILD_DIR TARGET...: the build's progress goes to stderr. A target that hosts the
# module depends on it, so the module is built too.
release_build() {
    local build_dir="$1"
    shift
    local source_dir
    source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    "$source_dir/tools/setup.sh" >&2
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build_dir" -j"$(nproc)" --target "$@" >&2
}
