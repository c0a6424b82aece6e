#include "passages.h"
#include "practiceengine.h"
#include "practicestate.h"

#include "fakecontrols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <ostream>
#include <set>
#include <string>

namespace riderar {
namespace {

const Text lineBreak = u"\r\n";

struct PassageRow
{
    int level;
    int number;
    std::string opening;
    std::array<int, 4> lineLengths;
    int length;
    std::string withoutKey; // the characters without a key button that the passage holds
    int spacedLine;         // the line (1 to 4) that ends with a space, 0 for none
};

std::ostream &operator<<(std::ostream &out, const PassageRow &row)
{
    return out << "level " << row.level << " passage " << row.number;
}

// clang-format off
const PassageRow passageRows[] = {
    {0, 0, "Thank you Great",               {82, 65, 73, 57}, 283, "",    0},
    {0, 1, "Opening the heart.",            {79, 76, 77, 67}, 305, "",    0},
    {0, 2, "Even if an",                    {77, 79, 78, 77}, 317, "",    0},
    {0, 3, "As the morning",                {80, 78, 76, 78}, 318, "",    0},
    {0, 4, "A prayer for",                  {77, 76, 78, 71}, 308, "",    0},
    {0, 5, "You have prayed",               {75, 77, 75, 66}, 299, "?",   0},
    {0, 6, "Truly, you are",                {76, 78, 69, 72}, 301, "",    0},
    {0, 7, "Someone once said,",            {76, 74, 70, 78}, 304, "",    0},
    {0, 8, "As I look",                     {80, 76, 79, 57}, 298, "",    2},
    {0, 9, "Money is the",                  {76, 73, 77, 60}, 292, "",    3},
    {1, 0, "English belongs to",            {78, 75, 75, 20}, 254, "",    0},
    {1, 1, "Indo-European languages where", {70, 81, 76, 27}, 260, "",    0},
    {1, 2, "The most important",            {75, 79, 76, 28}, 264, "():", 0},
    {1, 3, "During the Roman",              {83, 75, 78, 36}, 278, "",    0},
    {1, 4, "The Anglo-Saxon era",           {74, 76, 83, 48}, 287, "()",  0},
    {1, 5, "The Norman Conquest",           {78, 77, 78, 75}, 314, "",    0},
    {1, 6, "English in Australia",          {77, 81, 78, 74}, 316, "",    0},
    {1, 7, "The English language",          {81, 81, 77, 52}, 297, "",    0},
    {1, 8, "Language has not",              {76, 74, 85, 66}, 307, "",    0},
    {1, 9, "Antonyms, many entries",        {79, 79, 73, 64}, 301, "(",   0},
    {2, 0, "Generally speaking, those",     {81, 84, 79, 62}, 312, "",    0},
    {2, 1, "Generally speaking, those",     {67, 76, 82, 34}, 265, "",    0},
    {2, 2, "Generally speaking, those",     {80, 73, 75, 74}, 308, "",    4},
    {2, 3, "Winter comprises three",        {81, 80, 80, 58}, 305, ":",   0},
    {2, 4, "Libra is the",                  {83, 73, 81, 50}, 293, "()",  0},
    {2, 5, "Scorpio is the",                {82, 81, 78, 84}, 331, "()",  0},
    {2, 6, "Capricorn is the",              {84, 81, 78, 76}, 325, "()",  0},
    {2, 7, "Aquarius is the",               {81, 86, 76, 58}, 307, "()",  0},
    {2, 8, "The water Bearer",              {75, 83, 74, 79}, 317, "",    0},
    {2, 9, "Dig deeper and",                {80, 80, 75, 76}, 317, "",    4},
};
// clang-format on

std::vector<Text> splitLines(const Text &passage)
{
    std::vector<Text> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = passage.find(lineBreak, from)) != Text::npos; from = at + 2)
        lines.push_back(passage.substr(from, at - from));
    lines.push_back(passage.substr(from));
    return lines;
}

PracticeState loadedState()
{
    PracticeState state;
    testing::FakeControls controls;
    PracticeEngine(state, controls).load();
    return state;
}

class PassageTableTest : public ::testing::TestWithParam<PassageRow>
{
protected:
    static const PracticeState &state()
    {
        static const PracticeState loaded = loadedState();
        return loaded;
    }
    const Text &passage() const { return state().passages[GetParam().level][GetParam().number]; }
};

TEST_P(PassageTableTest, BeginsWithItsOpeningWords)
{
    EXPECT_TRUE(passage().starts_with(textFromAscii(GetParam().opening)));
}

TEST_P(PassageTableTest, HasFourLinesOfTheGivenLengthsJoinedByLineBreaks)
{
    const PassageRow &row = GetParam();
    const std::vector<Text> lines = splitLines(passage());
    ASSERT_EQ(lines.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i].size(), static_cast<std::size_t>(row.lineLengths[i]))
            << "line " << i + 1;
    EXPECT_EQ(passage().size(), static_cast<std::size_t>(row.length));
    EXPECT_EQ(row.length, std::accumulate(row.lineLengths.begin(), row.lineLengths.end(), 6));
    EXPECT_FALSE(passage().ends_with(lineBreak));
}

TEST_P(PassageTableTest, EndsOnlyTheListedLineWithASpace)
{
    const std::vector<Text> lines = splitLines(passage());
    ASSERT_EQ(lines.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].ends_with(u' '),
                  GetParam().spacedLine == i + 1)
            << "line " << i + 1;
    }
}

TEST_P(PassageTableTest, HoldsOnlyTheAllowedCharacters)
{
    const Text allowed = textFromAscii("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "0123456789 ,.'-/():?");
    for (const Text &line : splitLines(passage())) {
        for (const char16_t c : line)
            EXPECT_NE(allowed.find(c), Text::npos) << "character " << static_cast<int>(c);
    }
}

TEST_P(PassageTableTest, HoldsExactlyTheListedCharactersWithoutAKeyButton)
{
    std::set<char16_t> found;
    for (const char16_t c : passage()) {
        if (c == u'(' || c == u')' || c == u':' || c == u'?')
            found.insert(c);
    }
    const std::string &listed = GetParam().withoutKey;
    EXPECT_EQ(found, std::set<char16_t>(listed.begin(), listed.end()));
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, PassageTableTest, ::testing::ValuesIn(passageRows),
                         [](const auto &info) {
                             return "Level" + std::to_string(info.param.level) + "Passage" +
                                    std::to_string(info.param.number);
                         });

TEST(PassageTable, LeavesLevelThreeAndPassageTenEmpty)
{
    const PracticeState state = loadedState();
    int empty = 0;
    for (int level = 0; level < levelCount; ++level) {
        for (int number = 0; number < passageSlotCount; ++number) {
            const bool unused = level == 3 || number == 10;
            EXPECT_EQ(state.passages[level][number].empty(), unused)
                << "level " << level << " passage " << number;
            empty += unused;
        }
    }
    EXPECT_EQ(empty, 14);
}

TEST(PassageTable, JoinsLinesWithTheStateLineBreak)
{
    // FillPassages takes its line break from the state, which the load step sets first.
    PracticeState state;
    state.lineBreak = u"|";
    FillPassages(state);
    EXPECT_EQ(std::count(state.passages[1][0].begin(), state.passages[1][0].end(), u'|'), 3);
    EXPECT_EQ(state.passages[1][0].size(), 251u);
}

} // namespace
} // namespace riderar
