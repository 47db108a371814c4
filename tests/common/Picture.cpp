// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A window's pixels as a test host grabs them, and the measures the editor tests take of them.
#include "tests/common/Picture.h"

#include <cstdlib>
#include <set>

namespace quane::test
{
namespace
{
int channel (std::uint32_t pixel, int shift)
{
    return (int) ((pixel >> shift) & 0xff);
}
} // namespace

int Picture::distinctColours() const
{
    return (int) std::set<std::uint32_t> (pixels.begin(), pixels.end()).size();
}

double Picture::meanBrightness() const
{
    double sum = 0.0;
    for (auto pixel : pixels)
        sum += channel (pixel, 16) + channel (pixel, 8) + channel (pixel, 0);
    return pixels.empty() ? 0.0 : sum / (3.0 * (double) pixels.size());
}

double Picture::meanDifference (const Picture& other, int x, int y, int w, int h) const
{
    double sum = 0.0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            for (int shift = 0; shift < 24; shift += 8)
                sum += std::abs (channel (at (column, row), shift) - channel (other.at (column, row), shift));
    return sum / (3.0 * w * h);
}

int Picture::differingPixels (const Picture& other) const
{
    if (other.pixels.size() != pixels.size())
        return (int) pixels.size();
    int count = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
        count += pixels[i] != other.pixels[i] ? 1 : 0;
    return count;
}
} // namespace quane::test
