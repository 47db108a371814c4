#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the module and its benchmark (Release), installs Debian's amsynth as a peer to compare
# with when it is missing, and prints the real-time factors of both, measured in one run.
# Usage: tools/run-benchmark.sh [quane-benchmark options, e.g. --seconds 5]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="$source_dir/build"
peer=/usr/lib/vst/amsynth_vst.so

source "$source_dir/tools/release-build.sh"
release_build "$build_dir" quane-benchmark
if [ ! -e "$peer" ]; then
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    echo "Installing amsynth to compare with" >&2
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends amsynth >&2
fi

"$build_dir/devtools/benchmark/quane-benchmark" "$@" "$peer"
