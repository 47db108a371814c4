#!/usr/bin/env bash
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# The LV2 bundle as lilv's lv2info reports it: two audio outputs, an event input that takes MIDI,
# the twelve programs as presets, and the 39 patch values declared as writable parameters.
# Usage: check-lv2-bundle.sh BUNDLE_DIR PLUGIN_URI
set -euo pipefail

bundle="$1"
uri="$2"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

info="$(LV2_PATH="$(dirname "$bundle")" lv2info "$uri")" || { echo "lv2info does not know $uri" >&2; exit 1; }

# Each port's type lines follow its "Port N:" line; a port is counted once.
ports="$(awk '/^\tPort [0-9]+:/ { if (port) print port; port = "" } /^\t\t(Type:)?[ \t]+http/ { port = port " " $NF } END { print port }' <<<"$info")"
audio_outputs="$(grep -c 'AudioPort.*OutputPort\|OutputPort.*AudioPort' <<<"$ports" || true)"
[ "$audio_outputs" -eq 2 ] || fail "$audio_outputs audio outputs instead of 2"
grep -q 'AtomPort.*InputPort\|InputPort.*AtomPort' <<<"$ports" || fail "no event input port"
tr -d ' \t\n' <"$bundle/dsp.ttl" | grep -q 'atom:supportsmidi:MidiEvent' || fail "the event input does not take MIDI"

presets="$(awk '/^\tPresets:/ { counting = 1; sub (/^\tPresets:[ \t]*/, ""); if ($0 != "") n++; next } counting && /^\t[ \t]+[^ \t]/ { n++; next } { counting = 0 } END { print n + 0 }' <<<"$info")"
[ "$presets" -eq 12 ] || fail "$presets presets instead of 12"
grep -q 'Sawish Power Chord' <<<"$info" || fail "the presets lack program 11"

parameters="$(grep -c 'a lv2:Parameter' "$bundle/dsp.ttl" || true)"
[ "$parameters" -eq 39 ] || fail "$parameters parameters declared instead of 39"

if [ "$failures" -ne 0 ]; then
    echo "$info" >&2
    exit 1
fi
echo "$uri: 2 audio outputs, a MIDI input, 12 presets, 39 parameters"
