// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Making one plug-in instance for a host: what the module's exported entry does.
#pragma once

#include "host/VstAbi.h"

namespace quane
{
/** Makes sure JUCE's message manager exists (the calling thread becomes the message thread on
    the first call), asks the host for its version and, when it answers, creates a model and the
    wrapper around it. Returns the wrapper's AEffect, or null for a host that is not one or when
    anything fails. */
vst::AEffect* createEffectInstance (vst::AudioMasterCallback audioMaster);
} // namespace quane
