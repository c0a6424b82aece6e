#include "practiceengine.h"
#include "practicestate.h"

#include "fakecontrols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace riderar {
namespace {

// The engine's arithmetic relies on these exact types.
template <typename Field, typename Type> constexpr bool is = std::is_same_v<Field, Type>;
static_assert(is<decltype(PracticeState::litKey), std::int16_t>);
static_assert(is<decltype(PracticeState::caretPos), std::int16_t>);
static_assert(is<decltype(PracticeState::spinCounter), std::int16_t>);
static_assert(is<decltype(PracticeState::recentPassages), std::array<std::int16_t, 11>>);
static_assert(is<decltype(PracticeState::level), std::int16_t>);
static_assert(is<decltype(PracticeState::accuracy), std::int16_t>);
static_assert(is<decltype(PracticeState::keyCode), std::int16_t>);
static_assert(is<decltype(PracticeState::keystrokes), std::int16_t>);
static_assert(is<decltype(PracticeState::historyPos), std::int16_t>);
static_assert(is<decltype(PracticeState::spinStart), float>);
static_assert(is<decltype(PracticeState::correctCount), float>);
static_assert(is<decltype(PracticeState::wrongCount), float>);
static_assert(is<decltype(PracticeState::typedCount), float>);
static_assert(is<decltype(PracticeState::minuteCount), float>);
static_assert(is<decltype(PracticeState::passages), std::array<std::array<Text, 11>, 4>>);
static_assert(is<decltype(PracticeState::lastChar), Text>);
static_assert(is<decltype(PracticeState::litKeyText), Text>);
static_assert(is<decltype(PracticeState::lineBreak), Text>);
static_assert(is<decltype(PracticeState::warned), bool>);
static_assert(is<decltype(PracticeState::started), bool>);

TEST(PracticeState, StartsWithZerosEmptyTextsAndFalseFlags)
{
    const PracticeState state;
    for (const std::int16_t field :
         {state.litKey, state.caretPos, state.spinCounter, state.level, state.accuracy,
          state.keyCode, state.keystrokes, state.historyPos})
        EXPECT_EQ(field, 0);
    EXPECT_TRUE(std::all_of(state.recentPassages.begin(), state.recentPassages.end(),
                            [](std::int16_t slot) { return slot == 0; }));
    for (const float counter : {state.spinStart, state.correctCount, state.wrongCount,
                                state.typedCount, state.minuteCount})
        EXPECT_EQ(counter, 0.0f);
    for (const auto &level : state.passages) {
        for (const Text &passage : level)
            EXPECT_TRUE(passage.empty());
    }
    EXPECT_TRUE(state.lastChar.empty());
    EXPECT_TRUE(state.litKeyText.empty());
    EXPECT_TRUE(state.lineBreak.empty());
    EXPECT_FALSE(state.warned);
    EXPECT_FALSE(state.started);
}

TEST(PracticeState, LoadStepSetsLineBreakAndPassagesAndTouchesNoControl)
{
    PracticeState state;
    state.started = true; // the load step clears it whatever it held
    testing::FakeControls controls;
    PracticeEngine(state, controls).load();

    EXPECT_EQ(state.lineBreak, (Text{13, 10}));
    EXPECT_FALSE(state.started);
    EXPECT_FALSE(state.passages[0][0].empty());
    EXPECT_FALSE(state.passages[2][9].empty());
    EXPECT_TRUE(controls.calls.empty());
    EXPECT_EQ(state.level, 0);
}

TEST(PracticeState, ActivationFocusesThePassageBoxAndSetsLevelOne)
{
    PracticeState state;
    testing::FakeControls controls;
    PracticeEngine engine(state, controls);
    engine.load();
    engine.activate();

    EXPECT_EQ(state.level, 1);
    EXPECT_TRUE(controls.passageFocused);
    EXPECT_EQ(controls.calls, (std::vector<std::string>{"focusPassage"}));
    EXPECT_FALSE(state.started);
}

} // namespace
} // namespace riderar
