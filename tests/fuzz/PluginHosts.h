// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The built VST3 and LV2 plug-ins loaded as their hosts load them, for the plug-in state fuzz target.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quane::fuzz
{
/** An instance of Quane.vst3 through its factory, set up for blocks of at most 512 at 44.1 kHz;
    playChord also sends it a longer one. Made and used on one thread; the module stays loaded for
    the process's life. */
class Vst3Plugin
{
public:
    Vst3Plugin();
    ~Vst3Plugin();

    /** IComponent::setState with the bytes; IComponent::getState. */
    void restore (const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> save();

    /** A chord in one block: true when every sample is finite and bounded (for the VST3 plug-in,
        of the block after it too, twice as long as announced, which it must refuse and silence). */
    bool playChord();

private:
    struct Objects;
    std::unique_ptr<Objects> objects;
};

/** An instance of Quane.lv2 through lv2_descriptor, with the features it requires, told of blocks
    of at most 64 and given 512. restore hands
    the bytes to the state interface base64-encoded, as JUCE's LV2 client stores them; save
    decodes what it stored. */
class Lv2Plugin
{
public:
    Lv2Plugin();
    ~Lv2Plugin();

    void restore (const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> save();
    bool playChord();

private:
    struct Objects;
    std::unique_ptr<Objects> objects;
};
} // namespace quane::fuzz
