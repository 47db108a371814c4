# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# The nine oscillator waveforms, each built from control points and shaped pieces.

import numpy as np

from curves import (CYCLE, assemble, function_piece, knot_window, periodic_piece,
                    quantise16, smoothed_noise, spline_piece)
from requirements import PROFILE, PROFILE_STEP


def profile_points(wave_type, first=0, last=CYCLE - 1, shift=0):
    """Profile points of one type between sample first and last, moved by 'shift' samples."""
    return [(i + shift, float(v)) for i, v in zip(range(0, CYCLE, PROFILE_STEP), PROFILE[wave_type])
            if first <= i <= last]


def merged(*groups, replace=()):
    """Sorted control points; 'replace' maps a position to a value that overrides the profile."""
    points = dict(p for group in groups for p in group)
    points.update(dict(replace))
    return sorted(points.items())


def saw():
    peak, trough = 0.96469, -0.89478
    # The reset falls as a power curve that lands flat on the trough and passes 0.058 at 259.
    power = np.log((0.058 - trough) / (0.816 - trough)) / np.log(13 / 16)
    reset = function_piece(256, 271, lambda i: trough + (0.816 - trough) * ((272 - i) / 16) ** power)
    rise = merged([(272, trough), (511, 0.0)], profile_points(1, 288, 496),
                  profile_points(1, 0, 240, shift=CYCLE), [(CYCLE + 255, peak)])
    return quantise16(assemble([reset, spline_piece(rise, 272, CYCLE + 255, start_slope=0.0)]))


def bright_saw():
    peak, line_slope = 0.97998, 0.00382933
    # Up to about 214 the slope keeps growing; from 226 the rise runs at the slope of the
    # falling line, so the cycle reads as one saw with a bright corner.
    corner = 226

    def top_line(i):
        return peak - line_slope * (255 - i)

    rise = merged([(0, 0.0019), (214, 0.780 + 6 * 0.00525), (corner, top_line(corner))],
                  profile_points(2, 16, 208))
    pieces = [spline_piece(rise, 0, corner - 1, end_slope=line_slope),
              function_piece(corner, 255, top_line),
              function_piece(256, 511, lambda i: -1.957004 + line_slope * i)]
    table = assemble(pieces)
    # The drop lands 0.000016 above the line, on the 16-bit value that reads -0.97668.
    table[256] = -0.97668
    return quantise16(table)


def clipped_sine():
    fall = [(254, 0.79463), (256, 0.682), (268.5, 0.0), (330, -0.75271), (340, -0.7482)]
    hump = [(CYCLE + 120, 0.25866), (CYCLE + 253, 0.003)]
    # The rise closes the cycle at 0 and carries straight on into the hump.
    points = merged(fall, profile_points(3, 272, 496), profile_points(3, 0, 240, shift=CYCLE), hump)
    return assemble([spline_piece(points, 254, CYCLE + 253)])


def sine_and_pulse():
    pulse = merged([(66, -0.210), (159, -0.41489), (223, -0.272)], profile_points(4, 80, 208),
                   replace=[(160, -0.41485)])
    # The profile lies at the edge of its tolerance next to each crossing, so the slope
    # through zero stays close to that of its neighbours.
    rest = merged(profile_points(4, 224, 496),
                  [(240, -0.0248), (243.6, 0.0), (256, 0.0238), (403, 0.98106), (448, 0.0197),
                   (449.15, 0.0), (476, -0.42937)],
                  profile_points(4, 0, 64, shift=CYCLE), [(CYCLE + 65, -0.021)])
    return assemble([spline_piece(pulse, 66, 223), spline_piece(rest, 224, CYCLE + 65)])


def clipped_triangle():
    top, bottom = 0.98, -0.9752
    # The clip steps: the rising edge jumps onto a short decelerating approach to the top,
    # and leaves the bottom by the mirror image of that approach.
    approach = [(45, 0.910), (46, 0.935), (47, 0.953), (48, 0.967), (49, top)]
    departure = [(468, bottom), (469, -0.9622), (470, -0.9482), (471, -0.9302), (472, -0.9052)]
    fall = [(192, top), (196, 0.9116), (240, 0.1346), (248.1, 0.0), (256, -0.1486), (313, bottom)]
    upper = merged(approach, fall, profile_points(5, 208, 304), departure)
    rise = merged([(473, -0.326)], profile_points(5, 480, 496), profile_points(5, 0, 32, shift=CYCLE),
                  [(CYCLE + 44, 0.397)])
    table = assemble([spline_piece(upper, 45, 472), spline_piece(rise, 473, CYCLE + 44)])
    table[49:193] = top
    table[313:469] = bottom
    return table


def staggered_pulses():
    # Step ends, then the ramps between them follow the profile points that fall inside them.
    steps = [(9, 0.278), (44, 0.279), (53, 0.619), (83, 0.615), (92, 0.965), (131, 0.97206),
             (140, 0.664), (172, 0.659), (181, 0.366), (222, 0.361), (235, 0.002), (280, -0.007),
             (290, -0.484), (315, -0.488), (325, -0.972), (357, -0.97530), (359, -0.975),
             (371, -0.470), (395, -0.468), (418, -0.255), (440, -0.253), (451, -0.971),
             (468, -0.973)]
    # A short extra pulse dips between the -0.468 and -0.253 steps.
    dip = [(403, -0.94)]
    return assemble([periodic_piece(merged(profile_points(6), steps, dip,
                                           replace=[(464, -0.9748)]))])


def soft_squares():
    shelves = [(91, 0.664), (139, 0.69085), (189, 0.650), (266, -0.378), (294, -0.402),
               (318, -0.545), (326, -0.564), (377, -0.540), (386, -0.484), (486, 0.226),
               (501, 0.236)]
    return assemble([periodic_piece(merged(profile_points(7), shelves))])


def irregular(wave_type, extremes, seed, taps, depth, smoothness, clearance, mean=None):
    """Spline through the profile and extremes plus seeded noise that vanishes at every knot.

    The noise fades in over 'clearance' samples around each extreme; 'smoothness' 2 makes it
    join the spline without a kink at the knots. An optional mean is met by a knot-free bump
    added across the whole cycle."""
    points = merged(profile_points(wave_type), extremes)
    base = assemble([periodic_piece(points)])
    knots = [int(x) for x, _ in points]
    window = knot_window(knots, taper=[(i, clearance) for i, _ in extremes]) ** smoothness
    table = base + depth * window * smoothed_noise(seed, taps)
    if mean is not None:
        bump = knot_window(knots) ** 2
        table += (mean - table.mean()) / bump.mean() * bump
    return table


def noiseform():
    return irregular(8, [(300, -0.77452), (399, 0.30187)], seed=8, taps=1, depth=0.07,
                     smoothness=1, clearance=6, mean=-0.179)


def soft_noiseform():
    return irregular(9, [(147, 0.48827), (304, -0.64856)], seed=9, taps=15, depth=0.04,
                     smoothness=2, clearance=12)


WAVEFORMS = [saw, bright_saw, clipped_sine, sine_and_pulse, clipped_triangle, staggered_pulses,
             soft_squares, noiseform, soft_noiseform]


def design_waveforms():
    """All nine waveforms as single-precision rows, wave type 1 first."""
    return np.array([design() for design in WAVEFORMS], dtype=np.float32)
