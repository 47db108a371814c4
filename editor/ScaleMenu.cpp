// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's right-click menu of size factors.
#include "editor/ScaleMenu.h"

#include "editor/EditorScale.h"

namespace quane
{
namespace
{
// Menu ids are the percentages; this one is no percentage.
constexpr int followDisplayId = 1;
} // namespace

void showScaleMenu (juce::Component& panel, std::optional<float> currentChoice,
                    std::function<void (std::optional<float>)> onPick, std::function<void()> onClosed)
{
    juce::PopupMenu menu;
    for (int percent : scale::offeredPercents)
        menu.addItem (percent, juce::String (percent) + " %", true,
                      currentChoice && scale::toPercent (*currentChoice) == percent);
    menu.addSeparator();
    menu.addItem (followDisplayId, "Follow the display", true, ! currentChoice);

    const auto options = juce::PopupMenu::Options().withTargetComponent (&panel).withMousePosition().withDeletionCheck (
        panel);
    menu.showMenuAsync (options, [safePanel = juce::Component::SafePointer<juce::Component> (&panel),
                                  onPick = std::move (onPick), onClosed = std::move (onClosed)] (int result) {
        if (safePanel == nullptr)
            return;
        if (result == followDisplayId)
            onPick (std::nullopt);
        else if (const auto factor = scale::offeredPercent (result))
            onPick (factor);
        onClosed();
    });
}
} // namespace quane
