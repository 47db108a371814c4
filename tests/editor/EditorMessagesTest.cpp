// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's traffic with the model: refresh, write-backs, user changes and late messages.
#include "EditorTestSupport.h"

#include "host/MessageLoop.h"
#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace quane::test
{
namespace
{
/** A model with a recording host and an open editor whose opening write-backs are done. */
struct OpenEditor
{
    OpenEditor()
    {
        model.attachHost (&host);
        editor = std::make_unique<MyPlugEditorComponent> (model);
        pumpMessages();
        host.changes.clear();
    }

    MyPlugJuceFilter model;
    RecordingHost host { model };
    std::unique_ptr<MyPlugEditorComponent> editor;
};

TEST (EditorMessages, UnitSliderAtTheBottomSendsZeroAndShowsTheStoredFloor)
{
    OpenEditor open;
    auto& attack = open.editor->getSlider (10);
    dragSliderTo (attack, (float) attack.getHeight() + 20.0f);

    ASSERT_EQ (open.host.changes.size(), 1u);
    EXPECT_EQ (open.host.changes[0].index, 10);
    EXPECT_EQ (open.host.changes[0].value, 0.0f);
    EXPECT_EQ (open.model.parameterValue (10), 0.001f);
    EXPECT_EQ (attack.getValue(), 0.0); // until the change message arrives

    pumpMessages();
    EXPECT_EQ (attack.getValue(), (double) 0.001f);
    EXPECT_EQ (open.host.changes.size(), 1u) << "the refresh must not send the slider back";
}

TEST (EditorMessages, RefreshNeverSendsSlidersBack)
{
    OpenEditor open;
    for (int i = 0; i < patch::parameterCount; ++i)
        dragSliderToValue (open.editor->getSlider (i), open.editor->getSlider (i).proportionOfLengthToValue (0.7));
    const auto userChanges = open.host.changes.size();
    EXPECT_GE (userChanges, 28u); // sliders already at that spot stay silent

    for (int i = 0; i < patch::parameterCount; ++i)
        open.model.setParameterValue (i, i == 3 ? 1.0f : (i == 4 ? 4.0f : 0.6f));
    pumpMessages();
    EXPECT_EQ (open.host.changes.size(), userChanges);
    for (int i = 0; i < patch::parameterCount; ++i)
        EXPECT_NEAR (open.editor->getSlider (i).getValue(), i == 3 ? 1.0 : (i == 4 ? 4.0 : 0.6), 1e-6) << i;
}

TEST (EditorMessages, ProgramChangeMovesEveryControlAndWritesChangedSelectorsOnce)
{
    OpenEditor open;
    for (int program = 1; program < factoryProgramCount; ++program)
    {
        SCOPED_TRACE (testing::Message() << "program " << program);
        int shownBefore[patch::selectorCount];
        for (int j = 0; j < patch::selectorCount; ++j)
            shownBefore[j] = open.editor->getSelector (j).getSelectedId();

        open.host.changes.clear();
        open.model.selectProgram (program);
        pumpMessages();

        for (int i = 0; i < patch::parameterCount; ++i)
        {
            auto& slider = open.editor->getSlider (i);
            const double expected = juce::jlimit (slider.getMinimum(), slider.getMaximum(),
                                                  (double) open.model.parameterValue (i));
            EXPECT_NEAR (slider.getValue(), expected, 1e-6) << "slider " << i;
            EXPECT_EQ (open.host.countFor (i), 0) << "slider " << i;
        }
        for (int j = 0; j < patch::selectorCount; ++j)
        {
            auto& selector = open.editor->getSelector (j);
            const int id = (int) open.model.parameterValue (patch::firstSelector + j);
            const int shown = selector.indexOfItemId (id) >= 0 ? id : shownBefore[j];
            EXPECT_EQ (selector.getSelectedId(), shown) << "selector " << j;
            EXPECT_EQ (open.host.countFor (patch::firstSelector + j), shown != shownBefore[j] ? 1 : 0)
                << "selector " << j;
        }
    }
}

TEST (EditorMessages, UnofferedDestinationLeavesSelectorFourAlone)
{
    OpenEditor open;
    auto& selector = open.editor->getSelector (4);
    open.model.setParameterValue (34, 3.0f);
    pumpMessages();
    ASSERT_EQ (selector.getSelectedId(), 3);

    for (float unoffered : { 7.0f, 8.0f, 0.0f })
    {
        SCOPED_TRACE (testing::Message() << "value " << unoffered);
        open.host.changes.clear();
        open.model.setParameterValue (34, unoffered);
        pumpMessages();
        EXPECT_EQ (selector.getSelectedId(), 3);
        EXPECT_TRUE (open.host.changes.empty());
        EXPECT_EQ (open.model.parameterValue (34), unoffered);
    }
}

TEST (EditorMessages, SelectorValuesAreTruncated)
{
    OpenEditor open;
    open.model.setParameterValue (30, 4.9f);
    pumpMessages();
    EXPECT_EQ (open.editor->getSelector (0).getSelectedId(), 4);
    ASSERT_EQ (open.host.countFor (30), 1);
    EXPECT_EQ (open.host.changes.back().value, 4.0f);
}

TEST (EditorMessages, UserSelectionWritesThirtyPlusIndex)
{
    OpenEditor open;
    for (int j = 0; j < patch::selectorCount; ++j)
    {
        SCOPED_TRACE (testing::Message() << "selector " << j);
        auto& selector = open.editor->getSelector (j);
        const int id = selector.getSelectedId() == 2 ? 3 : 2;
        open.host.changes.clear();
        selector.setSelectedId (id); // as the pop-up menu does: announced asynchronously
        EXPECT_TRUE (open.host.changes.empty());
        pumpMessages();
        ASSERT_EQ (open.host.changes.size(), 1u);
        EXPECT_EQ (open.host.changes[0].index, patch::firstSelector + j);
        EXPECT_EQ (open.host.changes[0].value, (float) id);
        EXPECT_EQ (open.model.parameterValue (patch::firstSelector + j), (float) id);
    }
}

TEST (EditorMessages, WithoutAHostUserChangesGoStraightToTheModel)
{
    MyPlugJuceFilter model;
    MyPlugEditorComponent editor (model);
    pumpMessages();
    dragSliderToValue (editor.getSlider (7), 0.25);
    EXPECT_NEAR (model.parameterValue (7), 0.25f, 1e-3f);
    pumpMessages();
    editor.getSelector (7).setSelectedId (6);
    pumpMessages();
    EXPECT_EQ (model.parameterValue (37), 6.0f);
}

TEST (EditorMessages, MessagesPendingWhenTheEditorGoesAreDropped)
{
    MyPlugJuceFilter model;
    RecordingHost host (model);
    model.attachHost (&host);

    // The opening refresh leaves nine selector changes queued.
    auto editor = std::make_unique<MyPlugEditorComponent> (model);
    editor.reset();
    pumpMessages();
    EXPECT_TRUE (host.changes.empty());

    // A program change queues the change message, then selector changes, then their announcements:
    // delete the editor after each number of delivered messages in turn.
    for (int delivered = 0; delivered < 24; ++delivered)
    {
        SCOPED_TRACE (testing::Message() << "deleted after " << delivered << " messages");
        model.selectProgram (delivered % 2 == 0 ? 4 : 9);
        editor = std::make_unique<MyPlugEditorComponent> (model);
        pumpMessages();
        model.selectProgram (delivered % 2 == 0 ? 9 : 4);
        for (int k = 0; k < delivered; ++k)
            dispatchPendingMessages (1);
        editor.reset();
        const auto changesAtDeletion = host.changes.size();
        pumpMessages();
        EXPECT_EQ (host.changes.size(), changesAtDeletion);
    }

    // The model keeps working and a new editor follows it.
    model.selectProgram (0);
    MyPlugEditorComponent next (model);
    EXPECT_EQ (next.getSelector (0).getSelectedId(), (int) model.parameterValue (30));
}

/** Stands in for a control's value and notes, whenever the control stores a new value, whether
    another thread (the audio thread, say) could take the lock at that moment. */
class LockProbe : public juce::Value::ValueSource
{
public:
    LockProbe (const juce::var& initial, juce::CriticalSection& lockToProbe, std::vector<bool>& record)
        : value (initial), lock (lockToProbe), lockFreeWhenStored (record)
    {
    }

    juce::var getValue() const override { return value; }

    void setValue (const juce::var& newValue) override
    {
        value = newValue;
        auto otherThread = std::async (std::launch::async, [this] {
            const bool taken = lock.tryEnter();
            if (taken)
                lock.exit();
            return taken;
        });
        lockFreeWhenStored.push_back (otherThread.get());
    }

private:
    juce::var value;
    juce::CriticalSection& lock;
    std::vector<bool>& lockFreeWhenStored;
};

TEST (EditorMessages, ControlsMoveWithTheProcessLockReleased)
{
    OpenEditor open;
    auto& slider = open.editor->getSlider (6);
    auto& selector = open.editor->getSelector (0);
    std::vector<bool> lockFree;
    slider.getValueObject().referTo (juce::Value (new LockProbe (slider.getValue(), open.model.processLock, lockFree)));
    selector.getSelectedIdAsValue().referTo (
        juce::Value (new LockProbe (selector.getSelectedId(), open.model.processLock, lockFree)));

    open.model.setParameterValue (6, 0.3f);
    open.model.setParameterValue (30, 5.0f);
    pumpMessages();

    ASSERT_EQ (lockFree.size(), 2u) << "the slider and the selector each store one new value";
    EXPECT_TRUE (lockFree[0]) << "slider moved under processLock";
    EXPECT_TRUE (lockFree[1]) << "selector moved under processLock";
    EXPECT_NEAR (slider.getValue(), 0.3, 1e-6);
    EXPECT_EQ (selector.getSelectedId(), 5);
}
} // namespace
} // namespace quane::test
