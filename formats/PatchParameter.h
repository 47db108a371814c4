// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One patch value seen as a JUCE parameter: its editor range mapped linearly onto 0..1.
#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace quane
{
/** Where a parameter reads and writes its patch value: the plug-in's processor. */
class PatchValueAccess
{
public:
    virtual ~PatchValueAccess() = default;
    virtual float currentPatchValue (int index) = 0;
    virtual void writePatchValueFromHost (int index, float value) = 0;
};

/** Patch value index (0..38) as a host parameter of the VST3 and LV2 plug-ins.

    The editor's range of the value (minimum..maximum of its row in the patch value table) maps
    linearly onto JUCE's 0..1, computed in double precision and rounded once: every value of a
    unit range (0..1), of Spread (0.5..1), every whole number of the stepped sliders and every item
    of a selector makes the round trip bit for bit, and so does every bipolar value with at most
    23 significant bits (all factory values among them). A single-precision 0..1 cannot carry every
    bipolar value: the editor's own changes therefore pass through the mapping too, so the patch
    always holds what the host recorded.

    A free-class value beyond the range (an Octave of 7 from a VST 2.x host) shows at the nearest
    end; a host that writes back the normalised value it read leaves the patch as it is, so such a
    value keeps travelling exactly in the saved state. Values outside 0..1 are clamped, NaN is
    ignored.

    Selectors (30..38) are discrete parameters with their item names, the stepped sliders
    (Octave, Bend range) discrete with their whole numbers. Text is the model's own formatting.
    Hosts see 0..1 in every format: JUCE 7.0.5's LV2 client writes the scale points of a ranged
    parameter normalised, so a selector with its own range would get the wrong items.
    Thread-agnostic: hosts call from their audio and message threads. */
class PatchParameter : public juce::AudioProcessorParameterWithID
{
public:
    PatchParameter (PatchValueAccess& access, int patchIndex);

    /** The normalised value of a patch value of this index, clamped to 0..1. */
    float normalise (float patchValue) const noexcept;
    /** The patch value of a normalised value 0..1; discrete values land on their steps. */
    float denormalise (float normalised) const noexcept;

    float getValue() const override;
    void setValue (float newValue) override;
    float getDefaultValue() const override;
    juce::String getText (float normalised, int maximumLength) const override;
    float getValueForText (const juce::String& text) const override;
    int getNumSteps() const override;
    bool isDiscrete() const override;
    juce::StringArray getAllValueStrings() const override;

    const int index;

private:
    double minimum() const noexcept;
    double span() const noexcept;
    int stepCount() const noexcept; // 0: continuous

    PatchValueAccess& patch;
};

/** The stable identifier of a patch value's parameter: its name in lower case without spaces
    ("Env1 Depth" gives "env1depth"). Hosts store automation and LV2 URIs under it. */
juce::String patchParameterId (int patchIndex);
} // namespace quane
