// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One effect instance made through a module's VST 2.x entry: the host's requests to it.
#include "hostkit/HostedEffect.h"

#include <cassert>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace quane::hostkit
{
namespace
{
constexpr vst::int32 bankChunkIndex = 0;
constexpr vst::int32 programChunkIndex = 1;

// Hosts hand out text buffers of this size; the protocol's own limits (8, 24, 64) are far below.
constexpr size_t textBufferSize = 256;
} // namespace

HostedEffect::~HostedEffect()
{
    if (effect != nullptr)
    {
        suspend();
        close();
    }
    release();
}

vst::intptr HostedEffect::dispatch (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

void HostedEffect::open (double rate, int blockSize)
{
    dispatch (vst::effOpen);
    setProcessing (rate, blockSize);
}

void HostedEffect::setProcessing (double rate, int blockSize)
{
    suspend();
    sampleRate = rate;
    maximumBlockSize = blockSize;
    silentInput.assign ((size_t) blockSize, 0.0f);
    dispatch (vst::effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    dispatch (vst::effSetBlockSize, 0, maximumBlockSize);
}

void HostedEffect::resume()
{
    if (resumed)
        return;
    timeInfo.sampleRate = sampleRate;
    dispatch (vst::effMainsChanged, 0, 1);
    dispatch (vst::effStartProcess);
    resumed = true;
}

void HostedEffect::suspend()
{
    if (! resumed)
        return;
    dispatch (vst::effStopProcess);
    dispatch (vst::effMainsChanged, 0, 0);
    resumed = false;
}

vst::intptr HostedEffect::close()
{
    // The module deletes the instance and its AEffect here.
    const auto answer = effect != nullptr ? dispatch (vst::effClose) : 0;
    effect = nullptr;
    resumed = false;
    return answer;
}

void HostedEffect::setProgram (int number)
{
    dispatch (vst::effBeginSetProgram);
    dispatch (vst::effSetProgram, 0, number);
    dispatch (vst::effEndSetProgram);
}

std::string HostedEffect::text (vst::int32 opcode, vst::int32 index, char unwritten)
{
    char buffer[textBufferSize];
    std::memset (buffer, unwritten, sizeof (buffer));
    dispatch (opcode, index, 0, buffer);
    return std::string (buffer, strnlen (buffer, sizeof (buffer)));
}

std::string HostedEffect::getProgramName (int number)
{
    char buffer[textBufferSize] = {};
    dispatch (vst::effGetProgramNameIndexed, number, -1, buffer); // -1: programs of every category
    return buffer;
}

std::vector<unsigned char> HostedEffect::getChunk (bool isProgram)
{
    void* data = nullptr;
    const auto size = dispatch (vst::effGetChunk, isProgram ? programChunkIndex : bankChunkIndex, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const auto* bytes = static_cast<const unsigned char*> (data);
    return std::vector<unsigned char> (bytes, bytes + size);
}

void HostedEffect::setChunk (const std::vector<unsigned char>& chunk, bool isProgram)
{
    dispatch (isProgram ? vst::effBeginLoadProgram : vst::effBeginLoadBank);
    dispatch (vst::effSetChunk, isProgram ? programChunkIndex : bankChunkIndex, (vst::intptr) chunk.size(),
              const_cast<unsigned char*> (chunk.data()));
}

vst::intptr HostedEffect::sendEvents (const vst::VstEvents& events)
{
    return dispatch (vst::effProcessEvents, 0, 0, const_cast<vst::VstEvents*> (&events));
}

void HostedEffect::sendMidi (const std::vector<TimedMessage>& messages)
{
    midiToSend.clear();
    midiToSend.reserve ((int) messages.size());
    for (const auto& message : messages)
        midiToSend.add (message);
    sendEvents (midiToSend.record());
}

void HostedEffect::render (float* const* outputs, int numSamples, bool replacing)
{
    float* inputs[8] = {};
    const bool hasInputs = effect->numInputs > 0;
    if (hasInputs)
    {
        assert (numSamples <= (int) silentInput.size());
        for (auto& input : inputs)
            input = silentInput.data();
    }
    (replacing ? effect->processReplacing : effect->process) (effect, hasInputs ? inputs : nullptr,
                                                              const_cast<float**> (outputs), numSamples);
}

std::vector<float> HostedEffect::render (int numSamples, bool replacing, float initialValue)
{
    std::vector<float> samples ((size_t) numSamples * 2, initialValue);
    float* outputs[] = { samples.data(), samples.data() + numSamples };
    render (outputs, numSamples, replacing);
    return samples;
}

void HostedEffect::processBlock (const vst::VstEvents& events, float* const* outputs, int numSamples,
                                 const Transport& transport)
{
    const bool firstBlock = transport.samplePosition == 0;
    timeInfo.samplePos = (double) transport.samplePosition;
    timeInfo.sampleRate = sampleRate;
    timeInfo.nanoSeconds = (double) transport.samplePosition / sampleRate * 1.0e9;
    timeInfo.ppqPos = transport.ppqPosition;
    timeInfo.tempo = transport.tempoBpm;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.barStartPos = std::floor (transport.ppqPosition / 4.0) * 4.0;
    timeInfo.flags = (transport.playing ? vst::kVstTransportPlaying : 0) | vst::kVstNanosValid | vst::kVstPpqPosValid
                     | vst::kVstTempoValid | vst::kVstBarsValid | vst::kVstTimeSigValid
                     | (firstBlock ? vst::kVstTransportChanged : 0);

    if (events.numEvents > 0)
        sendEvents (events);
    render (outputs, numSamples);
}

void HostedEffect::idleEditor (int ms, int stepMs)
{
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds (ms);
    do
    {
        dispatch (vst::effEditIdle);
        std::this_thread::sleep_for (std::chrono::milliseconds (stepMs));
    } while (Clock::now() < end);
}

std::vector<HostRequest> HostedEffect::getRequests() const
{
    const std::lock_guard<std::mutex> lock (logLock);
    return requestLog;
}

std::vector<HostRequest> HostedEffect::getRequests (vst::int32 opcode) const
{
    std::vector<HostRequest> found;
    for (const auto& request : getRequests())
        if (request.opcode == opcode)
            found.push_back (request);
    return found;
}

void HostedEffect::clearRequests()
{
    const std::lock_guard<std::mutex> lock (logLock);
    requestLog.clear();
}
} // namespace quane::hostkit
