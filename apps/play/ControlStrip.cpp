// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The strip under the editor: programs, keyboard, wheels, meter, panic, presets, settings.
#include "ControlStrip.h"

#include "JackMidiSources.h"
#include "LearnedControllers.h"

namespace quane::play
{
namespace
{
constexpr int refreshIntervalMs = 40;
constexpr int messageMilliseconds = 6000;
constexpr int pitchWheelCentre = 8192;
constexpr int modWheelController = 1;
constexpr int lowestBaseOctave = 1, highestBaseOctave = 9, firstBaseOctave = 5;
constexpr int keyboardChannel = 1;

double nowSeconds()
{
    return juce::Time::getMillisecondCounterHiRes() * 0.001;
}
} // namespace

ControlStrip::ControlStrip (PlayerSession& playerSession)
    : session (playerSession),
      keyboard (keyboardState, [&player = playerSession.getPlayer()] (int note) { return player.isNoteHeld (note); }),
      baseOctave (playerSession.getSettings().getKeyOctave (firstBaseOctave))
{
    keyboardState.addListener (&session.getPlayer().getCollector());
    keyboard.setMidiChannel (keyboardChannel);
    keyboard.setKeyWidth (18.0f);
    addAndMakeVisible (keyboard);

    rebuildSoundMenu();
    programs.onChange = [this] {
        if (programs.getSelectedId() > 0)
            pickSound (programs.getSelectedId() - 1);
    };
    programs.setTooltip ("Factory programs, then your own sounds");
    addAndMakeVisible (programs);
    editedMark.setTooltip ("The sound has unsaved edits");
    editedMark.setFont (juce::Font (22.0f, juce::Font::bold));
    editedMark.setJustificationType (juce::Justification::centred);
    addChildComponent (editedMark);

    previousButton.onClick = [this] { stepSound (-1); };
    nextButton.onClick = [this] { stepSound (1); };
    previousButton.setTooltip ("Previous sound");
    nextButton.setTooltip ("Next sound");
    loadButton.onClick = [this] { choosePresetToLoad(); };
    saveButton.onClick = [this] { choosePresetToSave(); };
    saveAsButton.onClick = [this] { askNameToSaveAs(); };
    saveAsButton.setTooltip ("Save the sound under a name among your own sounds");
    panicButton.onClick = [this] {
        keyboardState.allNotesOff (0);
        session.sendAllNotesOff();
    };
    settingsButton.onClick = [this] { openDeviceSettings(); };
    learnButton.onClick = [this] { toggleLearning(); };
    learnButton.setClickingTogglesState (false);
    learnButton.setTooltip ("Move a control in the editor, then a controller on your MIDI keyboard");
    controllersButton.onClick = [this] {
        juce::CallOutBox::launchAsynchronously (std::make_unique<LearnedControllers> (session),
                                                controllersButton.getScreenBounds(), nullptr);
    };
    octaveDown.onClick = [this] { shiftOctave (-1); };
    octaveUp.onClick = [this] { shiftOctave (1); };

    pitchBend.setRange (-pitchWheelCentre, pitchWheelCentre - 1, 1.0);
    pitchBend.setValue (0.0, juce::dontSendNotification);
    pitchBend.setDoubleClickReturnValue (true, 0.0);
    pitchBend.onValueChange = [this] {
        sendWheel (juce::MidiMessage::pitchWheel (keyboardChannel, (int) pitchBend.getValue() + pitchWheelCentre));
    };
    pitchBend.onDragEnd = [this] { pitchBend.setValue (0.0); }; // a bend wheel springs back
    modWheel.setRange (0.0, 127.0, 1.0);
    modWheel.onValueChange = [this] {
        sendWheel (juce::MidiMessage::controllerEvent (keyboardChannel, modWheelController, (int) modWheel.getValue()));
    };

    for (auto* label : { &pitchLabel, &modLabel, &octaveLabel })
    {
        label->setJustificationType (juce::Justification::centred);
        addAndMakeVisible (label);
    }
    status.setFont (juce::Font (13.0f));
    status.setColour (juce::Label::textColourId, juce::Colours::lightgrey);
    addAndMakeVisible (status);
    addAndMakeVisible (meter);

    // Only the keyboard takes keystrokes, so the computer keyboard keeps playing notes whatever
    // control was used last.
    for (auto* control : std::initializer_list<juce::Component*> {
             &programs, &previousButton, &nextButton, &loadButton, &saveButton, &saveAsButton, &panicButton,
             &settingsButton, &octaveDown, &octaveUp, &pitchBend, &modWheel, &learnButton, &controllersButton })
    {
        control->setWantsKeyboardFocus (false);
        addAndMakeVisible (control);
    }

    shiftOctave (0);
    startTimer (refreshIntervalMs);
}

ControlStrip::~ControlStrip()
{
    keyboardState.removeListener (&session.getPlayer().getCollector());
}

void ControlStrip::focusKeyboard()
{
    if (keyboard.isShowing())
        keyboard.grabKeyboardFocus();
}

void ControlStrip::showMessage (const juce::String& message)
{
    status.setText (message, juce::dontSendNotification);
    messageUntil = juce::Time::getMillisecondCounter() + (juce::uint32) messageMilliseconds;
}

void ControlStrip::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff2b2b30));
}

bool ControlStrip::keyPressed (const juce::KeyPress& key)
{
    // Keys the on-screen keyboard does not play come here: < and > shift its octave.
    const auto character = key.getTextCharacter();
    if (character == '<' || character == ',')
        shiftOctave (-1);
    else if (character == '>' || character == '.')
        shiftOctave (1);
    else
        return false;
    return true;
}

void ControlStrip::resized()
{
    auto area = getLocalBounds().reduced (6);

    auto topRow = area.removeFromTop (26);
    programs.setBounds (topRow.removeFromLeft (166));
    editedMark.setBounds (topRow.removeFromLeft (14));
    topRow.removeFromLeft (4);
    for (auto* button :
         { &previousButton, &nextButton, &loadButton, &saveButton, &saveAsButton, &panicButton, &settingsButton })
    {
        button->setBounds (topRow.removeFromLeft (button->getBestWidthForHeight (26)));
        topRow.removeFromLeft (4);
    }

    area.removeFromTop (4);
    auto statusRow = area.removeFromBottom (20);
    meter.setBounds (statusRow.removeFromRight (120).reduced (0, 3));
    for (auto* button : { &controllersButton, &learnButton })
    {
        statusRow.removeFromRight (4);
        button->setBounds (statusRow.removeFromRight (button->getBestWidthForHeight (20)));
    }
    status.setBounds (statusRow);

    auto wheels = area.removeFromLeft (76);
    auto bendColumn = wheels.removeFromLeft (38);
    pitchLabel.setBounds (bendColumn.removeFromBottom (16));
    pitchBend.setBounds (bendColumn);
    modLabel.setBounds (wheels.removeFromBottom (16));
    modWheel.setBounds (wheels);

    auto octaveColumn = area.removeFromLeft (44);
    octaveUp.setBounds (octaveColumn.removeFromTop (26).reduced (4, 0));
    octaveLabel.setBounds (octaveColumn.removeFromTop (24));
    octaveDown.setBounds (octaveColumn.removeFromTop (26).reduced (4, 0));
    keyboard.setBounds (area);
    showKeyOctave();
}

void ControlStrip::showKeyOctave()
{
    // The octave below the computer keys' and theirs (they reach the E above), at any width.
    keyboard.setLowestVisibleKey ((baseOctave - 1) * 12);
}

void ControlStrip::timerCallback()
{
    const auto now = juce::Time::getMillisecondCounter();
    meter.showPeaks (session.getPlayer().takePeakLevels(), (now - lastMeterTime) * 0.001);
    lastMeterTime = now;

    if (now >= messageUntil)
        status.setText (session.getStatusLine(), juce::dontSendNotification);
    showCurrentSound();
    editedMark.setVisible (session.isEdited());
    followLearning();
    keyboard.refreshHeldNotes();
}

void ControlStrip::shiftOctave (int delta)
{
    baseOctave = juce::jlimit (lowestBaseOctave, highestBaseOctave, baseOctave + delta);
    keyboard.setKeyPressBaseOctave (baseOctave);
    session.getSettings().setKeyOctave (baseOctave);
    showKeyOctave();
    octaveLabel.setText (juce::MidiMessage::getMidiNoteName (baseOctave * 12, true, true, 3),
                         juce::dontSendNotification);
    focusKeyboard();
}

void ControlStrip::sendWheel (const juce::MidiMessage& message)
{
    session.getPlayer().getCollector().addMessageToQueue (message.withTimeStamp (nowSeconds()));
}

void ControlStrip::toggleLearning()
{
    auto& learn = session.getLearn();
    if (learn.isLearning())
    {
        learn.cancel();
        showMessage ("Learning cancelled");
    }
    else
    {
        learn.start();
        showMessage ("Learn: move a control in the editor, then a controller");
    }
    focusKeyboard();
}

void ControlStrip::followLearning()
{
    const auto& learn = session.getLearn();
    learnButton.setToggleState (learn.isLearning(), juce::dontSendNotification);
    if (wasLearning && ! learn.isLearning())
        for (int controller = 0; controller < MidiLearn::controllerCount; ++controller)
            if (learn.valueOf (controller) == learn.getTouchedValue() && learn.getTouchedValue() >= 0)
                showMessage ("CC " + juce::String (controller) + " now moves "
                             + MidiLearn::nameOf (learn.getTouchedValue()));
    wasLearning = learn.isLearning();
}

void ControlStrip::offerDeviceSettings()
{
    showMessage ("No audio device could be opened: pick one here, or start JACK and pick it.");
    openDeviceSettings();
}

void ControlStrip::openDeviceSettings()
{
    juce::DialogWindow::LaunchOptions dialog;
    dialog.content.setOwned (createDeviceSettings (session).release());
    dialog.dialogTitle = "Audio and MIDI settings";
    dialog.dialogBackgroundColour = juce::Colour (0xff2b2b30);
    dialog.escapeKeyTriggersCloseButton = true;
    dialog.useNativeTitleBar = true;
    dialog.resizable = true;
    dialog.componentToCentreAround = getTopLevelComponent();
    dialog.launchAsync();
}
} // namespace quane::play
