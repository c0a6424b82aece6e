#include "enginefixture.h"

#include <algorithm>
#include <set>

namespace riderar::testing {
namespace {

constexpr std::int16_t marker = -1;

std::set<int> historyOf(const PracticeState &state)
{
    return {state.recentPassages.begin(), state.recentPassages.begin() + 8};
}

TEST_F(EngineTest, StartShowsAPassageOfTheLevelAndResetsThePassageFields)
{
    controls.echoText = u"typed before";
    state.keystrokes = 12;
    state.caretPos = 7;
    state.warned = true;
    state.correctCount = 3;
    state.typedCount = 3;
    controls.timerOn = true;

    engine.startClick();

    EXPECT_TRUE(state.started);
    EXPECT_FALSE(controls.timerOn);
    EXPECT_EQ(controls.passage, state.passages[1][state.spinCounter]);
    EXPECT_EQ(state.recentPassages[1], state.spinCounter);
    EXPECT_EQ(state.historyPos, 1);
    EXPECT_EQ(state.keystrokes, 0);
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_FALSE(state.warned);
    EXPECT_TRUE(controls.echoText.empty());
    EXPECT_TRUE(controls.passageFocused);
    EXPECT_EQ(state.correctCount, 3); // the scores run on
    EXPECT_TRUE(controls.litKeys().empty());
    // The timer goes off before the spin; the passage is shown only after it.
    const auto &calls = controls.calls;
    EXPECT_EQ(calls.front(), "timerOff");
    EXPECT_EQ(std::vector<std::string>(calls.end() - 3, calls.end()),
              (std::vector<std::string>{"setPassageText", "focusPassage", "setEcho"}));
    expectInvariants();
}

// Clock steps that give 1, 3, 7, 9, 11 and 13 passes to a spin, changing from pick to pick
// as a busy machine's would. A fixed count with a factor in common with 10 would walk the
// counter through five numbers only, which the history can all bar; a real machine's count
// varies from spin to spin.
float spinStepFor(int pick)
{
    const float steps[] = {0.125f, 0.03f, 0.0123f, 0.0095f, 0.0075f, 0.0065f};
    return steps[pick % 6];
}

TEST_F(EngineTest, HistoryKeepsRecentPicksFromComingBack)
{
    std::vector<int> picks;
    controls.onProcessEvents = [this](int pass) {
        if (pass > 100000) { // the choice would never end: stop it, and fail
            ADD_FAILURE() << "a passage choice did not end";
            engine.windowClosed();
        }
    };
    for (int pick = 1; pick <= 200 && !engine.isWindowClosed(); ++pick) {
        controls.clockStep = spinStepFor(pick);
        const std::set<int> before = historyOf(state);
        engine.startClick();
        const int shown = state.spinCounter;
        picks.push_back(shown);
        EXPECT_EQ(before.count(shown), 0u) << "pick " << pick;
        EXPECT_LE(before.size(), 8u);
        EXPECT_EQ(state.historyPos, pick % 8) << "pick " << pick;
        if (pick % 8 == 0) {
            // A clearing: the history holds this pick alone, in slot 0.
            EXPECT_EQ(state.recentPassages[0], shown);
            for (int slot = 1; slot < 8; ++slot)
                EXPECT_EQ(state.recentPassages[slot], marker) << "pick " << pick;
        }
        EXPECT_EQ(controls.passage, state.passages[1][shown]);
        expectInvariants();
    }
    const std::set<int> firstEight(picks.begin(), picks.begin() + 8);
    EXPECT_EQ(firstEight.size(), 8u);
    EXPECT_EQ(firstEight.count(0), 0u);
    for (std::size_t clearing = 7; clearing + 8 < picks.size(); clearing += 8) {
        const std::set<int> nine(picks.begin() + clearing, picks.begin() + clearing + 9);
        EXPECT_EQ(nine.size(), 9u) << "from pick " << clearing + 1;
    }
    EXPECT_TRUE(std::all_of(state.recentPassages.begin() + 8, state.recentPassages.end(),
                            [](std::int16_t slot) { return slot == 0; }));
}

TEST_F(EngineTest, SpinEndsAtTheFirstPassWithEightyHundredthsOfASecondInSinglePrecision)
{
    struct Case
    {
        std::vector<float> readings; // spin start, then one reading for each pass
        int passes;
    };
    const Case cases[] = {
        {{10.0f, 10.03f, 10.06f, 10.09f}, 3},
        {{0.0f, 0.0799999f, 0.08f}, 2},            // 0.08f itself ends the spin
        {{500.0f, 900.0f}, 1},                     // a spin makes at least one pass
        {{86399.95f, 86399.99f, 0.01f, 0.04f}, 3}, // across midnight: 0.04, 0.06, then 0.09
        {{86399.99f, 0.02f, 0.09f}, 2},            // started in the last 0.08 seconds of the day
        {{5000.0f, 100.0f}, 1},                    // the clock set back by hand
    };
    for (const Case &c : cases) {
        controls.clockReadings.assign(c.readings.begin(), c.readings.end());
        state.recentPassages.fill(marker);
        const int passesBefore = controls.eventPasses;
        const int counterBefore = state.spinCounter;
        engine.startClick();
        EXPECT_EQ(controls.eventPasses - passesBefore, c.passes) << c.readings.front();
        EXPECT_EQ(state.spinCounter, (counterBefore + c.passes) % 10);
        EXPECT_EQ(state.spinStart, c.readings.front());
    }
}

TEST_F(EngineTest, ARejectedCandidateStartsANewSpin)
{
    state.recentPassages = {4, 5, 6, 7, 8, 9, 1, 2, 0, 0, 0};
    state.spinCounter = 3; // one pass per spin: 4 to 9 are barred, then 0 is free
    engine.startClick();
    EXPECT_EQ(state.spinCounter, 0);
    EXPECT_EQ(controls.eventPasses, 7);
}

TEST_F(EngineTest, ALevelClickChangesOnlyTheLevelOfTheNextPick)
{
    engine.startClick();
    const Text shown = controls.passage;
    controls.calls.clear();
    engine.levelClick(2);
    EXPECT_EQ(state.level, 2);
    EXPECT_EQ(controls.passage, shown);
    EXPECT_TRUE(controls.calls.empty());
    engine.startClick();
    EXPECT_EQ(controls.passage, state.passages[2][state.spinCounter]);
}

TEST_F(EngineTest, APickAtOneLevelIsBarredAtTheOthers)
{
    engine.levelClick(0);
    engine.startClick();
    const int first = state.spinCounter;
    engine.levelClick(2);
    for (int pick = 0; pick < 6; ++pick) {
        engine.startClick();
        EXPECT_NE(state.spinCounter, first);
    }
}

TEST_F(EngineTest, TheStartButtonInTheMiddleOfAPassageKeepsTheScoresShown)
{
    startWith(u"the quick fox");
    type(u"thx");
    const auto captions = controls.captions;
    engine.startClick();
    EXPECT_EQ(controls.captions, captions);
    EXPECT_TRUE(controls.echoText.empty());
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(state.keystrokes, 0);
    EXPECT_FALSE(controls.timerOn);
    EXPECT_EQ(controls.litKeys(), (std::set<int>{'x'})); // the lit key stays lit
}

} // namespace
} // namespace riderar::testing
