# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Curve building blocks for the table designs: monotone splines, pieces and shaped noise.

import numpy as np

CYCLE = 512


def pchip_slopes(x, y, start_slope=None, end_slope=None):
    """Fritsch-Carlson slopes: the spline never overshoots its control points."""
    h = np.diff(x)
    delta = np.diff(y) / h
    m = np.zeros_like(y)
    for k in range(1, len(x) - 1):
        if delta[k - 1] * delta[k] > 0:
            w1 = 2 * h[k] + h[k - 1]
            w2 = h[k] + 2 * h[k - 1]
            m[k] = (w1 + w2) / (w1 / delta[k - 1] + w2 / delta[k])
    m[0] = _end_slope(h[0], h[1], delta[0], delta[1]) if start_slope is None else start_slope
    m[-1] = _end_slope(h[-1], h[-2], delta[-1], delta[-2]) if end_slope is None else end_slope
    return m


def _end_slope(h0, h1, d0, d1):
    """One-sided three-point slope, limited so the end interval stays monotone."""
    m = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1)
    if np.sign(m) != np.sign(d0):
        return 0.0
    if np.sign(d0) != np.sign(d1) and abs(m) > 3 * abs(d0):
        return 3 * d0
    return m


def hermite(x, y, m, at):
    """Evaluates the cubic Hermite spline (x, y, m) at the positions 'at'."""
    k = np.clip(np.searchsorted(x, at, side="right") - 1, 0, len(x) - 2)
    h = x[k + 1] - x[k]
    t = (at - x[k]) / h
    t2, t3 = t * t, t * t * t
    return ((2 * t3 - 3 * t2 + 1) * y[k] + (t3 - 2 * t2 + t) * h * m[k]
            + (-2 * t3 + 3 * t2) * y[k + 1] + (t3 - t2) * h * m[k + 1])


def spline_piece(points, first, last, start_slope=None, end_slope=None):
    """Monotone spline through 'points', sampled at the integers first..last.

    Positions may run past the cycle end; they wrap onto the table."""
    x = np.array([p[0] for p in points], dtype=float)
    y = np.array([p[1] for p in points], dtype=float)
    assert np.all(np.diff(x) > 0), "control points must be strictly increasing"
    assert x[0] <= first and last <= x[-1], "piece samples outside its control points"
    at = np.arange(first, last + 1, dtype=float)
    return at.astype(int), hermite(x, y, pchip_slopes(x, y, start_slope, end_slope), at)


def periodic_piece(points):
    """Spline through points on one cycle that joins smoothly across the wrap."""
    ring = [(x - CYCLE, y) for x, y in points[-3:]] + list(points)
    ring += [(x + CYCLE, y) for x, y in points[:3]]
    return spline_piece(ring, 0, CYCLE - 1)


def function_piece(first, last, f):
    at = np.arange(first, last + 1)
    return at, np.array([f(i) for i in at], dtype=float)


def assemble(pieces):
    """Joins pieces into one cycle; every sample must come from exactly one piece."""
    table = np.full(CYCLE, np.nan)
    for at, values in pieces:
        idx = at % CYCLE
        assert np.all(np.isnan(table[idx])), "pieces overlap"
        table[idx] = values
    assert not np.any(np.isnan(table)), "pieces leave samples unset"
    return table


def knot_window(knots, taper=None):
    """0 at every knot, rising to 1 midway between knots (sin-shaped), cyclic.

    'taper' lists (index, width) pairs around which the window also fades in quadratically,
    keeping added detail well clear of a table extreme."""
    knots = sorted(set(k % CYCLE for k in knots))
    ring = knots + [knots[0] + CYCLE]
    w = np.zeros(CYCLE)
    for a, b in zip(ring[:-1], ring[1:]):
        i = np.arange(a, b)
        w[i % CYCLE] = np.sin(np.pi * (i - a) / (b - a))
    for index, width in taper or []:
        d = np.abs((np.arange(CYCLE) - index + CYCLE // 2) % CYCLE - CYCLE // 2)
        w *= np.minimum(1.0, d / width) ** 2
    return w


def smoothed_noise(seed, taps):
    """Unit-deviation cyclic noise, low-passed by a Hann kernel of 'taps' samples."""
    n = np.random.default_rng(seed).standard_normal(CYCLE)
    if taps > 1:
        kernel = np.hanning(taps + 2)[1:-1]
        spectrum = np.fft.rfft(n) * np.fft.rfft(np.pad(kernel, (0, CYCLE - taps)))
        n = np.fft.irfft(spectrum, CYCLE)
    return n / np.std(n)


def quantise16(table):
    """Rounds to whole 16-bit sample values (multiples of 1/32768)."""
    return np.round(np.asarray(table) * 32768.0) / 32768.0
