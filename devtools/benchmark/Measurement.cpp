// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One benchmark figure: a module played with held notes through its entry, timed on this thread.
#include "devtools/benchmark/Measurement.h"

#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace quane::benchmark
{
namespace
{
constexpr int heldNotes[] = { 36, 43, 48, 52, 55, 60, 64, 67, 72, 79 };
constexpr double minimumProcessorSeconds = 0.25;

double threadSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
}

/** Instructions retired by this thread in user mode, where the processor and kernel count them. */
class InstructionCounter
{
public:
    InstructionCounter()
    {
        perf_event_attr attributes {};
        attributes.type = PERF_TYPE_HARDWARE;
        attributes.size = sizeof attributes;
        attributes.config = PERF_COUNT_HW_INSTRUCTIONS;
        attributes.disabled = 1;
        attributes.exclude_kernel = 1;
        attributes.exclude_hv = 1;
        descriptor = (int) syscall (SYS_perf_event_open, &attributes, 0, -1, -1, 0);
    }

    ~InstructionCounter()
    {
        if (descriptor >= 0)
            close (descriptor);
    }

    void start() const
    {
        if (descriptor >= 0)
        {
            ioctl (descriptor, PERF_EVENT_IOC_RESET, 0);
            ioctl (descriptor, PERF_EVENT_IOC_ENABLE, 0);
        }
    }

    /** The count since start, or 0 when none is available. */
    double stop() const
    {
        long long count = 0;
        if (descriptor < 0)
            return 0.0;
        ioctl (descriptor, PERF_EVENT_IOC_DISABLE, 0);
        return read (descriptor, &count, sizeof count) == (ssize_t) sizeof count ? (double) count : 0.0;
    }

private:
    int descriptor = -1;
};

} // namespace

Result measure (const hostkit::LoadedModule& module, int program, const Setting& setting, double seconds)
{
    const auto instance = hostkit::openEffect (module, setting.sampleRate, setting.blockSize, "quane-benchmark");
    auto& effect = *instance;
    if (program >= 0)
        effect.setProgram (program);
    effect.resume();

    hostkit::VstEventList notes (setting.voices);
    for (int v = 0; v < setting.voices; ++v)
    {
        notes.add ({ 0, { 0x90, (unsigned char) heldNotes[v], 100 } });
    }
    hostkit::VstEventList none (0);

    std::vector<float> left ((size_t) setting.blockSize), right ((size_t) setting.blockSize);
    float* outputs[] = { left.data(), right.data() };
    const hostkit::Transport transport;
    auto playBlocks = [&] (long blocks) {
        for (long b = 0; b < blocks; ++b)
            effect.processBlock (none.record(), outputs, setting.blockSize, transport);
    };

    const auto blocksPerSecond = (long) (setting.sampleRate / setting.blockSize) + 1;
    effect.processBlock (notes.record(), outputs, setting.blockSize, transport);
    playBlocks (blocksPerSecond);

    const InstructionCounter counter;
    const long batch = std::max (1L, (long) (seconds * blocksPerSecond));
    long blocks = 0;
    counter.start();
    const double begin = threadSeconds();
    do
    {
        playBlocks (batch);
        blocks += batch;
    } while (threadSeconds() - begin < minimumProcessorSeconds);
    const double processorSeconds = threadSeconds() - begin;
    const double instructions = counter.stop();

    // Then a second of blocks each timed alone, in this thread's processor time so that the
    // machine's other work does not count: the longest is the worst block.
    double worstBlock = 0.0;
    for (long b = 0; b < blocksPerSecond; ++b)
    {
        const double start = threadSeconds();
        effect.processBlock (none.record(), outputs, setting.blockSize, transport);
        worstBlock = std::max (worstBlock, threadSeconds() - start);
    }

    const double samples = (double) blocks * setting.blockSize;
    return { samples / setting.sampleRate / processorSeconds, instructions / samples, 1.0e6 * worstBlock,
             effect.getCurrentProgramName() };
}
} // namespace quane::benchmark
