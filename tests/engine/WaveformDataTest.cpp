// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the compiled oscillator waveforms against their profiles, extremes and features.

#include <gtest/gtest.h>

#include "engine/WaveformData.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
using quane::waveformCount;
using quane::waveformLength;
using quane::waveformTables;

constexpr int profileStep = 16;
constexpr int profilePoints = waveformLength / profileStep;

// Stored value at every 16th sample; rows are the sample positions, columns wave types 1..9.
constexpr double profile[profilePoints][waveformCount] = {
    { 0.000, 0.002, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000, 0.000 },
    { 0.002, 0.037, 0.047, -0.006, 0.141, 0.278, 0.055, -0.006, 0.327 },
    { 0.011, 0.077, 0.106, -0.020, 0.287, 0.279, 0.189, -0.096, 0.292 },
    { 0.028, 0.120, 0.162, -0.021, 0.967, 0.562, 0.342, -0.226, 0.190 },
    { 0.053, 0.168, 0.205, -0.021, 0.980, 0.621, 0.487, -0.257, 0.087 },
    { 0.086, 0.220, 0.235, -0.261, 0.980, 0.615, 0.603, -0.120, 0.068 },
    { 0.127, 0.276, 0.250, -0.313, 0.980, 0.966, 0.676, -0.020, 0.169 },
    { 0.175, 0.335, 0.257, -0.356, 0.980, 0.970, 0.682, 0.002, 0.171 },
    { 0.231, 0.399, 0.258, -0.388, 0.980, 0.972, 0.682, 0.159, 0.293 },
    { 0.296, 0.467, 0.250, -0.408, 0.980, 0.664, 0.687, 0.098, 0.475 },
    { 0.370, 0.539, 0.233, -0.415, 0.980, 0.659, 0.663, 0.107, 0.443 },
    { 0.451, 0.616, 0.208, -0.406, 0.980, 0.419, 0.661, -0.233, 0.384 },
    { 0.539, 0.696, 0.175, -0.378, 0.980, 0.366, 0.637, -0.362, 0.046 },
    { 0.636, 0.780, 0.137, -0.329, 0.706, 0.362, 0.426, -0.369, -0.119 },
    { 0.740, 0.861, 0.092, -0.081, 0.421, 0.348, 0.141, -0.217, -0.103 },
    { 0.853, 0.923, 0.044, -0.026, 0.136, 0.005, -0.116, -0.387, -0.322 },
    { 0.816, -0.977, 0.682, 0.025, -0.150, 0.008, -0.305, -0.228, -0.367 },
    { -0.895, -0.915, -0.146, 0.026, -0.384, -0.006, -0.381, -0.421, -0.397 },
    { -0.802, -0.854, -0.521, 0.026, -0.617, -0.473, -0.397, -0.458, -0.420 },
    { -0.694, -0.793, -0.684, 0.098, -0.849, -0.486, -0.467, -0.518, -0.649 },
    { -0.593, -0.732, -0.744, 0.404, -0.975, -0.902, -0.554, -0.291, -0.500 },
    { -0.501, -0.670, -0.750, 0.585, -0.975, -0.975, -0.548, -0.635, -0.567 },
    { -0.416, -0.609, -0.730, 0.740, -0.975, -0.975, -0.538, -0.230, -0.373 },
    { -0.339, -0.548, -0.699, 0.858, -0.975, -0.507, -0.546, 0.123, 0.104 },
    { -0.270, -0.487, -0.659, 0.938, -0.975, -0.466, -0.493, -0.058, 0.233 },
    { -0.209, -0.425, -0.615, 0.978, -0.975, -0.896, -0.457, 0.177, 0.449 },
    { -0.155, -0.364, -0.566, 0.821, -0.975, -0.267, -0.467, -0.267, 0.347 },
    { -0.110, -0.303, -0.509, 0.536, -0.975, -0.254, -0.317, -0.537, -0.022 },
    { -0.072, -0.241, -0.440, 0.021, -0.975, -0.940, -0.097, -0.306, -0.289 },
    { -0.042, -0.180, -0.358, -0.380, -0.975, -0.975, 0.086, -0.363, -0.319 },
    { -0.021, -0.119, -0.274, -0.425, -0.266, -0.293, 0.193, -0.029, -0.006 },
    { -0.007, -0.058, -0.189, -0.335, -0.131, -0.150, 0.246, -0.221, 0.050 },
};

double sample (int waveType, int index)
{
    return waveformTables[waveType - 1][index];
}

std::string where (int waveType, int index)
{
    return "wave type " + std::to_string (waveType) + ", sample " + std::to_string (index);
}

// True when value, rounded to 'digits' decimals, prints as 'stated'.
bool printsAs (double value, double stated, int digits)
{
    const double scale = std::pow (10.0, digits);
    return std::llround (value * scale) == std::llround (stated * scale);
}

TEST (WaveformData, EveryProfilePointIsWithinTolerance)
{
    for (int type = 1; type <= waveformCount; ++type)
        for (int point = 0; point < profilePoints; ++point)
        {
            SCOPED_TRACE (where (type, point * profileStep));
            EXPECT_NEAR (sample (type, point * profileStep), profile[point][type - 1], 0.0015);
        }
}

TEST (WaveformData, StatedExtremesSitAtTheirSamplesAndAreNotExceeded)
{
    struct Extreme
    {
        int type, index;
        double value;
        bool isMax;
        int first, last;
    };
    const Extreme extremes[] = {
        { 1, 255, 0.96469, true, 0, 511 },   { 1, 272, -0.89478, false, 0, 511 },
        { 2, 255, 0.97998, true, 0, 511 },   { 2, 256, -0.97668, false, 0, 511 },
        { 3, 254, 0.79463, true, 0, 511 },   { 3, 330, -0.75271, false, 0, 511 },
        { 3, 120, 0.25866, true, 0, 253 }, // the peak of the low hump
        { 4, 403, 0.98106, true, 0, 511 },   { 4, 476, -0.42937, false, 0, 511 },
        { 4, 159, -0.41489, false, 0, 300 }, // the bottom of the rounded pulse
        { 6, 131, 0.97206, true, 0, 511 },   { 6, 357, -0.97530, false, 0, 511 },
        { 7, 139, 0.69085, true, 0, 511 },   { 7, 326, -0.56400, false, 0, 511 },
        { 8, 399, 0.30187, true, 0, 511 },   { 8, 300, -0.77452, false, 0, 511 },
        { 9, 147, 0.48827, true, 0, 511 },   { 9, 304, -0.64856, false, 0, 511 },
    };
    for (const auto& e : extremes)
    {
        SCOPED_TRACE (where (e.type, e.index) + (e.isMax ? " (maximum)" : " (minimum)"));
        EXPECT_TRUE (printsAs (sample (e.type, e.index), e.value, 5)) << sample (e.type, e.index);
        for (int i = e.first; i <= e.last; ++i)
            if (i != e.index)
            {
                if (e.isMax)
                    EXPECT_LT (sample (e.type, i), sample (e.type, e.index)) << "exceeded at " << i;
                else
                    EXPECT_GT (sample (e.type, i), sample (e.type, e.index)) << "exceeded at " << i;
            }
    }
}

TEST (WaveformData, ResetsJumpsAndZeroCrossingsAreWhereStated)
{
    struct Value
    {
        int type, index;
        double value;
        int digits;
    };
    const Value values[] = {
        { 1, 256, 0.816, 3 }, { 1, 259, 0.058, 3 }, { 2, 0, 0.0019, 4 }, { 2, 511, -0.0002, 4 }, { 3, 253, 0.003, 3 }
    };
    for (const auto& v : values)
    {
        SCOPED_TRACE (where (v.type, v.index));
        EXPECT_TRUE (printsAs (sample (v.type, v.index), v.value, v.digits)) << sample (v.type, v.index);
    }

    // The sign changes strictly from 'index' to 'index + 1'.
    const int crossings[][2] = { { 1, 259 }, { 3, 268 }, { 4, 243 }, { 4, 449 }, { 5, 248 } };
    for (const auto& c : crossings)
    {
        SCOPED_TRACE (where (c[0], c[1]) + " (zero crossing)");
        EXPECT_LT (sample (c[0], c[1]) * sample (c[0], c[1] + 1), 0.0);
    }

    struct Jump
    {
        int type, index;
        double leastSize;
    };
    const Jump jumps[] = { { 2, 255, 1.9 }, { 3, 253, 0.7 }, { 4, 65, 0.1 }, { 4, 223, 0.1 }, { 5, 44, 0.3 } };
    for (const auto& j : jumps)
    {
        SCOPED_TRACE (where (j.type, j.index) + " (jump to the next sample)");
        EXPECT_GE (std::abs (sample (j.type, j.index + 1) - sample (j.type, j.index)), j.leastSize);
    }

    for (int i = 257; i < 272; ++i)
    {
        SCOPED_TRACE (where (1, i) + " (decelerating fall)");
        EXPECT_LT (sample (1, i), sample (1, i - 1));
        EXPECT_GT (sample (1, i - 1) - sample (1, i), sample (1, i) - sample (1, i + 1));
    }
}

TEST (WaveformData, PlateausShelvesAndStepsHoldTheirLevels)
{
    struct Level
    {
        int type, first, last;
        double level, tolerance;
    };
    const Level levels[] = {
        { 3, 320, 340, -0.75, 0.01 },   { 4, 0, 65, -0.02, 0.02 },        { 4, 224, 304, 0.0, 0.1 },
        { 5, 49, 192, 0.98, 0.0 },      { 5, 313, 468, -0.9752, 0.0005 }, { 6, 9, 44, 0.278, 0.012 },
        { 6, 53, 83, 0.619, 0.012 },    { 6, 92, 131, 0.969, 0.012 },     { 6, 140, 172, 0.66, 0.012 },
        { 6, 181, 222, 0.362, 0.012 },  { 6, 235, 280, 0.0, 0.012 },      { 6, 290, 315, -0.488, 0.012 },
        { 6, 325, 359, -0.974, 0.012 }, { 6, 371, 395, -0.468, 0.012 },   { 6, 418, 440, -0.253, 0.012 },
        { 6, 451, 468, -0.973, 0.012 }, { 7, 91, 189, 0.674, 0.03 },      { 7, 266, 294, -0.389, 0.025 },
        { 7, 318, 377, -0.545, 0.025 }, { 7, 386, 416, -0.467, 0.025 },   { 7, 486, 501, 0.238, 0.025 },
    };
    for (const auto& l : levels)
        for (int i = l.first; i <= l.last; ++i)
        {
            SCOPED_TRACE (where (l.type, i) + " (level " + std::to_string (l.level) + ")");
            if (l.tolerance == 0.0)
                EXPECT_EQ (waveformTables[l.type - 1][i], static_cast<float> (l.level));
            else
                EXPECT_NEAR (sample (l.type, i), l.level, l.tolerance);
        }

    for (int i = 66; i <= 223; ++i)
    {
        SCOPED_TRACE (where (4, i) + " (negative pulse)");
        EXPECT_LT (sample (4, i), -0.1);
    }
}

TEST (WaveformData, BrightSawRisesSteeperThenFallsOnItsLine)
{
    // 8-sample slopes grow steadily from about 0.0022 to about 0.0053 up to sample 208.
    double previous = 0.0;
    for (int i = 0; i < 208; i += 8)
    {
        SCOPED_TRACE (where (2, i) + " (growing slope)");
        const double slope = (sample (2, i + 8) - sample (2, i)) / 8.0;
        EXPECT_GT (slope, previous - 1.0e-4);
        previous = slope;
    }
    EXPECT_NEAR ((sample (2, 8) - sample (2, 0)) / 8.0, 0.0022, 0.0003);
    EXPECT_NEAR (previous, 0.0053, 0.0003);
    EXPECT_NEAR ((sample (2, 255) - sample (2, 224)) / 31.0, 0.0038, 0.0001);

    for (int i = 256; i < waveformLength; ++i)
    {
        SCOPED_TRACE (where (2, i) + " (falling line)");
        EXPECT_NEAR (sample (2, i), -1.957004 + 0.00382933 * i, 0.00005);
    }
}

TEST (WaveformData, CyclesCloseNearZeroAndSawsHoldSixteenBitValues)
{
    for (int type = 1; type <= waveformCount; ++type)
    {
        SCOPED_TRACE (where (type, 0) + " and its last sample");
        EXPECT_NEAR (sample (type, 0), 0.0, 0.002);
        EXPECT_NEAR (sample (type, waveformLength - 1), 0.0, 0.031);
        EXPECT_TRUE (std::all_of (waveformTables[type - 1], waveformTables[type - 1] + waveformLength,
                                  [] (float v) { return std::isfinite (v) && std::abs (v) <= 1.0f; }));
    }
    for (int type = 1; type <= 2; ++type)
        for (int i = 0; i < waveformLength; ++i)
        {
            SCOPED_TRACE (where (type, i));
            const double steps = sample (type, i) * 32768.0;
            EXPECT_EQ (steps, std::round (steps));
        }
}

TEST (WaveformData, NoiseformIsMostlyBelowZeroWithItsStatedMean)
{
    double sum = 0.0;
    int below = 0;
    for (int i = 0; i < waveformLength; ++i)
    {
        sum += sample (8, i);
        below += sample (8, i) < 0.0 ? 1 : 0;
    }
    EXPECT_TRUE (printsAs (sum / waveformLength, -0.179, 3)) << sum / waveformLength;
    EXPECT_GT (below, waveformLength / 2);
}
} // namespace
