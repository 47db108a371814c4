// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's exported entry: the only two symbols a host sees.
#include "module/InstanceFactory.h"

#ifdef _WIN32
// Exported through the module's .def file, which also gives VSTPluginMain the name "main".
#define QUANE_EXPORT extern "C"
#else
#define QUANE_EXPORT extern "C" __attribute__ ((visibility ("default")))
#endif

QUANE_EXPORT quane::vst::AEffect* VSTPluginMain (quane::vst::AudioMasterCallback audioMaster)
{
    return quane::createEffectInstance (audioMaster);
}

#ifndef _WIN32
// Older hosts look for "main"; C++ may not define a function of that name, the assembler may.
QUANE_EXPORT quane::vst::AEffect* vstMainEntry (quane::vst::AudioMasterCallback audioMaster) asm("main");

quane::vst::AEffect* vstMainEntry (quane::vst::AudioMasterCallback audioMaster)
{
    return quane::createEffectInstance (audioMaster);
}
#endif
