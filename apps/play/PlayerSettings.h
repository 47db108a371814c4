// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the player keeps between runs: device set-up, instrument state, window position.
#pragma once

#include <juce_data_structures/juce_data_structures.h>
#include <vector>

namespace quane::play
{
/** The user's settings file, ~/.config/Quane/quane-play.settings (JUCE's PropertiesFile).
    A file that is there but cannot be read is moved aside to "<name>.corrupt" and the player
    starts afresh; getWarning() then says so. */
class PlayerSettings
{
public:
    PlayerSettings();

    /** Empty, or the warning about a settings file that was set aside. */
    const juce::String& getWarning() const noexcept { return warning; }
    juce::File getFile() const { return properties->getFile(); }

    std::unique_ptr<juce::XmlElement> getDeviceState() const;
    void setDeviceState (const juce::XmlElement* state);

    /** The instrument's state chunk (effGetChunk, bank) and the program it was on. */
    std::vector<unsigned char> getInstrumentState() const;
    int getProgram() const;
    void setInstrument (const std::vector<unsigned char>& chunk, int program);

    /** The current sound's name and, for one of the user's sounds, its file. */
    juce::String getSoundName() const;
    juce::File getSoundFile() const;
    void setSound (const juce::String& name, const juce::File& file);

    /** The octave the computer keys play from (JUCE's numbering, C5 = 60), else the fallback. */
    int getKeyOctave (int fallback) const;
    void setKeyOctave (int octave);

    /** The learned controllers, as MidiLearn writes them. */
    juce::String getLearnedControllers() const;
    void setLearnedControllers (const juce::String& text);

    juce::String getWindowState() const;
    void setWindowState (const juce::String& state);

    /** Writes the file now; false when it cannot be written. */
    bool save();

private:
    std::unique_ptr<juce::PropertiesFile> properties;
    juce::String warning;
};
} // namespace quane::play
