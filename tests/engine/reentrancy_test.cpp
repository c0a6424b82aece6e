#include "enginefixture.h"

#include <algorithm>

namespace riderar::testing {
namespace {

long countOf(const std::vector<std::string> &calls, const char *name)
{
    return std::count(calls.begin(), calls.end(), name);
}

class NestedTest : public EngineTest
{
protected:
    NestedTest()
    {
        controls.clockStep = 0.01f; // several passes for each spin
    }

    /// Runs action once, at the given pass of the event processing from now on.
    void atPass(int pass, std::function<void()> action)
    {
        const int due = controls.eventPasses + pass;
        controls.onProcessEvents = [due, action = std::move(action)](int now) {
            if (now == due)
                action();
        };
    }
};

TEST_F(NestedTest, AKeystrokeInASpinIsProcessedAgainstThePassageStillShown)
{
    startWith(u"abcdef");
    type(u"ab");
    atPass(3, [this] { engine.keyPress('c'); });
    engine.startClick();
    EXPECT_EQ(state.correctCount, 3); // scored against the old passage's third character
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(state.keystrokes, 0);
    EXPECT_TRUE(controls.echoText.empty());
    EXPECT_NE(controls.passage, u"abcdef");
    expectInvariants();
}

TEST_F(NestedTest, AStartClickInASpinShowsItsPickAndTheInterruptedPickReplacesIt)
{
    engine.startClick();
    const int historyBefore = state.historyPos;
    std::int16_t nestedPick = -1;
    atPass(2, [&] {
        engine.startClick();
        nestedPick = state.spinCounter;
    });
    controls.calls.clear();
    engine.startClick();

    EXPECT_EQ(countOf(controls.calls, "setPassageText"), 2);
    EXPECT_EQ(state.historyPos, historyBefore + 2);
    EXPECT_EQ(state.recentPassages[historyBefore + 1], nestedPick);
    EXPECT_EQ(state.recentPassages[historyBefore + 2], state.spinCounter);
    EXPECT_NE(state.spinCounter, nestedPick);
    EXPECT_EQ(controls.passage, state.passages[1][state.spinCounter]);
    expectInvariants();
}

TEST_F(NestedTest, TheInterruptedSpinMeasuresFromTheNestedSpinsStart)
{
    engine.startClick();
    float nestedStart = 0;
    atPass(1, [&] {
        engine.startClick();
        nestedStart = state.spinStart;
    });
    const float outerStart = controls.clock;
    engine.startClick();
    EXPECT_GT(nestedStart, outerStart);
    EXPECT_EQ(state.spinStart, nestedStart); // no rejected candidate: the outer spin went on
}

TEST_F(NestedTest, ALevelClickInASpinChangesTheLevelOfThePickUnderWay)
{
    atPass(2, [this] { engine.levelClick(0); });
    engine.startClick();
    EXPECT_EQ(controls.passage, state.passages[0][state.spinCounter]);
}

TEST_F(NestedTest, ATickInTheSpinAtAPassagesEndCountsTheKeystrokeInTheNextMinute)
{
    startWith(u"abc");
    type(u"a");
    atPass(1, [this] { engine.minuteTick(); });
    type(u"b"); // reaches the end and spins
    EXPECT_EQ(controls.caption(ScoreDisplay::WordsPerMin), u"0");
    EXPECT_EQ(state.minuteCount, 1);
}

TEST_F(NestedTest, AResetInTheSpinAtAPassagesEndClearsTheKeystrokesScore)
{
    startWith(u"abc");
    type(u"a");
    atPass(1, [this] { engine.resetClick(); });
    type(u"b");
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_EQ(state.minuteCount, 1); // the first keystroke of the new count
    EXPECT_EQ(state.keystrokes, 1);
    EXPECT_EQ(controls.caption(ScoreDisplay::Accuracy), u"0");
    expectInvariants();
}

TEST_F(NestedTest, ANestedKeystrokeAtThePassagesEndMakesAChoiceOfItsOwn)
{
    startWith(u"abc");
    type(u"a");
    atPass(1, [this] { engine.keyPress('x'); });
    controls.calls.clear();
    type(u"b");
    EXPECT_EQ(countOf(controls.calls, "setPassageText"), 2);
    EXPECT_EQ(state.typedCount, 3);
    EXPECT_EQ(state.keystrokes, 1);
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(controls.passage, state.passages[1][state.spinCounter]);
    expectInvariants();
}

TEST_F(NestedTest, AKeyClickInASpinBeforeItsOwnKeystrokeIsProcessedNested)
{
    startWith(u"abcdef");
    state.keystrokes = 5;
    atPass(2, [this] { engine.keyClick('b'); });
    engine.keyClick('a');
    EXPECT_EQ(state.caretPos, 1);
    EXPECT_EQ(controls.echoText, u"a");
    EXPECT_EQ(state.typedCount, 2);
    expectInvariants();
}

TEST_F(NestedTest, ClosingTheWindowInASpinEndsTheChoiceWithoutTouchingAControl)
{
    startWith(u"abc");
    type(u"a");
    std::size_t callsAtClose = 0;
    atPass(2, [&] {
        engine.windowClosed();
        callsAtClose = controls.calls.size();
    });
    const PracticeState before = state;
    type(u"b");
    EXPECT_EQ(controls.calls.size(), callsAtClose);
    EXPECT_EQ(controls.passage, u"abc");
    EXPECT_EQ(state.keystrokes, before.keystrokes);

    // Nothing after the close reaches the window either.
    engine.keyPress('c');
    engine.keyClick('c');
    engine.startClick();
    engine.resetClick();
    engine.minuteTick();
    engine.activate();
    EXPECT_EQ(controls.calls.size(), callsAtClose);
    EXPECT_EQ(engine.nesting(), 0);
}

TEST_F(NestedTest, ClosingTheWindowInANestedSpinUnwindsEveryChoice)
{
    startWith(u"ab");
    // A nested keystroke at the passage's end makes a nested choice; the window closes when
    // the choices are four deep.
    controls.onProcessEvents = [this, first = true](int) mutable {
        if (first) {
            first = false;
            engine.keyPress('b');
        } else if (engine.nesting() >= 4) {
            engine.windowClosed();
        }
    };
    engine.keyPress('a');
    EXPECT_TRUE(engine.isWindowClosed());
    EXPECT_EQ(engine.nesting(), 0);
    EXPECT_EQ(controls.passage, u"ab");
}

TEST_F(NestedTest, AKeyHeldAtAPassagesEndNestsNoDeeperThanTheBound)
{
    startWith(u"abc");
    type(u"a");
    // The key repeats 30 times a second for twenty seconds of the clock: in spins through
    // their event processing, between them from the event loop.
    const float repeatEvery = 1.0f / 30;
    float nextRepeat = controls.clock;
    const float release = controls.clock + 20;
    int deepest = 0;
    int repeats = 0;
    const auto deliverDueRepeats = [&] {
        deepest = std::max(deepest, engine.nesting());
        while (controls.clock < release && controls.clock >= nextRepeat) {
            nextRepeat += repeatEvery;
            ++repeats;
            engine.keyPress('b');
        }
    };
    controls.onProcessEvents = [&](int) { deliverDueRepeats(); };
    while (controls.clock < release) {
        deliverDueRepeats();
        controls.clock = std::max(controls.clock, nextRepeat);
    }
    controls.onProcessEvents = nullptr;

    EXPECT_GT(repeats, 500);
    EXPECT_LE(deepest, PracticeEngine::maxNesting);
    EXPECT_GE(deepest, PracticeEngine::maxNesting - 1); // the bound was reached
    expectInvariants();
    // Afterwards typing goes on as usual.
    const float typed = state.typedCount;
    engine.keyPress('x');
    EXPECT_EQ(state.typedCount, typed + 1);
    EXPECT_EQ(engine.nesting(), 0);
}

} // namespace
} // namespace riderar::testing
