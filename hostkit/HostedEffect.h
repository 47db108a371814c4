// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One effect instance made through a module's VST 2.x entry, and the host's answers to it.
#pragma once

#include "hostkit/LoadedModule.h"
#include "hostkit/VstEventList.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quane::hostkit
{
/** Where the host's transport stands for one block, as audioMasterGetTime reports it. */
struct Transport
{
    std::int64_t samplePosition = 0; // the block's first sample, counted from the start
    double tempoBpm = 120.0;
    double ppqPosition = 0.0;
    bool playing = true;
};

/** One request the module made of the host (its audioMaster call). */
struct HostRequest
{
    vst::AEffect* effect; // null while the entry is still making the instance
    vst::int32 opcode;
    vst::int32 index;
    vst::intptr value;
    void* ptr;
    float opt;
    double timeMs; // steady clock
};

/** How the host presents itself to the instance. */
struct HostSetup
{
    std::string productName = "Quane host"; // audioMasterGetProductString
    vst::intptr vstVersion = 2400;          // audioMasterVersion; a host that answers 0 is none
    bool logRequests = false;               // keeps every request (not for instances an audio thread drives)
};

/** One instance of an effect, made through a module's entry and closed (the module deletes it)
    with the object. Requests come from the thread that made it, which is also the module's
    message thread, except those a host makes on its audio thread: processBlock, render,
    sendEvents, setParameter.

    The instance answers the module's requests to the host itself, as a host does; onRequest
    sees each one first and may answer in its place. Each live instance has a callback of its
    own, so the module's calls find it without the AEffect's user field and without a lock,
    from any thread. At most 64 instances live at a time; beyond that getEffect() is null. */
class HostedEffect
{
public:
    /** Calls the entry; getEffect() is null when it made nothing. The instance is not opened. */
    explicit HostedEffect (EntryFunction entry, HostSetup setup = {});
    /** Suspends a resumed instance, then closes it. */
    ~HostedEffect();

    HostedEffect (const HostedEffect&) = delete;
    HostedEffect& operator= (const HostedEffect&) = delete;

    vst::AEffect* getEffect() const noexcept { return effect; }
    vst::intptr dispatch (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);

    /** effOpen, then the sample rate and largest block, as hosts begin. */
    void open (double sampleRate, int maximumBlockSize);
    /** A new sample rate and largest block, passed on as hosts do: suspend, effSetSampleRate,
        effSetBlockSize. The caller resumes; no block may be processed meanwhile. */
    void setProcessing (double sampleRate, int maximumBlockSize);
    double getSampleRate() const noexcept { return sampleRate; }
    /** effMainsChanged 1 and effStartProcess; suspend undoes them. Each does nothing twice. */
    void resume();
    void suspend();
    /** effClose now; answers its answer. The instance is empty afterwards. */
    vst::intptr close();

    int getNumParameters() const noexcept { return effect->numParams; }
    int getNumPrograms() const noexcept { return effect->numPrograms; }
    float getParameter (int index) const { return effect->getParameter (effect, index); }
    void setParameter (int index, float value) { effect->setParameter (effect, index, value); }
    /** effSetProgram between effBeginSetProgram and effEndSetProgram. */
    void setProgram (int number);

    /** The text a request writes into a host's buffer of 256 bytes, up to its terminator. The
        buffer starts as `unwritten` bytes: zeros as hosts give it, or another byte to see whether
        the module ended its text itself. */
    std::string text (vst::int32 opcode, vst::int32 index = 0, char unwritten = '\0');
    std::string getParameterName (int index) { return text (vst::effGetParamName, index); }
    std::string getProgramName (int number);
    std::string getCurrentProgramName() { return text (vst::effGetProgramName); }

    /** The opaque state from effGetChunk, copied at once (the module keeps its block a while
        only): the current program's (isProgram) or the bank's. Empty when it hands out none. */
    std::vector<unsigned char> getChunk (bool isProgram = false);
    /** effBeginLoadProgram or effBeginLoadBank, then effSetChunk with exactly these bytes. */
    void setChunk (const std::vector<unsigned char>& chunk, bool isProgram = false);

    /** effProcessEvents with the record; answers the module's answer. */
    vst::intptr sendEvents (const vst::VstEvents& events);
    /** effProcessEvents with short messages; makes room for them, so not for audio threads. */
    void sendMidi (const std::vector<TimedMessage>& messages);
    /** processReplacing (or the adding process) into the outputs, with silent inputs. Allocates
        nothing and takes no lock. */
    void render (float* const* outputs, int numSamples, bool replacing = true);
    /** numSamples of fresh audio into arrays that held initialValue: left, then right. */
    std::vector<float> render (int numSamples, bool replacing = true, float initialValue = 0.0f);
    /** The block's events (positions inside the block), the transport, then numSamples of audio
        replacing the outputs. Allocates nothing and takes no lock: fit for an audio thread. */
    void processBlock (const vst::VstEvents& events, float* const* outputs, int numSamples, const Transport& transport);

    /** effEditIdle every stepMs for ms milliseconds, as a host's idle loop gives it. */
    void idleEditor (int ms, int stepMs = 5);

    /** Answers a request in the kit's place when it gives a value; runs on the caller's thread. */
    std::function<std::optional<vst::intptr> (const HostRequest&)> onRequest;
    /** Called for audioMasterSizeWindow; answers whether the host window followed. */
    std::function<bool (int width, int height)> onSizeWindow;

    /** The requests logged so far (HostSetup::logRequests), all or those of one opcode. */
    std::vector<HostRequest> getRequests() const;
    std::vector<HostRequest> getRequests (vst::int32 opcode) const;
    void clearRequests();

    /** The answer to one request of the module's, for the instance's callback. */
    vst::intptr answer (const HostRequest& request);

private:
    vst::intptr standardAnswer (const HostRequest& request);
    void release() noexcept;

    HostSetup setup;
    int callbackSlot = -1;
    vst::AEffect* effect = nullptr;
    double sampleRate = 44100.0;
    int maximumBlockSize = 0;
    bool resumed = false;
    vst::VstTimeInfo timeInfo {};
    std::vector<float> silentInput;
    VstEventList midiToSend;

    mutable std::mutex logLock;
    std::vector<HostRequest> requestLog;
};
} // namespace quane::hostkit
