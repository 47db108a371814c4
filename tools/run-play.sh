#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the module and quane-play (Release, build/) and starts the
# player; every argument goes to quane-play (see tools/run-play.sh --help).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$source_dir/build"

"$source_dir/tools/setup.sh"

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
# quane-play depends on the module, so this builds Kolv.so too.
cmake --build "$build_dir" -j"$(nproc)" --target quane-play >&2

exec "$build_dir/apps/play/quane-play" "$@"
