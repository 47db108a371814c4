# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# The four LFO shapes, their rules and the exact values they must store.

import numpy as np

LENGTH = 256
SQUARE_LEVEL = 0.54325

# (shape type, index, value): values stored exactly (as single precision).
EXACT_VALUES = [
    (1, 0, 0.43977073), (1, 127, 0.0068181511), (1, 128, 0.0), (1, 129, -0.0033975437),
    (1, 255, -0.43148804),
    (2, 0, 0.0), (2, 64, 0.80496216), (2, 128, 1 / 32768), (2, 192, -0.80496216),
    (2, 255, -0.019866943),
    (4, 0, 0.0), (4, 64, 0.78249747), (4, 128, 0.000051103543), (4, 192, -0.78244638),
    (4, 255, -0.012328729),
]


def rule(shape_type):
    """The ideal shape, and how far the stored values may stray from it."""
    i = np.arange(LENGTH, dtype=float)
    if shape_type == 1:
        return np.where(i <= 128, 0.00340908 * (129 - i), -0.00339754 * (i - 128)) * (i != 128), 0.0005
    if shape_type == 2:
        return 26377 / 32768 * np.sin(2 * np.pi * i / LENGTH), 0.0002
    if shape_type == 3:
        return np.where(i <= 128, SQUARE_LEVEL, -SQUARE_LEVEL), 0.0
    ramp = np.where(i <= 64, i, np.where(i <= 192, 128 - i, i - 256))
    return 0.0122265 * ramp, 0.00011


def anchored_lines(anchors):
    """Straight lines between consecutive (index, value) anchors."""
    x = [a for a, _ in anchors]
    return np.interp(np.arange(LENGTH), x, [v for _, v in anchors])


def exact(shape_type):
    return [(i, v) for t, i, v in EXACT_VALUES if t == shape_type]


def design_lfo_shapes():
    """All four shapes as single-precision rows, shape type 1 first."""
    saw = anchored_lines(exact(1)[:2] + [(128, 0.0)] + exact(1)[3:])
    sine = np.round(rule(2)[0] * 32768) / 32768
    # The two stored values that sit a few 16-bit steps off the rounded sine.
    for i, v in exact(2):
        sine[i] = v
    square = rule(3)[0]
    triangle = anchored_lines(exact(4))
    shapes = np.array([saw, sine, square, triangle], dtype=np.float32)
    for shape_type in (1, 2, 4):
        for i, v in exact(shape_type):
            shapes[shape_type - 1][i] = np.float32(v)
    return shapes


def check_lfo_shapes(shapes, checker):
    shapes = np.asarray(shapes)
    checker.expect(shapes.shape == (4, LENGTH), "LFO shape table shape %s" % (shapes.shape,))
    for shape_type in range(1, 5):
        ideal, tolerance = rule(shape_type)
        off = np.abs(shapes[shape_type - 1].astype(float) - ideal).max()
        checker.notes.append("LFO shape %d: max deviation from its rule %.7f" % (shape_type, off))
        checker.expect(off <= tolerance + 1e-7, "LFO shape %d off its rule by %.6f" % (shape_type, off))
    for shape_type, i, v in EXACT_VALUES:
        checker.expect(shapes[shape_type - 1][i] == np.float32(v),
                       "LFO shape %d at %d is %.9g, not %.9g" % (shape_type, i, shapes[shape_type - 1][i], v))
    sine = shapes[1].astype(float) * 32768
    checker.expect(np.all(sine == np.round(sine)), "LFO sine values are not multiples of 1/32768")
    square = shapes[2]
    checker.expect(np.all(np.abs(square) == np.float32(SQUARE_LEVEL)) and np.sum(square > 0) == 129
                   and np.all(square[:129] > 0), "LFO square is not +-0.54325 with 129 positive samples")
