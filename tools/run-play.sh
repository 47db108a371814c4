#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the module and quane-play (Release, build/) and starts the
# player; every argument goes to quane-play (see tools/run-play.sh --help).
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$source_dir/build"

source "$source_dir/tools/release-build.sh"
release_build "$build_dir" quane-play

exec "$build_dir/apps/play/quane-play" "$@"
