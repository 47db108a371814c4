#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the module and quane-stress (Release, build/), then runs the soak for the given time
# (default one hour), 1,000 instances in one process and 100 loadings of the module, each with
# its figures. Fails when a check of any of them fails.
# Usage: tools/run-stress.sh [soak seconds, default 3600] [build-dir, default build]
set -euo pipefail

source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-3600}"
build_dir="${2:-$source_dir/build}"

source "$source_dir/tools/release-build.sh"
release_build "$build_dir" quane-stress

stress="$build_dir/devtools/stress/quane-stress"
"$stress" soak "$seconds"
"$stress" instances 1000
"$stress" reloads 100
