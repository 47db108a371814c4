// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "LearnedControllers.h"

namespace quane::play
{
namespace
{
constexpr int rowHeight = 24, width = 260;
} // namespace

LearnedControllers::LearnedControllers (PlayerSession& playerSession) : session (playerSession)
{
    refill();
}

void LearnedControllers::refill()
{
    rows.clear();
    removeButtons.clear();
    auto& learn = session.getLearn();
    for (int controller = 0; controller < MidiLearn::controllerCount; ++controller)
    {
        const auto index = learn.valueOf (controller);
        if (index < 0)
            continue;
        addAndMakeVisible (
            rows.add (new juce::Label ({}, "CC " + juce::String (controller) + ": " + MidiLearn::nameOf (index))));
        auto* remove = removeButtons.add (new juce::TextButton ("Remove"));
        remove->setWantsKeyboardFocus (false);
        remove->onClick = [this, controller] {
            session.forgetController (controller);
            juce::MessageManager::callAsync ([safe = juce::Component::SafePointer (this)] {
                if (safe != nullptr)
                    safe->refill();
            });
        };
        addAndMakeVisible (remove);
    }
    if (rows.isEmpty())
        addAndMakeVisible (rows.add (new juce::Label ({}, "No controllers learned yet: press Learn.")));
    setSize (width, rowHeight * rows.size() + 8);
    resized();
}

void LearnedControllers::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff2b2b30));
}

void LearnedControllers::resized()
{
    auto area = getLocalBounds().reduced (4);
    for (int i = 0; i < rows.size(); ++i)
    {
        auto row = area.removeFromTop (rowHeight);
        if (i < removeButtons.size())
            removeButtons[i]->setBounds (row.removeFromRight (70).reduced (0, 2));
        rows[i]->setBounds (row);
    }
}
} // namespace quane::play
