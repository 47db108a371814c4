// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's one window: the module's editor above the control strip.
#pragma once

#include "ControlStrip.h"
#include "EditorHost.h"

namespace quane::play
{
class PlayerWindow : public juce::DocumentWindow
{
public:
    explicit PlayerWindow (PlayerSession& session);
    ~PlayerWindow() override;

    void closeButtonPressed() override;

private:
    class Content;
    PlayerSession& session;
};
} // namespace quane::play
