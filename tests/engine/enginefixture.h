#pragma once

#include "practiceengine.h"
#include "practicestate.h"

#include "fakecontrols.h"

#include <gtest/gtest.h>

#include <string_view>

namespace riderar::testing {

/// An engine on a loaded and activated window, as the user first finds it.
class EngineTest : public ::testing::Test
{
protected:
    EngineTest()
    {
        engine.load();
        engine.activate();
        controls.calls.clear();
    }

    /// Presses the start button and then puts a passage of the test's own in the box.
    void startWith(const Text &passage)
    {
        engine.startClick();
        controls.passage = passage;
        controls.calls.clear();
    }

    void type(std::u16string_view keys)
    {
        for (const char16_t key : keys)
            engine.keyPress(static_cast<std::int16_t>(key));
    }

    /// Checks the invariants that hold whenever no handler runs.
    void expectInvariants() const
    {
        EXPECT_EQ(state.correctCount + state.wrongCount, state.typedCount);
        EXPECT_GE(state.spinCounter, 0);
        EXPECT_LE(state.spinCounter, 9);
        EXPECT_GE(state.historyPos, 0);
        EXPECT_LE(state.historyPos, 7);
        EXPECT_GE(state.caretPos, 0);
        EXPECT_GE(state.accuracy, 0);
        EXPECT_LE(state.accuracy, 100);
        EXPECT_EQ(engine.nesting(), 0);
    }

    PracticeState state;
    FakeControls controls;
    PracticeEngine engine{state, controls};
};

} // namespace riderar::testing
