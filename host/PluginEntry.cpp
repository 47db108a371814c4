// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's exported entry: the only two symbols a host sees.
#include "host/JuceVSTWrapper.h"
#include "host/MessageLoop.h"
#include "plugin/MyPlugJuceFilter.h"

#ifdef _WIN32
 // Exported through the module's .def file, which also gives VSTPluginMain the name "main".
 #define QUANE_EXPORT extern "C"
#else
 #define QUANE_EXPORT extern "C" __attribute__ ((visibility ("default")))
#endif

namespace
{
quane::vst::AEffect* createInstance (quane::vst::AudioMasterCallback audioMaster)
{
    using namespace quane;
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
} // namespace

QUANE_EXPORT quane::vst::AEffect* VSTPluginMain (quane::vst::AudioMasterCallback audioMaster)
{
    return createInstance (audioMaster);
}

#ifndef _WIN32
// Older hosts look for "main"; C++ may not define a function of that name, the assembler may.
QUANE_EXPORT quane::vst::AEffect* vstMainEntry (quane::vst::AudioMasterCallback audioMaster) asm ("main");

quane::vst::AEffect* vstMainEntry (quane::vst::AudioMasterCallback audioMaster)
{
    return createInstance (audioMaster);
}
#endif
