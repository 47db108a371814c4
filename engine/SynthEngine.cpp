// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice pool: note assignment, parameter fan-out and block rendering in 16-sample chunks.
#include "engine/SynthEngine.h"

#include "engine/PatchValueTable.h"
#include "engine/ScopedFlushDenormals.h"
#include "engine/SynthVoice.h"
#include "engine/VoiceLanesRenderer.h"

#include <algorithm>
#include <cmath>

namespace quane
{
SynthEngine::SynthEngine (float rate, PatchProgramTable programTable)
    : SynthEngine (rate, programTable, [] (float voiceRate, const PatchParams& voicePatch) {
          return std::unique_ptr<Voice> (new SynthVoice (voiceRate, voicePatch));
      })
{
}

SynthEngine::SynthEngine (float rate, PatchProgramTable programTable, const VoiceFactory& makeVoice)
    : sampleRate (rate), programs (programTable), patch (std::make_unique<PatchParams>())
{
    (*patch)[patch::modwheelPosition] = 0.0f;
    (*patch)[patch::pitchBend] = 0.0f;

    for (auto& voice : voices)
        voice = makeVoice (sampleRate, *patch);

    useVoiceLanesKernel (VoiceLanesKernels::best());
}

SynthEngine::~SynthEngine()
{
    lanesRenderer.reset();
    for (auto& voice : voices)
        voice.reset();
}

void SynthEngine::useVoiceLanesKernel (VoiceLanesKernel kernel)
{
    if (lanesRenderer != nullptr)
        lanesRenderer->handBackAll();
    lanesRenderer.reset();
    std::array<SynthVoice*, voiceCount> synthVoices {};
    for (size_t index = 0; index < voices.size(); ++index)
        if ((synthVoices[index] = dynamic_cast<SynthVoice*> (voices[index].get())) == nullptr)
            return;
    ownVoices = true;

    if (kernel)
        lanesRenderer = std::make_unique<VoiceLanesRenderer> (synthVoices, *patch, kernel);
}

int SynthEngine::transposedNote (int note) const noexcept
{
    // Octave 2 means no transposition: note - 24 - trunc(-12 * 2) = note.
    const int shift = truncateToInt (-12.0f * (*patch)[patch::octave]);
    const long long transposed = (long long) note - 24 - shift;
    return (int) (transposed < -(1 << 20) ? -(1 << 20) : (transposed > (1 << 20) ? (1 << 20) : transposed));
}

double SynthEngine::halfPitchHz (int transposedNote) noexcept
{
    // Note 81 is the reference: voices run their oscillator twice per output sample, so
    // the sounding pitch is twice this and note 69 sounds at 440 Hz.
    return 440.0 * std::pow (2.0, (transposedNote - 81) / 12.0);
}

void SynthEngine::noteOn (int note, int velocity, int sampleOffset)
{
    const int transposed = transposedNote (note);
    const auto frequency = (float) halfPitchHz (transposed);
    const float level = (float) velocity * (1.0f / 127.0f);

    auto startOn = [&] (int index) {
        voiceToChange (index).start (frequency, level, transposed, sampleOffset, sampleRate);
    };

    for (int index = 0; index < voiceCount; ++index)
        if (! voices[(size_t) index]->isActive())
            return startOn (index);

    // All voices busy: steal the first one that is already releasing; a held note is never taken.
    for (int index = 0; index < voiceCount; ++index)
        if (voices[(size_t) index]->isReleased())
            return startOn (index);
}

void SynthEngine::noteOff (int note, int sampleOffset)
{
    const int transposed = transposedNote (note);

    for (int index = 0; index < voiceCount; ++index)
        if (voices[(size_t) index]->getNote() == transposed)
            voiceToChange (index).release (sampleOffset);
}

void SynthEngine::silenceAllVoices()
{
    for (auto& voice : voices)
        voice->setActive (false);
}

void SynthEngine::refreshVoices (int patchIndex)
{
    const auto refresh = patch::voiceRefreshOf (patchIndex);
    if (refresh == patch::VoiceRefresh::silenceVoices)
        return silenceAllVoices();
    // A value read afresh at every chunk changes no voice's state, so no voice is handed back.
    const bool changesVoices = refresh != patch::VoiceRefresh::none;
    for (int index = 0; index < voiceCount; ++index)
        (changesVoices ? voiceToChange (index) : *voices[(size_t) index]).refresh (patchIndex);
}

void SynthEngine::refreshAllVoices()
{
    silenceAllVoices();

    for (int voice = 0; voice < voiceCount; ++voice)
        for (int index = 0; index < patch::valueCount; ++index)
            voiceToChange (voice).refresh (index);
}

Voice& SynthEngine::getVoice (int index) noexcept
{
    return voiceToChange (index);
}

Voice& SynthEngine::voiceToChange (int index) noexcept
{
    if (lanesRenderer != nullptr)
        return lanesRenderer->handBack (index);
    return *voices[(size_t) index];
}

void SynthEngine::setPatchValue (int patchIndex, float value)
{
    if (patchIndex < 0 || patchIndex >= patch::valueCount)
        return;

    (*patch)[patchIndex] = patch::clampToClass (patchIndex, value);
}

bool SynthEngine::loadProgram (int number)
{
    if (number < 0 || number >= programs.count || programs.programs == nullptr)
        return false;

    const auto& program = programs.programs[number];
    for (int index = 0; index < patch::valueCount; ++index)
        (*patch)[index] = program.values[index];

    refreshAllVoices();
    return true;
}

void SynthEngine::renderChunkOfAllVoices (float* left, float* right)
{
    if (lanesRenderer != nullptr)
        return lanesRenderer->renderChunk (left, right);

    // Even voices lean one way, odd voices the other.
    for (size_t index = 0; index < voices.size(); ++index)
    {
        if (index % 2 == 0)
            voices[index]->renderChunk (left, right);
        else
            voices[index]->renderChunk (right, left);
    }
}

void SynthEngine::renderBlock (float* left, float* right, int numSamples)
{
    if (numSamples < 0)
        return;

    const ScopedFlushDenormals noDenormals;
    const int carried = carriedCount;

    // A block shorter than what is carried takes the oldest carried samples; the rest wait.
    if (numSamples < carried)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            left[i] += carryLeft[(size_t) (chunkSize - carried + i)];
            right[i] += carryRight[(size_t) (chunkSize - carried + i)];
        }
        carriedCount = carried - numSamples;
        return;
    }

    const int remainder = (numSamples - carried) % chunkSize;
    const int chunks = (numSamples - carried - remainder) / chunkSize;

    for (int i = 0; i < carried; ++i)
    {
        left[i] += carryLeft[(size_t) (chunkSize - carried + i)];
        right[i] += carryRight[(size_t) (chunkSize - carried + i)];
    }

    // Voices of this engine's own kind add nothing while silent and only fall silent during a
    // render, so with none sounding now the chunks are skipped: an idle instance costs next to
    // nothing. Other kinds of voice (test doubles) are always asked.
    const bool anySounding = ! ownVoices || std::any_of (voices.begin(), voices.end(), [] (const auto& voice) {
        return voice->isActive();
    });
    for (int chunk = 0; chunk < chunks && anySounding; ++chunk)
    {
        const int start = carried + chunkSize * chunk;
        renderChunkOfAllVoices (left + start, right + start);
    }

    carryLeft.fill (0.0f);
    carryRight.fill (0.0f);
    if (anySounding)
        renderChunkOfAllVoices (carryLeft.data(), carryRight.data());

    for (int j = 0; j < remainder; ++j)
    {
        left[numSamples - remainder + j] += carryLeft[(size_t) j];
        right[numSamples - remainder + j] += carryRight[(size_t) j];
    }

    carriedCount = chunkSize - remainder;
}
} // namespace quane
