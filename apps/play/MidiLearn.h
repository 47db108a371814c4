// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI learn: controllers the user assigned to the module's parameters and selectors.
#pragma once

#include <array>
#include <juce_core/juce_core.h>

namespace quane::play
{
/** Which controller moves which patch value (a parameter 0..29 or a selector 30..38), and the
    learning itself: after start(), the next value the module's editor moves and then the next
    controller that moves make an assignment. One controller moves one value; a value may have
    several controllers. */
class MidiLearn
{
public:
    static constexpr int controllerCount = 128;

    void start() noexcept { learning = true, touchedValue = -1; }
    void cancel() noexcept { learning = false, touchedValue = -1; }
    bool isLearning() const noexcept { return learning; }
    /** The value moved in the editor while learning, else -1. */
    int getTouchedValue() const noexcept { return touchedValue; }

    /** A value moved in the module's editor. */
    void valueTouched (int index) noexcept;
    /** A controller moved: answers true when this made an assignment (learning ends). */
    bool controllerMoved (int controller) noexcept;

    /** The value the controller moves, or -1. */
    int valueOf (int controller) const noexcept { return assigned[(size_t) (controller & 0x7f)]; }
    void remove (int controller) noexcept { assigned[(size_t) (controller & 0x7f)] = -1; }

    /** The patch value for a controller position 0..127: its editor range, in its steps. */
    static float scaledValue (int index, int position) noexcept;
    /** The value's name from the patch-value table. */
    static juce::String nameOf (int index);

    /** "74:6 7:8": controller and value pairs, as kept in the settings. Reading drops pairs
        that name a controller or value that does not exist. */
    juce::String toText() const;
    void readText (const juce::String& text);

private:
    std::array<int, controllerCount> assigned = makeUnassigned();
    bool learning = false;
    int touchedValue = -1;

    static std::array<int, controllerCount> makeUnassigned() noexcept;
};
} // namespace quane::play
