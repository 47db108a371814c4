// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The strip's sounds: the program menu, Prev/Next, load, save and "Save as", unsaved edits.
#include "ControlStrip.h"

namespace quane::play
{
void ControlStrip::rebuildSoundMenu()
{
    programs.clear (juce::dontSendNotification);
    const auto names = session.getSoundNames();
    for (int index = 0; index < names.size(); ++index)
    {
        if (index == session.getFactoryCount())
            programs.addSectionHeading ("My sounds");
        programs.addItem (index < session.getFactoryCount()
                              ? juce::String (index).paddedLeft ('0', 2) + " " + names[index]
                              : names[index],
                          index + 1);
    }
    showCurrentSound();
}

void ControlStrip::showCurrentSound()
{
    const auto index = session.getSoundIndex();
    if (index >= 0 && programs.getSelectedId() != index + 1)
        programs.setSelectedId (index + 1, juce::dontSendNotification);
    else if (index < 0 && programs.getText() != session.getSoundName())
        programs.setText (session.getSoundName(), juce::dontSendNotification);
}

void ControlStrip::stepSound (int delta)
{
    const auto count = programs.getNumItems();
    pickSound (juce::jlimit (0, count - 1, session.getSoundIndex() < 0 ? 0 : session.getSoundIndex() + delta));
}

void ControlStrip::pickSound (int index)
{
    leaveSoundThen ([this, index] {
        try
        {
            session.selectSound (index);
        }
        catch (const ToolError& error)
        {
            showMessage ("Not loaded: " + error.message);
        }
    });
}

void ControlStrip::leaveSoundThen (std::function<void()> switchSound)
{
    const auto finish = [this] {
        showCurrentSound();
        focusKeyboard();
    };
    if (! session.isEdited())
    {
        switchSound();
        return finish();
    }

    auto options = juce::MessageBoxOptions()
                       .withTitle ("Unsaved edits")
                       .withMessage ("\"" + session.getSoundName()
                                     + "\" has edits. Keep them (save it among your own sounds), "
                                       "drop them, or stay with it?")
                       .withButton ("Keep")
                       .withButton ("Drop")
                       .withButton ("Stay")
                       .withAssociatedComponent (this);
    juce::AlertWindow::showAsync (options, [this, switchSound, finish] (int button) {
        if (button == 1) // keep
        {
            try
            {
                session.saveSound (session.getSoundName());
                rebuildSoundMenu();
            }
            catch (const ToolError& error)
            {
                showMessage ("Not saved: " + error.message);
                return finish();
            }
        }
        if (button == 1 || button == 2)
            switchSound();
        finish();
    });
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
                              leaveSoundThen ([this, file] {
                                  try
                                  {
                                      session.loadPreset (file);
                                      showMessage ("Loaded " + file.getFileName());
                                  }
                                  catch (const ToolError& error)
                                  {
                                      showMessage ("Not loaded: " + error.message);
                                  }
                              });
                          });
}

void ControlStrip::choosePresetToSave()
{
    chooser = std::make_unique<juce::FileChooser> ("Save the sound (.fxp)", presetFolder, "*.fxp");
    chooser->launchAsync (juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                              | juce::FileBrowserComponent::warnAboutOverwriting,
                          [this] (const juce::FileChooser& chosen) {
                              auto file = chosen.getResult();
                              if (file == juce::File())
                                  return;
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

void ControlStrip::askNameToSaveAs()
{
    auto* dialog = new juce::AlertWindow ("Save as", "The name of the sound:", juce::MessageBoxIconType::NoIcon, this);
    dialog->addTextEditor ("name", session.getSoundName());
    dialog->addButton ("Save", 1, juce::KeyPress (juce::KeyPress::returnKey));
    dialog->addButton ("Cancel", 0, juce::KeyPress (juce::KeyPress::escapeKey));
    dialog->enterModalState (true, juce::ModalCallbackFunction::create ([this, dialog] (int result) {
                                 const auto name = dialog->getTextEditorContents ("name").trim();
                                 if (result == 1 && name.isNotEmpty())
                                 {
                                     try
                                     {
                                         session.saveSound (name);
                                         rebuildSoundMenu();
                                         showMessage ("Saved " + name + " in "
                                                      + session.getLibrary().getFolder().getFullPathName());
                                     }
                                     catch (const ToolError& error)
                                     {
                                         showMessage ("Not saved: " + error.message);
                                     }
                                 }
                                 focusKeyboard();
                             }),
                             true);
}
} // namespace quane::play
