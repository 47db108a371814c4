// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded demo phrase: four bars at 100 BPM that show chords, release, bend, mod wheel and velocity.
#include "Performance.h"

namespace quane::render
{
namespace
{
constexpr double demoBpm = 100.0;
constexpr int channel = 1;

double secondsAt (double beat)
{
    return beat * 60.0 / demoBpm;
}

struct Note
{
    double beat, lengthInBeats;
    int noteNumber;
    juce::uint8 velocity;
};

// Bar 1: a spread A minor 9 chord, held a bar and a quarter, then left to ring out to bar 3.
constexpr Note chord[] = {
    { 0.00, 5.0, 45, 96 },  { 0.04, 4.96, 52, 78 }, { 0.08, 4.92, 55, 70 },
    { 0.12, 4.88, 59, 62 }, { 0.16, 4.84, 60, 88 },
};

// Bars 3 and 4: a lead line from soft to hard over a slow bass line.
constexpr Note lead[] = {
    { 8.0, 0.45, 76, 100 }, { 8.5, 0.45, 79, 58 },  { 9.0, 0.95, 81, 112 },
    { 10.0, 0.45, 79, 52 }, { 10.5, 0.45, 76, 84 }, { 11.0, 0.95, 74, 70 },
    { 12.0, 0.45, 72, 92 }, { 12.5, 0.45, 74, 64 }, { 13.0, 2.60, 76, 127 },
};
constexpr Note bass[] = {
    { 8.0, 1.9, 33, 72 },
    { 10.0, 1.9, 29, 66 },
    { 12.0, 1.9, 36, 80 },
    { 14.0, 1.6, 28, 90 },
};

void addNotes (juce::MidiMessageSequence& sequence, const Note* begin, const Note* end)
{
    for (auto* note = begin; note != end; ++note)
    {
        sequence.addEvent (juce::MidiMessage::noteOn (channel, note->noteNumber, note->velocity),
                           secondsAt (note->beat));
        sequence.addEvent (juce::MidiMessage::noteOff (channel, note->noteNumber),
                           secondsAt (note->beat + note->lengthInBeats));
    }
}

/** A straight ramp of the pitch wheel (-1..1 of its range) in 1/32-beat steps. */
void addBend (juce::MidiMessageSequence& sequence, double fromBeat, double toBeat, double fromValue, double toValue)
{
    constexpr double step = 1.0 / 32.0;
    for (double beat = fromBeat; beat <= toBeat + 1.0e-9; beat += step)
    {
        const auto amount = juce::jmap (beat, fromBeat, toBeat, fromValue, toValue);
        sequence.addEvent (juce::MidiMessage::pitchWheel (
                               channel, juce::jlimit (0, 16383, juce::roundToInt (8192.0 + amount * 8191.0))),
                           secondsAt (beat));
    }
}

void addModWheel (juce::MidiMessageSequence& sequence, double fromBeat, double toBeat, int fromValue, int toValue)
{
    constexpr double step = 1.0 / 16.0;
    for (double beat = fromBeat; beat <= toBeat + 1.0e-9; beat += step)
        sequence.addEvent (
            juce::MidiMessage::controllerEvent (
                channel, 1,
                juce::roundToInt (juce::jmap (beat, fromBeat, toBeat, (double) fromValue, (double) toValue))),
            secondsAt (beat));
}
} // namespace

Performance demoPhrase (double sampleRate)
{
    juce::MidiMessageSequence sequence;
    addNotes (sequence, std::begin (chord), std::end (chord));
    addNotes (sequence, std::begin (lead), std::end (lead));
    addNotes (sequence, std::begin (bass), std::end (bass));

    addBend (sequence, 8.0, 8.25, -0.5, 0.0);   // scoop up into the first lead note
    addBend (sequence, 11.0, 11.2, 0.0, -0.25); // a short fall at the end of the D
    addBend (sequence, 11.2, 11.3, -0.25, 0.0);
    addModWheel (sequence, 13.0, 14.5, 0, 127); // the long last note opens up under the wheel
    addBend (sequence, 14.5, 15.0, 0.0, 1.0);   // and bends up by the full range
    addModWheel (sequence, 15.6, 15.7, 127, 0);
    addBend (sequence, 15.6, 15.7, 1.0, 0.0);
    sequence.sort();

    return performSequence (sequence, sampleRate, TempoMap (demoBpm), "demo");
}
} // namespace quane::render
