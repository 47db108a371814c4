// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The strip under the editor: programs, keyboard, wheels, meter, panic, presets, settings.
#include "ControlStrip.h"

namespace quane::play
{
namespace
{
constexpr int refreshIntervalMs = 40;
constexpr int messageMilliseconds = 6000;
constexpr int pitchWheelCentre = 8192;
constexpr int modWheelController = 1;
constexpr int lowestBaseOctave = 1, highestBaseOctave = 9;
constexpr int keyboardChannel = 1;

double nowSeconds()
{
    return juce::Time::getMillisecondCounterHiRes() * 0.001;
}
} // namespace

ControlStrip::ControlStrip (PlayerSession& playerSession) : session (playerSession)
{
    keyboardState.addListener (&session.getPlayer().getCollector());
    keyboard.setMidiChannel (keyboardChannel);
    keyboard.setKeyWidth (18.0f);
    addAndMakeVisible (keyboard);

    const auto names = session.getProgramNames();
    for (int number = 0; number < names.size(); ++number)
        programs.addItem (juce::String (number).paddedLeft ('0', 2) + " " + names[number], number + 1);
    programs.setSelectedId (session.getProgram() + 1, juce::dontSendNotification);
    programs.onChange = [this] {
        session.selectProgram (programs.getSelectedId() - 1);
        focusKeyboard();
    };
    programs.setTooltip ("Factory programs");
    addAndMakeVisible (programs);

    loadButton.onClick = [this] { choosePresetToLoad(); };
    saveButton.onClick = [this] { choosePresetToSave(); };
    panicButton.onClick = [this] {
        keyboardState.allNotesOff (0);
        session.sendAllNotesOff();
    };
    settingsButton.onClick = [this] { openDeviceSettings(); };
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
    for (auto* control :
         std::initializer_list<juce::Component*> { &programs, &loadButton, &saveButton, &panicButton, &settingsButton,
                                                   &octaveDown, &octaveUp, &pitchBend, &modWheel })
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

void ControlStrip::resized()
{
    auto area = getLocalBounds().reduced (6);

    auto topRow = area.removeFromTop (26);
    programs.setBounds (topRow.removeFromLeft (200));
    topRow.removeFromLeft (6);
    for (auto* button : { &loadButton, &saveButton, &panicButton, &settingsButton })
    {
        button->setBounds (topRow.removeFromLeft (button == &settingsButton ? 96 : 64));
        topRow.removeFromLeft (4);
    }
    meter.setBounds (topRow.removeFromRight (120).reduced (0, 3));

    area.removeFromTop (4);
    status.setBounds (area.removeFromBottom (20));

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
}

void ControlStrip::timerCallback()
{
    const auto now = juce::Time::getMillisecondCounter();
    meter.showPeaks (session.getPlayer().takePeakLevels(), (now - lastMeterTime) * 0.001);
    lastMeterTime = now;

    if (now >= messageUntil)
        status.setText (session.getStatusLine(), juce::dontSendNotification);
    if (programs.getSelectedId() != session.getProgram() + 1)
        programs.setSelectedId (session.getProgram() + 1, juce::dontSendNotification);
}

void ControlStrip::shiftOctave (int delta)
{
    baseOctave = juce::jlimit (lowestBaseOctave, highestBaseOctave, baseOctave + delta);
    keyboard.setKeyPressBaseOctave (baseOctave);
    // Show the played octave and the one below it.
    keyboard.setLowestVisibleKey ((baseOctave - 1) * 12);
    octaveLabel.setText (juce::MidiMessage::getMidiNoteName (baseOctave * 12, true, true, 3),
                         juce::dontSendNotification);
    focusKeyboard();
}

void ControlStrip::sendWheel (const juce::MidiMessage& message)
{
    session.getPlayer().getCollector().addMessageToQueue (message.withTimeStamp (nowSeconds()));
}

void ControlStrip::choosePresetToLoad()
{
    chooser = std::make_unique<juce::FileChooser> ("Load a program or bank", presetFolder, "*.fxp;*.fxb");
    chooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                          [this] (const juce::FileChooser& chosen) {
                              const auto file = chosen.getResult();
                              if (file == juce::File())
                                  return;
                              presetFolder = file.getParentDirectory();
                              try
                              {
                                  session.loadPreset (file);
                                  showMessage ("Loaded " + file.getFileName());
                              }
                              catch (const ToolError& error)
                              {
                                  showMessage ("Not loaded: " + error.message);
                              }
                              focusKeyboard();
                          });
}

void ControlStrip::choosePresetToSave()
{
    chooser = std::make_unique<juce::FileChooser> ("Save the program (.fxp) or the bank (.fxb)", presetFolder,
                                                   "*.fxp;*.fxb");
    chooser->launchAsync (juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                              | juce::FileBrowserComponent::warnAboutOverwriting,
                          [this] (const juce::FileChooser& chosen) {
                              auto file = chosen.getResult();
                              if (file == juce::File())
                                  return;
                              if (! file.hasFileExtension ("fxp;fxb"))
                                  file = file.withFileExtension ("fxp");
                              presetFolder = file.getParentDirectory();
                              try
                              {
                                  session.savePreset (file);
                                  showMessage ("Saved " + file.getFileName());
                              }
                              catch (const ToolError& error)
                              {
                                  showMessage ("Not saved: " + error.message);
                              }
                              focusKeyboard();
                          });
}

void ControlStrip::openDeviceSettings()
{
    auto selector = std::make_unique<juce::AudioDeviceSelectorComponent> (session.getDevices(), 0, 0, 2, 2, true, false,
                                                                          true, false);
    selector->setSize (520, 460);

    juce::DialogWindow::LaunchOptions dialog;
    dialog.content.setOwned (selector.release());
    dialog.dialogTitle = "Audio and MIDI settings";
    dialog.dialogBackgroundColour = juce::Colour (0xff2b2b30);
    dialog.escapeKeyTriggersCloseButton = true;
    dialog.useNativeTitleBar = true;
    dialog.resizable = true;
    dialog.componentToCentreAround = getTopLevelComponent();
    dialog.launchAsync();
}
} // namespace quane::play
