// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host: the built module loaded through the host kit and driven only through its AEffect.
#pragma once

#include "engine/PatchParams.h"
#include "hostkit/HostedEffect.h"

#include <functional>
#include <string>
#include <vector>

namespace quane::test
{
/** The built module: QUANE_MODULE_PATH of the build, or of the environment (the Windows test host). */
std::string modulePath();

/** The process's one loading of the module, for tests that do not unload it themselves. */
hostkit::LoadedModule& sharedModule();

/** An instance made through an entry (the shared module's VSTPluginMain unless another is given),
    logging every request it makes of the host; not opened. */
class Instance : public hostkit::HostedEffect
{
public:
    explicit Instance (hostkit::EntryFunction entry = sharedModule().getPluginMain(), vst::intptr vstVersion = 2400);

    /** Text into a buffer of 'x' bytes, so that a text the module does not end shows. */
    std::string text (vst::int32 opcode, vst::int32 index = 0) { return HostedEffect::text (opcode, index, 'x'); }

    void noteOn (int note, int position = 0) { sendMidi ({ { position, { 0x90, (unsigned char) note, 100 } } }); }

    /** Every patch value, as getParameter gives it. */
    std::vector<float> allValues() const;
};

/** Checks the automation the instance reported (since its log was last cleared) for a slider
    dragged one way: several reports, all of the index, each value beyond the one before (above
    it when rising), the last one the parameter's value. */
void expectOneWayAutomation (const Instance& instance, int index, bool rising);

/** Checks that the instance reported one automation (since its log was last cleared): the index
    set to the value, which the parameter now holds. */
void expectSingleAutomation (const Instance& instance, int index, float value);

/** A chunk holding the XML text: magic, its length (or declaredLength) and, for makeChunk, the
    terminator and the spare byte. */
std::vector<unsigned char> makeChunk (const std::string& xml);
std::vector<unsigned char> makeChunkDeclaring (const std::string& xml, unsigned int declaredLength);

double rms (const std::vector<float>& samples, size_t from, size_t to);

/** The shortest wall-clock time of several runs of the call, in milliseconds. */
double bestMilliseconds (int runs, const std::function<void()>& call);
} // namespace quane::test
