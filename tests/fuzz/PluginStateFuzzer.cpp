// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as the saved state of the VST3 and LV2 plug-ins, through their own state
// entries (IComponent::setState, the LV2 state interface's restore), then a chord and the state
// handed back.
//
// Input: one mode byte, then the state. Mode bit 0 picks the format (0 VST3, 1 LV2). Bit 1 wraps the
// rest in a valid chunk header, so the mutations reach the XML reader; bit 2 (VST3) appends JUCE's
// private-data trailer declaring the length in the next four input bytes.
#include "tests/fuzz/FuzzHost.h"
#include "tests/fuzz/PluginHosts.h"

#include <cstring>

using namespace quane;

namespace
{
void withJuceTrailer (std::vector<std::uint8_t>& state, std::uint64_t declaredLength)
{
    for (int shift = 0; shift < 64; shift += 8)
        state.push_back ((std::uint8_t) (declaredLength >> shift));
    static const char marker[] = "JUCEPrivateData";
    state.insert (state.end(), marker, marker + sizeof (marker) - 1);
}

template <typename Plugin>
void exercise (const std::vector<std::uint8_t>& state)
{
    Plugin plugin;
    plugin.restore (state);
    fuzz::require (plugin.playChord(), "a sample out of bounds after the state");

    // The state handed out reads back to itself in a fresh instance.
    const auto saved = plugin.save();
    fuzz::require (! saved.empty(), "no state handed out");
    Plugin other;
    other.restore (saved);
    fuzz::require (other.save() == saved, "the state handed out does not read back to itself");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::FuzzInput input (data, size);
    const auto mode = input.byte();
    const auto declaredTrailer = (std::uint64_t) (std::uint32_t) input.int32();
    auto state = input.bytes (size);
    if ((mode & 2) != 0)
        state = fuzz::withValidHeader (state);
    if ((mode & 4) != 0)
        withJuceTrailer (state, declaredTrailer);

    if ((mode & 1) == 0)
        exercise<fuzz::Vst3Plugin> (state);
    else
        exercise<fuzz::Lv2Plugin> (state);
    return 0;
}
