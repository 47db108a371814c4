// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's processing entry: MIDI of one block into engine calls, then one render.
#include "plugin/MyPlugJuceFilter.h"

namespace quane
{
namespace
{
constexpr int kindNoteOff = 0x8;
constexpr int kindNoteOn = 0x9;
constexpr int kindController = 0xB;
constexpr int kindPitchWheel = 0xE;
constexpr int controllerModWheel = 1;
constexpr int controllerAllNotesOff = 123;
constexpr float oneOver127 = 0.007874016f;
} // namespace

void MyPlugJuceFilter::processAudioBlock (const juce::AudioBuffer<float>&, juce::AudioBuffer<float>& output,
                                          bool accumulate, juce::MidiBuffer& midi)
{
    auto& patchBlock = engine->getPatch();

    // 1. Every event of the block before anything is rendered; the channel is never looked at.
    for (const auto event : midi)
    {
        const int status = event.numBytes > 0 ? event.data[0] : 0;
        const int data1 = event.numBytes > 1 ? event.data[1] : 0;
        const int data2 = event.numBytes > 2 ? event.data[2] : 0;
        const int kind = status >> 4;

        if (kind == kindNoteOn && data2 != 0)
            engine->noteOn (data1, data2, event.samplePosition);
        else if (kind == kindNoteOff || kind == kindNoteOn)
            engine->noteOff (data1, event.samplePosition);
        else if (kind == kindController && data1 == controllerAllNotesOff)
            engine->silenceAllVoices();
        else if (kind == kindController)
        {
            if (data1 == controllerModWheel)
                patchBlock[patch::modwheelPosition] = (float) data2 * oneOver127;
        }
        else if (kind == kindPitchWheel)
            patchBlock[patch::pitchBend] = (float) (data1 + 128 * data2) * (1.0f / 8192.0f) - 1.0f;
    }

    // 2. The instrument sends no MIDI.
    midi.clear();

    // 3. and 4. Replace or add, then render the whole block at once.
    if (! accumulate)
        output.clear();

    if (output.getNumChannels() >= 2)
        engine->renderBlock (output.getWritePointer (0), output.getWritePointer (1), output.getNumSamples());
}
} // namespace quane
