// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "JackMidiSources.h"

namespace quane::play
{
namespace
{
constexpr int refreshIntervalMs = 1000;
constexpr int titleHeight = 24, rowHeight = 22;
constexpr int dialogWidth = 520, selectorHeight = 300, sourcesHeight = 150;

class DeviceSettings : public juce::Component
{
public:
    explicit DeviceSettings (PlayerSession& session)
        : selector (session.getDevices(), 0, 0, 2, 2, true, false, true, false), sources (session)
    {
        addAndMakeVisible (selector);
        addAndMakeVisible (sources);
        setSize (dialogWidth, selectorHeight + sourcesHeight);
    }

    void resized() override
    {
        auto area = getLocalBounds();
        sources.setBounds (area.removeFromBottom (sourcesHeight));
        selector.setBounds (area);
    }

private:
    juce::AudioDeviceSelectorComponent selector;
    JackMidiSources sources;
};
} // namespace

std::unique_ptr<juce::Component> createDeviceSettings (PlayerSession& session)
{
    return std::make_unique<DeviceSettings> (session);
}

JackMidiSources::JackMidiSources (PlayerSession& playerSession) : session (playerSession)
{
    timerCallback();
    startTimer (refreshIntervalMs);
}

void JackMidiSources::paint (juce::Graphics& g)
{
    g.setColour (juce::Colours::lightgrey);
    g.setFont (15.0f);
    auto title = getLocalBounds().removeFromTop (titleHeight);
    const auto* jack = session.getJackMidi();
    g.drawText (jack == nullptr          ? "JACK MIDI sources: only while JACK plays"
                : shownSources.isEmpty() ? "JACK MIDI sources: none"
                                         : "JACK MIDI sources:",
                title.reduced (8, 0), juce::Justification::centredLeft);
}

void JackMidiSources::resized()
{
    auto area = getLocalBounds().withTrimmedTop (titleHeight).reduced (16, 0);
    for (auto* toggle : toggles)
        toggle->setBounds (area.removeFromTop (rowHeight));
}

void JackMidiSources::timerCallback()
{
    auto* jack = session.getJackMidi();
    const auto sources = jack != nullptr ? jack->getSourcePortNames() : juce::StringArray();
    if (sources != shownSources)
    {
        shownSources = sources;
        toggles.clear();
        for (const auto& source : sources)
        {
            auto* toggle = toggles.add (new juce::ToggleButton (source));
            addAndMakeVisible (toggle);
            toggle->onClick = [this, toggle, source] {
                if (auto* port = session.getJackMidi())
                    port->setConnected (source, toggle->getToggleState());
            };
        }
        resized();
        repaint();
    }
    for (int i = 0; i < toggles.size(); ++i)
        toggles[i]->setToggleState (jack != nullptr && jack->isConnectedTo (shownSources[i]),
                                    juce::dontSendNotification);
}
} // namespace quane::play
