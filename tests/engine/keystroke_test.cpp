#include "enginefixture.h"

#include <ostream>
#include <set>

#include "casename.h"

namespace riderar::testing {
namespace {

const Text seedPassage = u"seed ab\r\ncd (x) end.";

TEST_F(EngineTest, NothingHappensBeforeTheStartButton)
{
    type(u"seed");
    engine.keyClick('a');
    engine.keyPress(13);
    EXPECT_TRUE(controls.calls.empty());
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_EQ(state.keyCode, 0);
}

struct KindCase
{
    const char *what;
    std::u16string_view before; // typed first
    std::int16_t code;
    bool click;
    Text echo;
    int caretPos;
    std::set<int> lit;
    float correct, wrong;
    int keystrokes;
};

std::ostream &operator<<(std::ostream &out, const KindCase &c)
{
    return out << c.what;
}

// The net effect of each kind of keystroke on the passage "seed ab" CR LF "cd (x) end.".
const KindCase kindCases[] = {
    {"letter", u"", 's', false, u"s", 1, {'s'}, 1, 0, 1},
    {"capital letter", u"", 'S', false, u"S", 1, {'s'}, 1, 0, 1},
    {"wrong letter", u"", 'x', false, u"x", 1, {'x'}, 0, 1, 1},
    {"space", u"seed", ' ', false, u"seed ", 5, {' '}, 5, 0, 5},
    {"Esc button", u"", 0, true, u"", 1, {0}, 0, 1, 1},
    {"upper Enter button", u"", 14, true, u"", 1, {14}, 0, 1, 1},
    {"Enter at the line end", u"seed ab", 13, false, u"seed ab\r\n", 9, {13, 14}, 7, 0, 8},
    {"Enter button", u"seed ab", 13, true, u"seed ab\r\n", 9, {13, 14}, 7, 0, 8},
    {"Backspace", u"see", 8, false, u"se", 2, {8}, 4, 0, 3},
    {"Backspace after a wrong key", u"sx", 8, false, u"s", 1, {8}, 1, 2, 2},
    {"Back Space button", u"se", 8, true, u"s", 1, {8}, 2, 1, 2},
};

class KeystrokeKinds : public EngineTest, public ::testing::WithParamInterface<KindCase>
{};

TEST_P(KeystrokeKinds, HaveTheirNetEffect)
{
    const KindCase &c = GetParam();
    startWith(seedPassage);
    type(c.before);
    const float minuteBefore = state.minuteCount;
    if (c.click)
        engine.keyClick(c.code);
    else
        engine.keyPress(c.code);

    EXPECT_EQ(controls.echoText, c.echo);
    EXPECT_EQ(state.caretPos, c.caretPos);
    EXPECT_EQ(controls.litKeys(), c.lit);
    EXPECT_EQ(state.correctCount, c.correct);
    EXPECT_EQ(state.wrongCount, c.wrong);
    EXPECT_EQ(state.keystrokes, c.keystrokes);
    EXPECT_EQ(state.minuteCount, minuteBefore + 1);
    expectInvariants();
}

INSTANTIATE_TEST_SUITE_P(Kinds, KeystrokeKinds, ::testing::ValuesIn(kindCases), ByWhat());

TEST_F(EngineTest, ACharacterHighlightsTheNextOneAndShowsTheScores)
{
    startWith(seedPassage);
    type(u"seed ");
    EXPECT_EQ(controls.selStart, 5); // the highlight is on the next character to type, 'a'
    EXPECT_EQ(controls.selLength, 1);
    EXPECT_EQ(state.lastChar, u" ");
    EXPECT_EQ(state.litKey, 32);
    EXPECT_EQ(state.litKeyText, u"32");
    EXPECT_EQ(controls.caption(ScoreDisplay::CorrectWords), u"1");
    EXPECT_EQ(controls.caption(ScoreDisplay::IncorrectWords), u"0");
    EXPECT_EQ(controls.caption(ScoreDisplay::WordCount), u"1");
    EXPECT_EQ(controls.caption(ScoreDisplay::Accuracy), u"100");
    EXPECT_EQ(controls.caption(ScoreDisplay::WordsPerMin), u"0");
}

TEST_F(EngineTest, AnEnterHighlightsTheFirstCharacterOfTheNextLine)
{
    startWith(seedPassage);
    type(u"seed ab\r");
    EXPECT_EQ(controls.selStart, 9); // 'c', after CR and LF
    EXPECT_EQ(controls.selLength, 1);
    EXPECT_EQ(state.typedCount, 7);
    // The next keystroke returns the Enter key and the last character's key to rest.
    type(u"c");
    EXPECT_EQ(controls.litKeys(), (std::set<int>{'c'}));
    EXPECT_EQ(state.correctCount, 8);
}

TEST_F(EngineTest, AnEnterBeforeAnyLitKeyStaysLitUntilAnUnlightFindsALitKey)
{
    startWith(seedPassage);
    engine.keyPress(13);
    EXPECT_EQ(controls.litKeys(), (std::set<int>{13, 14}));
    EXPECT_EQ(controls.caption(ScoreDisplay::Accuracy), u"0"); // nothing scored yet
    EXPECT_EQ(state.keystrokes, 1);
    type(u"e");
    EXPECT_EQ(controls.litKeys(), (std::set<int>{13, 14, 'e'}));
    type(u"e");
    EXPECT_EQ(controls.litKeys(), (std::set<int>{'e'}));
}

TEST_F(EngineTest, TheEscButtonStaysLitUntilAnEnterFindsItNamed)
{
    startWith(seedPassage);
    engine.keyClick(0);
    type(u"e");
    EXPECT_EQ(controls.litKeys(), (std::set<int>{0, 'e'}));
    startWith(seedPassage);
    engine.keyClick(0);
    engine.keyPress(13);
    EXPECT_EQ(controls.litKeys(), (std::set<int>{13, 14}));
}

struct NoButtonCase
{
    const char *what;
    std::int16_t code;
    Text echoed; // what the echo gains
};

std::ostream &operator<<(std::ostream &out, const NoButtonCase &c)
{
    return out << c.what;
}

const NoButtonCase noButtonCases[] = {
    {"left parenthesis", '(', u"("},
    {"colon", ':', u":"},
    {"question mark", '?', u"?"},
    {"exclamation mark", '!', u"!"},
    {"Escape", 27, u""},
    {"Ctrl+A", 1, u""},
    {"Latin-1 capital", 0xC9, u"É"},
    {"Kelvin sign", 0x212A, u"\u212A"},
    {"dotted capital I", 0x130, u"\u0130"},
    {"code above 32767", -3, u""},
    {"lowest code", -32768, u""},
};

class KeysWithoutAButton : public EngineTest, public ::testing::WithParamInterface<NoButtonCase>
{};

TEST_P(KeysWithoutAButton, EchoAndMoveOnButLightAndScoreNothing)
{
    const NoButtonCase &c = GetParam();
    startWith(seedPassage);
    type(u"s");
    const auto captions = controls.captions;
    const PracticeState before = state;

    engine.keyPress(c.code);

    EXPECT_EQ(controls.echoText, u"s" + c.echoed);
    EXPECT_EQ(state.caretPos, 2);
    EXPECT_EQ(controls.selStart, 2);
    EXPECT_TRUE(controls.litKeys().empty()); // the key lit before is back at rest
    EXPECT_EQ(state.litKeyText, u"115");
    EXPECT_EQ(state.litKey, static_cast<std::int16_t>(state.lastChar.front()));
    EXPECT_EQ(state.typedCount, before.typedCount);
    EXPECT_EQ(state.keystrokes, before.keystrokes);
    EXPECT_EQ(state.minuteCount, before.minuteCount);
    EXPECT_EQ(controls.captions, captions);
    // The next keystroke is processed normally.
    type(u"e");
    EXPECT_EQ(controls.litKeys(), (std::set<int>{'e'}));
    EXPECT_EQ(state.typedCount, before.typedCount + 1);
    expectInvariants();
}

INSTANTIATE_TEST_SUITE_P(Codes, KeysWithoutAButton, ::testing::ValuesIn(noButtonCases), ByWhat());

TEST_F(EngineTest, CharactersOutsideAsciiNeverTurnIntoAsciiLetters)
{
    startWith(u"kiss");
    engine.keyPress(0x212A); // KELVIN SIGN
    engine.keyPress(0x130);  // LATIN CAPITAL LETTER I WITH DOT ABOVE
    EXPECT_EQ(state.lastChar, u"\u0130");
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_TRUE(controls.litKeys().empty());
    engine.keyPress(0xC9); // É lower-cases to é by the code page
    EXPECT_EQ(state.lastChar, u"é");
}

TEST_F(EngineTest, ABackspaceAtTheStartLowersTheKeystrokesAndScoresNothing)
{
    startWith(seedPassage);
    for (int i = 1; i <= 3; ++i) {
        engine.keyPress(8);
        EXPECT_EQ(state.caretPos, 0);
        EXPECT_EQ(state.keystrokes, -i);
        EXPECT_EQ(controls.litKeys(), (std::set<int>{8}));
        EXPECT_EQ(state.litKeyText, u"8");
    }
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_EQ(state.minuteCount, 0);
    EXPECT_TRUE(controls.echoText.empty());

    startWith(seedPassage);
    type(u"s\b");
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(state.typedCount, 1);
    EXPECT_EQ(state.keystrokes, 0);
}

TEST_F(EngineTest, ABackspaceLeavesAnInsertionPointBeforeTheCharacterToTypeAgain)
{
    startWith(seedPassage);
    type(u"seex\b");
    EXPECT_EQ(controls.selStart, 3);
    EXPECT_EQ(controls.selLength, 0);
    EXPECT_EQ(controls.echoText, u"see");
}

TEST_F(EngineTest, TypingToTheLastButOneCharacterShowsTheNextPassage)
{
    const Text passage = u"ab\r\ncd";
    startWith(passage);
    type(u"ab\rc");
    EXPECT_NE(controls.passage, passage);
    EXPECT_TRUE(controls.echoText.empty());
    EXPECT_EQ(state.caretPos, 0);
    EXPECT_EQ(state.keystrokes, 1); // the keystroke that ended it counts for the new one
    EXPECT_EQ(state.typedCount, 3);
    EXPECT_EQ(controls.litKeys(), (std::set<int>{'c'}));
}

TEST_F(EngineTest, AKeyClickAtTheLastKeystrokeFirstShowsTheNextPassage)
{
    startWith(u"abcdef");
    state.keystrokes = 5; // the passage length minus one, as after Backspaces
    engine.keyPress('a'); // a typed key never turns the passage this way
    EXPECT_EQ(controls.passage, u"abcdef");

    startWith(u"abcdef");
    state.keystrokes = 5;
    engine.keyClick('q');
    EXPECT_NE(controls.passage, u"abcdef");
    EXPECT_EQ(controls.echoText, u"q");
    EXPECT_EQ(state.caretPos, 1);
    EXPECT_EQ(state.keystrokes, 1);
}

TEST_F(EngineTest, PositionsAndCountsThatWouldLeaveSixteenBitsFailTheKeystroke)
{
    startWith(seedPassage);
    state.caretPos = 32767;
    engine.keyPress('s');
    EXPECT_EQ(state.caretPos, 32767);
    EXPECT_EQ(state.typedCount, 0);
    EXPECT_EQ(controls.echoText, u"s"); // steps before the failing one stay done

    startWith(seedPassage);
    state.keystrokes = -32768;
    engine.keyPress(8);
    EXPECT_EQ(state.keystrokes, -32768);
    EXPECT_TRUE(controls.litKeys().empty());

    startWith(seedPassage);
    state.keystrokes = 32767;
    engine.keyPress('s');
    EXPECT_EQ(state.keystrokes, 32767);
    EXPECT_EQ(state.correctCount, 1); // scored before the count failed
    EXPECT_EQ(state.minuteCount, 0);
    EXPECT_EQ(controls.caption(ScoreDisplay::WordCount), u"0");
}

} // namespace
} // namespace riderar::testing
