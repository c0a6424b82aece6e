#include "enginefixture.h"

namespace riderar::testing {
namespace {

TEST(WordDisplayRule, ShowsWholeWordsOfFiveKeystrokes)
{
    const std::pair<float, const char16_t *> cases[] = {
        {0, u"0"},   {4, u"0"},    {5, u"1"},
        {9, u"1"},   {10, u"2"},   {14, u"2"},
        {60, u"12"}, {299, u"59"}, {16777215, u"3355443"},
    };
    for (const auto &[count, shown] : cases)
        EXPECT_EQ(wordsText(count), shown) << count;
}

TEST(CodePage, LowerCasesAsciiAndLatin1CapitalsOnly)
{
    const std::pair<char16_t, char16_t> cases[] = {
        {u'A', u'a'}, {u'Z', u'z'},     {u'a', u'a'},   {u'@', u'@'},
        {u'[', u'['}, {0xC0, 0xE0},     {0xDE, 0xFE},   {0xD7, 0xD7},
        {0xDF, 0xDF}, {0x212A, 0x212A}, {0x130, 0x130}, {0x0391, 0x0391},
    };
    for (const auto &[from, to] : cases)
        EXPECT_EQ(lowerCase(from), to) << static_cast<int>(from);
}

struct AccuracyCase
{
    float correctBefore, typedBefore;
    bool correctKey;
    const char16_t *shown;
    bool warns;
};

TEST_F(EngineTest, AccuracyIsRoundedDownAndWarnsBelowSeventyFive)
{
    const AccuracyCase cases[] = {
        {1, 2, false, u"33", true}, {1, 2, true, u"66", true},     {9, 9, true, u"100", false},
        {2, 3, true, u"75", false}, {148, 199, true, u"74", true}, {28, 99, true, u"28", true},
        {0, 0, false, u"0", true},  {0, 0, true, u"100", false},
    };
    for (const AccuracyCase &c : cases) {
        startWith(u"aaaa");
        state.correctCount = c.correctBefore;
        state.typedCount = c.typedBefore;
        state.wrongCount = c.typedBefore - c.correctBefore;
        controls.messageBoxes.clear();
        engine.keyPress(c.correctKey ? 'a' : 'b');
        EXPECT_EQ(controls.caption(ScoreDisplay::Accuracy), c.shown)
            << c.correctBefore << " of " << c.typedBefore;
        EXPECT_EQ(controls.messageBoxes.size(), c.warns ? 1u : 0u)
            << c.correctBefore << " of " << c.typedBefore;
    }
}

TEST_F(EngineTest, TheWarningHasItsPromptTitleAndStyleAndWarnedTurnsTrueOnlyAfterIt)
{
    startWith(u"abc");
    bool warnedWhileOpen = true;
    controls.onMessageBox = [&] { warnedWhileOpen = state.warned; };
    type(u"x");
    ASSERT_EQ(controls.messageBoxes.size(), 1u);
    const auto &box = controls.messageBoxes.front();
    EXPECT_EQ(box.prompt,
              u"提示：请正确输入上面所看到的练习内容，  \n\r包括所有空格键以及回车换行等。");
    EXPECT_EQ(box.title, u"指法练习打字软件 Ver 1.0");
    EXPECT_EQ(box.style, 256);
    EXPECT_FALSE(warnedWhileOpen);
    EXPECT_TRUE(state.warned);
}

TEST_F(EngineTest, TheWarningComesOncePerPassageAndAgainAfterAResetOrANewPassage)
{
    startWith(u"aaaaaaaaaaaaaaaaaaaa");
    type(u"xxxxx");
    EXPECT_EQ(controls.messageBoxes.size(), 1u);
    engine.resetClick();
    type(u"a");
    EXPECT_EQ(controls.messageBoxes.size(), 1u); // 100 percent after the reset
    type(u"x");
    EXPECT_EQ(controls.messageBoxes.size(), 2u);
    type(u"xxx");
    EXPECT_EQ(controls.messageBoxes.size(), 2u);

    // The keystroke that ends a passage warns again at once: the new passage cleared warned.
    startWith(u"xyz");
    state.warned = true;
    controls.messageBoxes.clear();
    type(u"ab");
    EXPECT_NE(controls.passage, u"xyz");
    EXPECT_EQ(controls.messageBoxes.size(), 1u);
}

TEST_F(EngineTest, AnEnterBeforeAnyScoredKeystrokeKeepsTheAccuracyShown)
{
    startWith(u"ab\r\ncd");
    engine.resetClick();
    state.accuracy = 42;
    controls.calls.clear();
    engine.keyPress(13);
    EXPECT_EQ(controls.caption(ScoreDisplay::Accuracy), u"0");
    EXPECT_EQ(state.accuracy, 42);
    EXPECT_EQ(state.keystrokes, 1);
    EXPECT_EQ(controls.caption(ScoreDisplay::WordCount), u"0");
    EXPECT_TRUE(controls.messageBoxes.empty());
}

TEST_F(EngineTest, TheTimerGoesOnWhileTheEchoIsShorterThanTwoCharacters)
{
    startWith(u"abcdef");
    const auto timerCalls = [this] {
        return std::count(controls.calls.begin(), controls.calls.end(), "timerOn");
    };
    type(u"a");
    EXPECT_TRUE(controls.timerOn);
    EXPECT_EQ(timerCalls(), 1);
    type(u"b"); // the echo held one character
    EXPECT_EQ(timerCalls(), 2);
    type(u"c");
    EXPECT_EQ(timerCalls(), 2);
    type(u"\b\b");
    EXPECT_EQ(timerCalls(), 2); // each found two or more characters
    type(u"b");
    EXPECT_EQ(timerCalls(), 3);
    engine.startClick();
    EXPECT_FALSE(controls.timerOn);
}

TEST_F(EngineTest, TheResetZeroesTheScoresAndLeavesTheRest)
{
    startWith(u"abcdefghij");
    type(u"abcx\r");
    controls.captions[static_cast<std::size_t>(ScoreDisplay::WordsPerMin)] =
        Text(1, u'7'); // not a literal: works around a false -Wrestrict in GCC 12
    const PracticeState before = state;
    const Text echo = controls.echoText;
    controls.passageFocused = false;

    engine.resetClick();

    EXPECT_EQ(state.correctCount, 0);
    EXPECT_EQ(state.wrongCount, 0);
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_EQ(state.minuteCount, 0);
    EXPECT_FALSE(state.warned);
    EXPECT_TRUE(controls.passageFocused);
    for (const ScoreDisplay display : {ScoreDisplay::CorrectWords, ScoreDisplay::IncorrectWords,
                                       ScoreDisplay::WordCount, ScoreDisplay::Accuracy})
        EXPECT_EQ(controls.caption(display), u"0");
    EXPECT_EQ(controls.caption(ScoreDisplay::WordsPerMin), u"7");
    EXPECT_EQ(state.accuracy, before.accuracy);
    EXPECT_EQ(state.caretPos, before.caretPos);
    EXPECT_EQ(state.keystrokes, before.keystrokes);
    EXPECT_EQ(state.litKeyText, before.litKeyText);
    EXPECT_EQ(controls.echoText, echo);
    EXPECT_TRUE(controls.timerOn);
}

TEST_F(EngineTest, TheResetWorksBeforeTheFirstExercise)
{
    engine.resetClick();
    EXPECT_FALSE(state.started);
    EXPECT_TRUE(controls.passageFocused);
    EXPECT_EQ(controls.calls.back(), "focusPassage");
}

TEST_F(EngineTest, TheMinuteTickShowsTheMinutesWordsAndStartsAFreshCount)
{
    const std::pair<int, const char16_t *> cases[] = {{0, u"0"}, {4, u"0"},   {5, u"1"},
                                                      {9, u"1"}, {60, u"12"}, {299, u"59"}};
    for (const auto &[keystrokes, shown] : cases) {
        state.minuteCount = static_cast<float>(keystrokes);
        engine.minuteTick();
        EXPECT_EQ(controls.caption(ScoreDisplay::WordsPerMin), shown) << keystrokes;
        EXPECT_EQ(state.minuteCount, 0);
    }
    startWith(u"abcdefgh");
    type(u"ab\bx");
    EXPECT_EQ(state.minuteCount, 4); // a Backspace counts for the speed as well
}

} // namespace
} // namespace riderar::testing
