#!/usr/bin/python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Designs the oscillator waveforms and LFO shapes, verifies them and writes their C++ data files.
#
# Usage: generators/waveforms/design_tables.py [--check]
#   --check  verify and compare with the committed data files instead of writing them.

import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from lfo_shapes import check_lfo_shapes, design_lfo_shapes  # noqa: E402
from waveform_checks import Checker, check_waveforms  # noqa: E402
from waveform_designs import design_waveforms  # noqa: E402

SCRIPT = "generators/waveforms/design_tables.py"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WAVE_NAMES = ["Saw", "Bright Saw", "Cliped Sine", "Sine and Pulse", "Cliped Tri",
              "Staggred Pulses", "Soft Squares", "Noiseform", "Soft Noisef."]
LFO_NAMES = ["Saw", "Sine", "Square", "Triangle"]
PER_LINE = 6


def literal(value):
    """Shortest-safe C++ float literal that reads back as exactly this single-precision value."""
    text = "%.9g" % (float(value) + 0.0)
    if "." not in text and "e" not in text:
        text += ".0"
    assert np.float32(text) == value, text
    return text + "f"


def data_file(description, array_name, size_names, rows, names):
    lines = ["// Quane - polyphonic wavetable synthesiser",
             "// SPDX-License-Identifier: GPL-3.0-or-later",
             "// Written by %s; do not edit." % SCRIPT,
             "// %s" % description,
             "",
             '#include "WaveformData.h"',
             "",
             "namespace quane",
             "{",
             "const float %s[%s][%s] = {" % ((array_name,) + size_names)]
    for number, (row, name) in enumerate(zip(rows, names), start=1):
        lines.append("    // %d \"%s\"" % (number, name))
        lines.append("    {")
        for start in range(0, len(row), PER_LINE):
            values = ", ".join(literal(v) for v in row[start:start + PER_LINE])
            lines.append("        %s," % values)
        lines.append("    },")
    lines += ["};", "} // namespace quane", ""]
    return "\n".join(lines)


def main():
    check_only = "--check" in sys.argv[1:]
    waveforms = design_waveforms()
    shapes = design_lfo_shapes()

    checker = Checker()
    check_waveforms(waveforms, checker)
    check_lfo_shapes(shapes, checker)
    for note in checker.notes:
        print(note)
    if checker.failures:
        for failure in checker.failures:
            print("FAILED: " + failure, file=sys.stderr)
        return 1

    outputs = {
        "engine/WaveformData.cpp": data_file(
            "Oscillator waveforms: one 512-sample cycle per wave type.",
            "waveformTables", ("waveformCount", "waveformLength"), waveforms, WAVE_NAMES),
        "engine/LfoShapeData.cpp": data_file(
            "LFO shapes: one 256-sample cycle per shape type.",
            "lfoShapeTables", ("lfoShapeCount", "lfoShapeLength"), shapes, LFO_NAMES),
    }
    stale = []
    for path, text in outputs.items():
        full = os.path.join(ROOT, path)
        if check_only:
            if not os.path.exists(full) or open(full).read() != text:
                stale.append(path)
        else:
            with open(full, "w") as out:
                out.write(text)
            print("wrote " + path)
    for path in stale:
        print("FAILED: %s differs from what this script writes" % path, file=sys.stderr)
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main())
