// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A window's pixels as a test host grabs them, and the measures the editor tests take of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quane::test
{
/** A window's pixels as 0xRRGGBB values, row by row. */
struct Picture
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at (int x, int y) const { return pixels[(size_t) (y * width + x)]; }
    int distinctColours() const;
    /** The mean of the three channels over the picture, 0..255. */
    double meanBrightness() const;
    /** Mean absolute channel difference to another picture of the same size over an area. */
    double meanDifference (const Picture& other, int x, int y, int w, int h) const;
    /** Pixels that differ from the same pixel of another picture of the same size. */
    int differingPixels (const Picture& other) const;
};
} // namespace quane::test
