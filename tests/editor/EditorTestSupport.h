// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the editor tests: the message thread, a recording host and mouse drags.
#pragma once

#include "tests/common/MessageThread.h"

#include "editor/MyPlugEditorComponent.h"
#include "engine/PatchParams.h"

#include <vector>

namespace quane::test
{
/** Stands in for the host adaptation: records every reported change and sets it in the model,
    as the wrapper does before it tells the host. */
class RecordingHost : public AudioFilterBase::FilterNativeCallbacks
{
public:
    struct Change
    {
        int index;
        float value;
    };

    explicit RecordingHost (AudioFilterBase& modelToDrive) : model (modelToDrive) {}

    bool queryTransportPosition (TransportPosition&) override { return false; }
    void reportParameterChange (int index, float value) override;

    int countFor (int index) const;
    std::vector<Change> changes;

private:
    AudioFilterBase& model;
};

/** Presses the left button at the given position along the slider's axis (pixels within the
    slider), drags there and releases, as a user clicking on the track would. */
void dragSliderTo (juce::Slider& slider, float position);

/** Drags the slider to where the given value would sit on its track. */
void dragSliderToValue (juce::Slider& slider, double value);
} // namespace quane::test
