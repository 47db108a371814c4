// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the player keeps between runs: device set-up, instrument state, window position.
#include "PlayerSettings.h"

namespace quane::play
{
namespace
{
constexpr auto deviceKey = "audioDeviceState";
constexpr auto chunkKey = "instrumentChunk";
constexpr auto programKey = "program";
constexpr auto windowKey = "windowPosition";
constexpr auto soundNameKey = "soundName";
constexpr auto soundFileKey = "soundFile";
constexpr auto keyOctaveKey = "keyOctave";
constexpr auto learnedKey = "learnedControllers";
// The root element JUCE's PropertiesFile writes.
constexpr auto propertiesTag = "PROPERTIES";

juce::PropertiesFile::Options settingsOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "quane-play";
    options.filenameSuffix = ".settings";
    options.folderName = ".config/Quane";
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.millisecondsBeforeSaving = -1; // written at set-up changes and on quitting
    return options;
}

/** A file that exists with content JUCE's PropertiesFile cannot take would be read as empty and
    then overwritten: keep it for the user instead. */
bool isUnreadable (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() == 0)
        return false;
    return juce::parseXMLIfTagMatches (file, propertiesTag) == nullptr;
}
} // namespace

PlayerSettings::PlayerSettings()
{
    const auto options = settingsOptions();
    const auto file = options.getDefaultFile();
    if (isUnreadable (file))
    {
        const auto asideFile = file.getSiblingFile (file.getFileName() + ".corrupt");
        asideFile.deleteFile();
        file.moveFileTo (asideFile);
        warning = "the settings file " + file.getFullPathName() + " could not be read; it was moved to "
                  + asideFile.getFileName() + " and the player starts with program 0";
    }
    properties = std::make_unique<juce::PropertiesFile> (options);
}

std::unique_ptr<juce::XmlElement> PlayerSettings::getDeviceState() const
{
    return properties->getXmlValue (deviceKey);
}

void PlayerSettings::setDeviceState (const juce::XmlElement* state)
{
    if (state != nullptr)
        properties->setValue (deviceKey, state);
    else
        properties->removeValue (deviceKey);
}

std::vector<unsigned char> PlayerSettings::getInstrumentState() const
{
    juce::MemoryBlock chunk;
    if (! chunk.fromBase64Encoding (properties->getValue (chunkKey)))
        return {};
    const auto* bytes = static_cast<const unsigned char*> (chunk.getData());
    return std::vector<unsigned char> (bytes, bytes + chunk.getSize());
}

int PlayerSettings::getProgram() const
{
    return properties->getIntValue (programKey, 0);
}

void PlayerSettings::setInstrument (const std::vector<unsigned char>& chunk, int program)
{
    properties->setValue (chunkKey, juce::MemoryBlock (chunk.data(), chunk.size()).toBase64Encoding());
    properties->setValue (programKey, program);
}

juce::String PlayerSettings::getSoundName() const
{
    return properties->getValue (soundNameKey);
}

juce::File PlayerSettings::getSoundFile() const
{
    const auto path = properties->getValue (soundFileKey);
    return juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
}

void PlayerSettings::setSound (const juce::String& name, const juce::File& file)
{
    properties->setValue (soundNameKey, name);
    properties->setValue (soundFileKey, file.getFullPathName());
}

int PlayerSettings::getKeyOctave (int fallback) const
{
    return properties->getIntValue (keyOctaveKey, fallback);
}

void PlayerSettings::setKeyOctave (int octave)
{
    properties->setValue (keyOctaveKey, octave);
}

juce::String PlayerSettings::getLearnedControllers() const
{
    return properties->getValue (learnedKey);
}

void PlayerSettings::setLearnedControllers (const juce::String& text)
{
    properties->setValue (learnedKey, text);
}

juce::String PlayerSettings::getWindowState() const
{
    return properties->getValue (windowKey);
}

void PlayerSettings::setWindowState (const juce::String& state)
{
    properties->setValue (windowKey, state);
}

bool PlayerSettings::save()
{
    return properties->save();
}
} // namespace quane::play
