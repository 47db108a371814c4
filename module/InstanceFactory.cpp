// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Making one plug-in instance for a host: what the module's exported entry does.
#include "module/InstanceFactory.h"

#include "host/JuceVSTWrapper.h"
#include "host/MessageLoop.h"
#include "plugin/MyPlugJuceFilter.h"

namespace quane
{
vst::AEffect* createEffectInstance (vst::AudioMasterCallback audioMaster)
{
    try
    {
        // The loading thread becomes JUCE's message thread. JUCE 7 has no busy-cursor watch to
        // switch off: a wait cursor appears only when asked for.
        ensureMessageManager();

        if (audioMaster == nullptr || audioMaster (nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
            return nullptr;

        std::unique_ptr<AudioFilterBase> model (createFilterInstance());
        if (model == nullptr)
            return nullptr;

        auto* wrapper = new JuceVSTWrapper (audioMaster, std::move (model));
        return wrapper->getAeffect();
    }
    catch (...)
    {
        return nullptr;
    }
}
} // namespace quane
