// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The host's side of a hosted instance: making it through the entry, its own audioMaster
// callback and the answers to the module's requests.
#include "hostkit/HostedEffect.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <utility>

namespace quane::hostkit
{
namespace
{
// Host requests this host answers beyond those the module's own interface header names.
constexpr vst::int32 audioMasterCurrentId = 2;
constexpr vst::int32 audioMasterGetSampleRate = 16;
constexpr vst::int32 audioMasterGetBlockSize = 17;
constexpr vst::int32 audioMasterGetVendorString = 32;
constexpr vst::int32 audioMasterGetProductString = 33;
constexpr vst::int32 audioMasterGetVendorVersion = 34;

constexpr vst::intptr vstVersionOfUnknownInstance = 2400;
constexpr vst::intptr hostVendorVersion = 1000;
constexpr size_t hostTextLength = 63; // vendor and product strings: 64 bytes with the terminator
constexpr const char* hostCapabilities[] = { "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo", "sizeWindow",
                                             "supplyIdle" };

// The instance behind each callback; a callback whose slot is empty answers as a host with no
// instance (its version and nothing else).
constexpr int liveInstanceLimit = 64;
std::array<std::atomic<HostedEffect*>, liveInstanceLimit> liveInstances {};

template <int slot>
vst::intptr callbackOfSlot (vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr,
                            float opt)
{
    using namespace std::chrono;
    const auto nowMs = duration<double, std::milli> (steady_clock::now().time_since_epoch()).count();
    const HostRequest request { effect, opcode, index, value, ptr, opt, nowMs };
    if (auto* instance = liveInstances[slot].load (std::memory_order_acquire))
        return instance->answer (request);
    return opcode == vst::audioMasterVersion ? vstVersionOfUnknownInstance : 0;
}

template <int... slots>
constexpr std::array<vst::AudioMasterCallback, sizeof...(slots)> callbacksOf (std::integer_sequence<int, slots...>)
{
    return { &callbackOfSlot<slots>... };
}

constexpr auto slotCallbacks = callbacksOf (std::make_integer_sequence<int, liveInstanceLimit>());

void copyText (void* destination, const char* text)
{
    if (auto* out = static_cast<char*> (destination))
    {
        std::strncpy (out, text, hostTextLength);
        out[hostTextLength] = '\0';
    }
}
} // namespace

HostedEffect::HostedEffect (EntryFunction entry, HostSetup hostSetup) : setup (std::move (hostSetup))
{
    for (int slot = 0; slot < liveInstanceLimit && callbackSlot < 0; ++slot)
    {
        HostedEffect* empty = nullptr;
        if (liveInstances[(size_t) slot].compare_exchange_strong (empty, this, std::memory_order_acq_rel))
            callbackSlot = slot;
    }
    if (callbackSlot >= 0 && entry != nullptr)
        effect = entry (slotCallbacks[(size_t) callbackSlot]);
}

void HostedEffect::release() noexcept
{
    if (callbackSlot >= 0)
        liveInstances[(size_t) callbackSlot].store (nullptr, std::memory_order_release);
    callbackSlot = -1;
}

vst::intptr HostedEffect::answer (const HostRequest& request)
{
    if (setup.logRequests)
    {
        const std::lock_guard<std::mutex> lock (logLock);
        requestLog.push_back (request);
    }
    if (onRequest != nullptr)
        if (const auto given = onRequest (request))
            return *given;
    return standardAnswer (request);
}

vst::intptr HostedEffect::standardAnswer (const HostRequest& request)
{
    switch (request.opcode)
    {
        case vst::audioMasterVersion: return setup.vstVersion;
        case audioMasterCurrentId: return effect != nullptr ? effect->uniqueID : 0;
        case vst::audioMasterIdle:
        case vst::audioMasterWantMidi: return 1;
        case vst::audioMasterGetTime: return reinterpret_cast<vst::intptr> (&timeInfo);
        case vst::audioMasterSizeWindow:
            return onSizeWindow != nullptr && onSizeWindow (request.index, (int) request.value) ? 1 : 0;
        case audioMasterGetSampleRate: return (vst::intptr) sampleRate;
        case audioMasterGetBlockSize: return maximumBlockSize;
        case audioMasterGetVendorString: copyText (request.ptr, "Quane"); return 1;
        case audioMasterGetProductString: copyText (request.ptr, setup.productName.c_str()); return 1;
        case audioMasterGetVendorVersion: return hostVendorVersion;
        case vst::audioMasterCanDo:
            if (request.ptr != nullptr)
                for (const auto* capability : hostCapabilities)
                    if (std::strcmp (capability, static_cast<const char*> (request.ptr)) == 0)
                        return 1;
            return 0;
        default: return 0; // audioMasterAutomate and everything this host does not offer
    }
}
} // namespace quane::hostkit
