# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Verifies designed waveforms against every requirement; collects failures by name.

import numpy as np

import requirements as req


class Checker:
    def __init__(self):
        self.failures = []
        self.notes = []

    def expect(self, ok, what):
        if not ok:
            self.failures.append(what)


def rounded_equal(value, stated, digits):
    return round(float(value) * 10 ** digits) == round(stated * 10 ** digits)


def check_waveforms(tables, checker):
    tables = np.asarray(tables, dtype=np.float64)
    checker.expect(tables.shape == (9, 512), "waveform table shape %s" % (tables.shape,))
    checker.expect(np.all(np.isfinite(tables)) and np.all(np.abs(tables) <= 1.0),
                   "waveform values finite and within -1..1")
    for wave_type in range(1, 10):
        _check_profile(wave_type, tables[wave_type - 1], checker)
        _check_closure(wave_type, tables[wave_type - 1], checker)
    _check_features(tables, checker)
    _check_character(tables, checker)


def _check_profile(wave_type, t, checker):
    deviation = np.abs(t[::req.PROFILE_STEP] - req.PROFILE[wave_type])
    worst = int(np.argmax(deviation))
    checker.notes.append("type %d: max profile deviation %.6f (sample %d)"
                         % (wave_type, deviation[worst], worst * req.PROFILE_STEP))
    checker.expect(deviation[worst] <= req.PROFILE_TOLERANCE,
                   "type %d profile at sample %d off by %.5f"
                   % (wave_type, worst * req.PROFILE_STEP, deviation[worst]))


def _check_closure(wave_type, t, checker):
    checker.expect(abs(t[0]) <= req.START_TOLERANCE, "type %d start %.5f" % (wave_type, t[0]))
    checker.expect(abs(t[-1]) <= req.END_TOLERANCE, "type %d end %.5f" % (wave_type, t[-1]))
    if wave_type in req.SIXTEEN_BIT_TYPES:
        checker.expect(np.all(t * 32768 == np.round(t * 32768)),
                       "type %d values are not multiples of 1/32768" % wave_type)


def _check_features(tables, checker):
    for wave_type, index, stated, digits, kind, first, last in req.EXTREMES:
        t = tables[wave_type - 1]
        others = np.delete(t[first:last + 1], index - first)
        beaten = others.max() >= t[index] if kind == "max" else others.min() <= t[index]
        checker.expect(rounded_equal(t[index], stated, digits) and not beaten,
                       "type %d %s %.5f at sample %d (stored %.6f)"
                       % (wave_type, kind, stated, index, t[index]))
    for wave_type, index, stated, digits in req.VALUES:
        value = tables[wave_type - 1][index]
        checker.expect(rounded_equal(value, stated, digits),
                       "type %d value %g at sample %d (stored %.6f)" % (wave_type, stated, index, value))
    for wave_type, index in req.ZERO_CROSSINGS:
        a, b = tables[wave_type - 1][index:index + 2]
        checker.expect(a * b < 0, "type %d zero crossing between %d and %d" % (wave_type, index, index + 1))
    for wave_type, index, size in req.JUMPS:
        step = abs(tables[wave_type - 1][index + 1] - tables[wave_type - 1][index])
        checker.expect(step >= size, "type %d jump after sample %d only %.4f" % (wave_type, index, step))
    for wave_type, first, last, level, tolerance in req.LEVELS:
        off = np.abs(tables[wave_type - 1][first:last + 1] - level).max()
        checker.expect(off <= tolerance + 1e-7, "type %d level %g over %d..%d off by %.4f"
                       % (wave_type, level, first, last, off))
    wave_type, first, last, limit = req.PULSE_BELOW
    checker.expect(tables[wave_type - 1][first:last + 1].max() < limit,
                   "type %d pulse above %g within %d..%d" % (wave_type, limit, first, last))
    wave_type, first, last, offset, slope, tolerance = req.LINE
    i = np.arange(first, last + 1)
    off = np.abs(tables[wave_type - 1][first:last + 1] - (offset + slope * i)).max()
    checker.expect(off <= tolerance, "type %d line off by %.6f" % (wave_type, off))
    wave_type, mean, digits = req.NOISE_MEAN
    value = tables[wave_type - 1].mean()
    checker.expect(rounded_equal(value, mean, digits), "type %d mean %.5f" % (wave_type, value))
    checker.expect(np.sum(tables[wave_type - 1] < 0) > 256, "type %d is not mostly below zero" % wave_type)


def secants(t, first, last, span):
    return np.diff(t[first:last + 1:span]) / span


def _check_character(tables, checker):
    """The shape descriptions beyond single values."""
    saw, bright, clipped_triangle = tables[0], tables[1], tables[4]
    checker.expect(np.all(np.diff(saw[0:256]) >= 0) and np.all(np.diff(secants(saw, 0, 240, 16)) > 0),
                   "type 1 rise is not monotone and steepening")
    checker.expect(np.all(np.diff(saw[256:273]) < 0) and np.all(np.diff(np.diff(saw[256:273])) > 0),
                   "type 1 fall is not a decelerating fall")
    checker.expect(np.all(np.diff(saw[272:512]) >= 0), "type 1 return is not a rise")
    rising = secants(bright, 0, 208, 8)
    checker.expect(np.all(np.diff(rising) > -1e-4), "type 2 slope does not grow steadily up to 208")
    checker.expect(abs(rising[0] - 0.0022) < 0.0003 and abs(rising[-1] - 0.0053) < 0.0003,
                   "type 2 slope does not run from about 0.0022 to 0.0053")
    checker.expect(np.all(np.abs(np.diff(bright[226:256]) - 0.0038) < 0.0002),
                   "type 2 final rise is not about 0.0038 per sample")
    falling = np.diff(clipped_triangle[196:311])
    checker.expect(falling.max() < -0.8 * 0.0163 and falling.min() > -1.25 * 0.0163,
                   "type 5 fall is not linear")
    # Smooth types, less the reset of each: the second difference centred on a sample.
    for wave_type, reset in ((1, range(254, 273)), (3, range(252, 256)), (7, []), (9, [])):
        curvature = np.abs(np.diff(tables[wave_type - 1], 2))
        curvature[[i - 1 for i in reset]] = 0
        checker.expect(curvature.max() < 0.02, "type %d is not smooth (second difference %.4f)"
                       % (wave_type, curvature.max()))
