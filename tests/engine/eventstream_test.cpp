#include "eventstream.h"

#include "casename.h"
#include "enginefixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

namespace riderar::testing {
namespace {

using Kind = StreamEvent::Kind;

std::uint64_t numberFromEnvironment(const char *name, std::uint64_t fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

/// The failure as a report: the seed, what broke, and the shortest stream that still breaks.
std::string report(std::uint64_t seed, const EventStream &stream, const StreamFailure &failure)
{
    const EventStream shortest = shortestFailing(
        stream, [](const EventStream &candidate) { return runStream(candidate).has_value(); });
    const auto shortestFailure = runStream(shortest);
    return "seed " + std::to_string(seed) + ", event " + std::to_string(failure.event) + " of " +
           std::to_string(stream.events.size()) + ": " + failure.what +
           "\ncut down to: " + (shortestFailure ? shortestFailure->what : std::string("?")) + "\n" +
           describe(shortest);
}

// RIDERAR_STREAM_SEQUENCES and RIDERAR_STREAM_SEED choose a longer or another run.
TEST(EventStream, RandomStreamsKeepEveryInvariant)
{
    const std::uint64_t sequences = numberFromEnvironment("RIDERAR_STREAM_SEQUENCES", 3000);
    const std::uint64_t firstSeed = numberFromEnvironment("RIDERAR_STREAM_SEED", 1);
    StreamStats stats;
    for (std::uint64_t seed = firstSeed; seed < firstSeed + sequences; ++seed) {
        const std::size_t length = 20 + (seed * 7919) % 1500;
        const EventStream stream = generateStream(seed, length);
        if (const auto failure = runStream(stream, &stats)) {
            FAIL() << report(seed, stream, *failure);
            break;
        }
    }
    std::cout << sequences << " streams from seed " << firstSeed << ": " << stats.events
              << " events, " << stats.nestedEvents << " of them nested, " << stats.passes
              << " event-processing passes, deepest nesting " << stats.deepestNesting << '\n';
    // The streams reach what they are meant to probe.
    EXPECT_GT(stats.nestedEvents, stats.events / 100);
    if (sequences >= 100) {
        EXPECT_EQ(stats.deepestNesting, PracticeEngine::maxNesting);
    }
}

struct Corruption
{
    const char *what;
    std::function<void(PracticeState &, FakeControls &)> corrupt;
    const char *expected; // part of the report
};

class BrokenInvariantTest : public EngineTest, public ::testing::WithParamInterface<Corruption>
{};

TEST_P(BrokenInvariantTest, IsReported)
{
    startWith(state.passages[1][3]);
    controls.passage = state.passages[1][3];
    type(u"Abc\r");
    ASSERT_EQ(brokenInvariants(state, controls, true), "");

    GetParam().corrupt(state, controls);
    EXPECT_NE(brokenInvariants(state, controls, true).find(GetParam().expected), std::string::npos)
        << brokenInvariants(state, controls, true);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(EventStream, BrokenInvariantTest, ::testing::Values(
    Corruption{"uncounted", [](PracticeState &s, FakeControls &) { s.typedCount += 1; }, "typedCount"},
    Corruption{"fraction", [](PracticeState &s, FakeControls &) { s.minuteCount = 0.5f; }, "whole"},
    Corruption{"negative", [](PracticeState &s, FakeControls &) { s.wrongCount = -1; s.typedCount -= 1; }, "whole"},
    Corruption{"spin", [](PracticeState &s, FakeControls &) { s.spinCounter = 10; }, "spinCounter"},
    Corruption{"history", [](PracticeState &s, FakeControls &) { s.historyPos = 8; }, "historyPos"},
    Corruption{"slot", [](PracticeState &s, FakeControls &) { s.recentPassages[9] = 1; }, "recentPassages"},
    Corruption{"caret", [](PracticeState &s, FakeControls &) { s.caretPos = -1; }, "caretPos"},
    Corruption{"level", [](PracticeState &s, FakeControls &) { s.level = 3; }, "level"},
    Corruption{"accuracy", [](PracticeState &s, FakeControls &) { s.accuracy = 101; }, "accuracy"},
    Corruption{"no button", [](PracticeState &s, FakeControls &) { s.litKeyText = u"65"; }, "litKeyText"},
    Corruption{"capital", [](PracticeState &s, FakeControls &) { s.lastChar = u"Q"; }, "lastChar"},
    Corruption{"display", [](PracticeState &, FakeControls &c) { c.captions[2] = u"7"; }, "word display"},
    Corruption{"stray key", [](PracticeState &, FakeControls &c) { c.keyColours[97] = litKeyColour; }, "lit"},
    Corruption{"passage", [](PracticeState &, FakeControls &c) { c.passage += u"x"; }, "passage box"}
), ByWhat());
// clang-format on

TEST(EventStream, ShortestFailingKeepsOnlyWhatTheFailureNeeds)
{
    EventStream stream = generateStream(7, 400);
    stream.events.insert(stream.events.begin() + 150, {Kind::Close, 0, 3});
    // Fails where a reset comes anywhere before a nested close.
    const auto fails = [](const EventStream &candidate) {
        bool reset = false;
        for (const StreamEvent &event : candidate.events) {
            reset = reset || event.kind == Kind::Reset;
            if (reset && event.kind == Kind::Close && event.delay == 3)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(fails(stream));
    const EventStream shortest = shortestFailing(stream, fails);
    ASSERT_EQ(shortest.events.size(), 2u) << describe(shortest);
    EXPECT_EQ(shortest.events[0].kind, Kind::Reset);
    EXPECT_EQ(shortest.events[1], (StreamEvent{Kind::Close, 0, 3}));
}

TEST(EventStream, ARunIsTheSameEveryTime)
{
    const EventStream stream = generateStream(42, 800);
    StreamStats first;
    StreamStats second;
    EXPECT_FALSE(runStream(stream, &first));
    EXPECT_FALSE(runStream(stream, &second));
    EXPECT_EQ(first.events, second.events);
    EXPECT_EQ(first.nestedEvents, second.nestedEvents);
    EXPECT_EQ(first.passes, second.passes);
    EXPECT_GT(first.passes, 0);
}

TEST(EventStream, BytesDecodeFourToAnEvent)
{
    const std::vector<std::uint8_t> bytes{10, 0, 1, 0, 9, 40, 0, 0, 10, 2, 0xFF, 0xFF, 7};
    const EventStream stream = decodeStream(bytes);
    EXPECT_FLOAT_EQ(stream.clockStart, 4300);
    ASSERT_EQ(stream.events.size(), 2u); // the last byte makes no event
    EXPECT_EQ(stream.events[0], (StreamEvent{Kind::Start, 0, 40}));
    EXPECT_EQ(stream.events[1], (StreamEvent{Kind::Level, -1, 2}));
}

// The fuzzer's corpus, its findings included, replays here on every build.
TEST(EventStream, FuzzCorpusReplaysCleanly)
{
    const std::filesystem::path corpus = RIDERAR_FUZZ_CORPUS;
    int replayed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        const EventStream stream = decodeStream(bytes);
        if (const auto failure = runStream(stream))
            ADD_FAILURE() << entry.path().filename() << ": " << failure->what << '\n'
                          << describe(stream);
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

} // namespace
} // namespace riderar::testing
