// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the input as a hostile host's sequence of calls on one instance.
//
// Input: operations, each one byte (taken modulo the count) followed by its arguments:
//   0 dispatcher   opcode byte (80 and up: any 32-bit opcode), index, value, opt, ptr byte
//   1 setParameter index, value          2 getParameter index
//   3 event list   count byte: below 192, up to 63 entries, each a kind byte (0 null pointer, 1
//                  a system-exclusive record, else MIDI), deltaFrames and four data bytes; from
//                  192 on, 1 to 16 such entries, then a size byte and an order byte: the entries
//                  repeated to 1,000 to 100,000, their positions kept, rising or falling
//   4 processReplacing, 5 process        frame count (two bytes, 0..4096)
//   6 sample rate  rate (and block size), then a resume
//   7 effMainsChanged value              8 effSetProgram value
//   9 the state handed out restored again
// Integers and floats are mostly edge values (FuzzInput). A ptr byte of 0 passes null, any other
// an aligned place in a guarded buffer of fuzzer bytes ending in a zero; requests whose ptr or
// value the interface defines as something else get that (see hostileRequest). The editor's
// requests need a window and are left out; effClose ends the input. Delivering an event list and
// rendering a block may each take at most 100 ms of processor time.
#include "tests/fuzz/FuzzBounds.h"
#include "tests/fuzz/FuzzHost.h"

#include <algorithm>

using namespace quane;

namespace
{
constexpr int operationCount = 10;
constexpr int maximumFrames = 4096;
// Keeps a single input fast enough for thousands of executions per second.
constexpr int framesPerInput = 1 << 16;
constexpr size_t guardedBytes = 128;
constexpr int maximumEvents = 63;
constexpr int longListCountByte = 192;
constexpr int longListSizes[] = { 1000, 8192, 8193, 10000, 100000 };
// The audio thread's budget is a block: far below this, sanitizers and coverage included.
constexpr double maximumMilliseconds = 100.0;

/** Runs the call and aborts when it took more than the budget of processor time. */
template <typename Call>
void withinBudget (const char* what, Call&& call)
{
    const auto start = fuzz::threadMilliseconds();
    call();
    fuzz::require (fuzz::threadMilliseconds() - start <= maximumMilliseconds, what);
}

bool needsWindow (vst::int32 opcode)
{
    return opcode == vst::effEditGetRect || opcode == vst::effEditOpen || opcode == vst::effEditClose
           || opcode == vst::effEditIdle;
}

/** A buffer of its own allocation, so the sanitizer catches reads and writes past it: up to 32
    fuzzer bytes (a length byte first), zeros after them. */
struct GuardedBuffer
{
    explicit GuardedBuffer (fuzz::FuzzInput& input) : bytes (input.bytes (input.byte() % 33u))
    {
        bytes.resize (guardedBytes, 0);
    }

    void* at (std::uint8_t choice) { return choice == 0 ? nullptr : bytes.data() + 8 * (choice % 4); }
    size_t availableAt (std::uint8_t choice) const { return choice == 0 ? 0 : guardedBytes - 8 * (choice % 4); }

    std::vector<std::uint8_t> bytes;
};

/** One dispatcher call; false when it was effClose. */
bool hostileRequest (fuzz::FuzzInstance& instance, fuzz::FuzzInput& input)
{
    const auto opcodeByte = input.byte();
    const vst::int32 opcode = opcodeByte < 80 ? opcodeByte : input.edgyInt();
    const auto index = input.edgyInt();
    vst::intptr value = input.edgyInt();
    const auto opt = input.edgyFloat();
    const auto ptrChoice = input.byte();

    if (opcode == vst::effClose)
    {
        instance.close();
        return false;
    }
    if (needsWindow (opcode))
        return true;

    GuardedBuffer buffer (input), second (input);
    void* ptr = buffer.at (ptrChoice);

    if (opcode == vst::effSetChunk && ptr != nullptr)
        value = std::min (value, (vst::intptr) buffer.availableAt (ptrChoice)); // the host's own size
    if (opcode == vst::effProcessEvents)
        ptr = nullptr; // real lists come through the event operation
    if (opcode == vst::effGetSpeakerArrangement)
        value = (vst::intptr) second.at ((std::uint8_t) value); // an address, like ptr

    instance.dispatch (opcode, index, value, ptr, opt);
    return true;
}

void hostileEvents (fuzz::FuzzInstance& instance, fuzz::FuzzInput& input)
{
    const auto countByte = input.byte();
    const bool longList = countByte >= longListCountByte;
    const int count = longList ? 1 + countByte % 16 : countByte % (maximumEvents + 1);
    std::vector<vst::VstMidiEvent> records ((size_t) count);
    std::vector<bool> isNull;

    for (auto& record : records)
    {
        const auto kind = input.byte();
        record.type = kind == 1 ? vst::kVstSysExType : vst::kVstMidiType;
        record.byteSize = 24;
        record.deltaFrames = input.edgyInt();
        for (auto& byte : record.midiData)
            byte = (char) input.byte();
        isNull.push_back (kind == 0);
    }

    if (longList)
    {
        const auto size = longListSizes[input.byte() % std::size (longListSizes)];
        const auto order = input.byte() % 3;
        for (int i = count; i < size; ++i)
        {
            auto copy = records[(size_t) (i % count)];
            const auto step = (std::uint32_t) (i / count % 4096);
            const auto shift = order == 0 ? 0u : order == 1 ? step : 0u - step;
            copy.deltaFrames = (vst::int32) ((std::uint32_t) copy.deltaFrames + shift); // wraps, as a host's sum would
            records.push_back (copy);
            isNull.push_back (isNull[(size_t) (i % count)]);
        }
    }

    hostkit::VstEventList events ((int) records.size());
    for (size_t i = 0; i < records.size(); ++i)
        events.add (isNull[i] ? nullptr : reinterpret_cast<vst::VstEvent*> (&records[i]));
    withinBudget ("delivering the events took more than 100 ms", [&] { instance.sendEvents (events.record()); });
}

int frameCount (fuzz::FuzzInput& input)
{
    const int low = input.byte();
    return (low | input.byte() << 8) % (maximumFrames + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::FuzzInput input (data, size);
    fuzz::FuzzInstance instance;
    auto* effect = instance.getEffect();
    int framesLeft = framesPerInput;

    while (! input.empty())
    {
        const int operation = input.byte() % operationCount;
        switch (operation)
        {
            case 0:
                if (! hostileRequest (instance, input))
                    return 0;
                break;
            case 1:
            {
                const auto index = input.edgyInt();
                effect->setParameter (effect, index, input.edgyFloat());
                break;
            }
            case 2: effect->getParameter (effect, input.edgyInt()); break;
            case 3: hostileEvents (instance, input); break;
            case 4:
            case 5:
            {
                const int frames = std::min (frameCount (input), framesLeft);
                framesLeft -= frames;
                withinBudget ("a block took more than 100 ms",
                              [&] { instance.renderChecked (frames, operation == 4); });
                break;
            }
            case 6:
                if (input.byte() % 2 == 0)
                    instance.dispatch (vst::effSetSampleRate, 0, 0, nullptr, input.edgyFloat());
                else
                {
                    const auto blockSize = input.edgyInt();
                    instance.dispatch (vst::effSetBlockSizeAndSampleRate, 0, blockSize, nullptr, input.edgyFloat());
                }
                instance.dispatch (vst::effMainsChanged, 0, 1);
                break;
            case 7: instance.dispatch (vst::effMainsChanged, 0, input.edgyInt()); break;
            case 8: instance.dispatch (vst::effSetProgram, 0, input.edgyInt()); break;
            case 9: instance.setChunk (instance.getChunk (input.byte() % 2 == 1), input.byte() % 2 == 1); break;
            default: break;
        }
    }
    return 0;
}
