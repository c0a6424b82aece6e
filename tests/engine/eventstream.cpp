#include "eventstream.h"

#include "fakecontrols.h"
#include "keyindexes.h"
#include "passages.h"
#include "practiceengine.h"
#include "practicestate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <set>
#include <sstream>

namespace riderar::testing {

namespace {

using Kind = StreamEvent::Kind;

constexpr double secondsPerDay = 86400.0;
constexpr long long passCeiling = 2'000'000; // far beyond any stream's spins: a hang

/// splitmix64: small, fast and the same on every platform, unlike the standard distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    /// A whole number from 0 to n - 1.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    /// A number from 0 up to 1.
    double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t m_state;
};

const std::set<int> &keyIndexes()
{
    static const std::set<int> indexes = workingKeyIndexes();
    return indexes;
}

const std::vector<int> &keyIndexList()
{
    static const std::vector<int> indexes(keyIndexes().begin(), keyIndexes().end());
    return indexes;
}

const std::set<Text> &builtInTexts()
{
    static const std::set<Text> texts = [] {
        // On the heap: clang 14 crashes evaluating a local PracticeState's destructor.
        const auto state = std::make_unique<PracticeState>();
        state->lineBreak = u"\r\n";
        FillPassages(*state);
        std::set<Text> all;
        for (int level = 0; level < passageLevels; ++level) {
            for (int number = 0; number < passagesPerLevel; ++number)
                all.insert(state->passages[level][number]);
        }
        return all;
    }();
    return texts;
}

std::int16_t keyCodeFrom(Random &random)
{
    const int choice = random.below(100);
    if (choice < 25)
        return static_cast<std::int16_t>(32 + random.below(95)); // printable ASCII
    if (choice < 45)
        return 13;
    if (choice < 70)
        return 8;
    if (choice < 78)
        return static_cast<std::int16_t>(random.below(32)); // control codes
    if (choice < 86)
        return static_cast<std::int16_t>(128 + random.below(128)); // Latin-1
    if (choice < 93)
        return static_cast<std::int16_t>(0x100 + random.below(0x7F00)); // CJK and the like
    return static_cast<std::int16_t>(random.next()); // any 16-bit code, negative ones too
}

StreamEvent randomEvent(Random &random)
{
    StreamEvent event;
    const int choice = random.below(1000);
    if (choice < 480) {
        event.kind = Kind::TypeNext;
    } else if (choice < 780) {
        event.kind = Kind::KeyPress;
        event.value = keyCodeFrom(random);
    } else if (choice < 860) {
        event.kind = Kind::KeyClick;
        event.value = static_cast<std::int16_t>(random.below(1 << 15));
    } else if (choice < 900) {
        event.kind = Kind::Start;
    } else if (choice < 925) {
        event.kind = Kind::Level;
        event.value = static_cast<std::int16_t>(random.below(3));
    } else if (choice < 950) {
        event.kind = Kind::Reset;
    } else if (choice < 990) {
        event.kind = Kind::Tick;
    } else if (choice < 998) {
        event.kind = Kind::ClockSet;
        event.value = static_cast<std::int16_t>(random.chance(0.5) ? -1 : random.below(1 << 15));
    } else {
        event.kind = Kind::Close;
    }
    if (random.chance(0.2))
        event.delay = static_cast<std::uint8_t>(random.below(6));
    return event;
}

/// A key held down: auto-repeats arriving one or two passes apart, nested in every spin.
void appendHeldKey(Random &random, std::vector<StreamEvent> &events, std::size_t length)
{
    const int repeats = 50 + random.below(350);
    for (int i = 0; i < repeats && events.size() < length; ++i)
        events.push_back({Kind::TypeNext, 0, static_cast<std::uint8_t>(random.below(2))});
}

/// The passage's next character as its key types it: Enter for the line break.
std::int16_t nextPassageCode(const PracticeState &state, const Text &passage)
{
    const auto at = static_cast<std::size_t>(state.caretPos);
    if (at >= passage.size())
        return 'x';
    const char16_t c = passage[at];
    return static_cast<std::int16_t>(c == u'\r' || c == u'\n' ? 13 : c);
}

bool isWhole(float count)
{
    return std::isfinite(count) && count >= 0 && std::floor(count) == count;
}

bool isDecimalIn(const Text &text, long long low, long long high)
{
    if (text.empty() || text.size() > 6 || (text.size() > 1 && text.front() == u'0'))
        return false;
    long long value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    return value >= low && value <= high;
}

const char *kindName(Kind kind)
{
    constexpr std::array names{"KeyPress", "TypeNext", "KeyClick", "Start", "Level",
                               "Reset",    "Tick",     "ClockSet", "Close"};
    return names[static_cast<std::size_t>(kind)];
}

/// The scripted window that feeds a stream's events to the engine: at the top level when no
/// handler runs, and nested in the spins' event processing once they are due.
class StreamRunner final : public FakeControls
{
public:
    explicit StreamRunner(const EventStream &stream)
        : m_stream(stream), m_clock(stream.clockStart), m_jitter(stream.jitter)
    {}

    std::optional<StreamFailure> run()
    {
        m_engine.load();
        m_engine.activate();
        m_loadedPassages = m_state.passages;
        while (m_next < m_stream.events.size())
            deliverNext(false);
        if (!m_failure && m_state.passages != m_loadedPassages)
            m_failure = StreamFailure{m_stream.events.size(), "the passage table changed"};
        return m_failure;
    }

    StreamStats stats;

    float secondsSinceMidnight() override
    {
        const float now = static_cast<float>(m_clock);
        m_clock += m_stream.clockStep * (0.5 + m_jitter.unit());
        if (m_clock >= secondsPerDay)
            m_clock -= secondsPerDay;
        return now;
    }

    void processPendingEvents() override
    {
        calls.push_back("processPendingEvents");
        ++stats.passes;
        stats.deepestNesting = std::max(stats.deepestNesting, m_engine.nesting());
        if (m_engine.nesting() > PracticeEngine::maxNesting)
            fail("handlers nested deeper than the bound");
        if (stats.passes > passCeiling) {
            fail("the spins never end");
            m_engine.windowClosed(); // lets the spin under way return
        }
        ++m_passesWaited;
        while (m_next < m_stream.events.size() && isDue(m_stream.events[m_next]))
            deliverNext(true);
    }

    void showMessageBox(const Text &, const Text &, int) override
    {
        calls.push_back("showMessageBox");
        // The box is modal: of the window's events only the timer's get through.
        while (m_next < m_stream.events.size() && m_stream.events[m_next].kind == Kind::Tick &&
               isDue(m_stream.events[m_next]))
            deliverNext(true);
    }

private:
    bool isDue(const StreamEvent &event) const
    {
        return event.delay < StreamEvent::idleDelay && m_passesWaited >= event.delay;
    }

    void deliverNext(bool nested)
    {
        const StreamEvent event = m_stream.events[m_next++];
        m_passesWaited = 0;
        ++stats.events;
        if (nested)
            ++stats.nestedEvents;
        deliver(event);
        check(m_next - 1);
    }

    void deliver(const StreamEvent &event)
    {
        switch (event.kind) {
        case Kind::KeyPress:
            m_engine.keyPress(event.value);
            break;
        case Kind::TypeNext:
            m_engine.keyPress(nextPassageCode(m_state, passage));
            break;
        case Kind::KeyClick: {
            const auto &indexes = keyIndexList();
            const auto at = static_cast<std::uint16_t>(event.value) % indexes.size();
            m_engine.keyClick(static_cast<std::int16_t>(indexes[at]));
            break;
        }
        case Kind::Start:
            m_engine.startClick();
            break;
        case Kind::Level:
            m_engine.levelClick(
                static_cast<std::int16_t>(static_cast<std::uint16_t>(event.value) % 3));
            break;
        case Kind::Reset:
            m_engine.resetClick();
            break;
        case Kind::Tick:
            // The timer ticks only while it runs; it stops when the window closes.
            if (timerOn && !m_closed)
                m_engine.minuteTick();
            break;
        case Kind::ClockSet:
            m_clock = static_cast<std::uint16_t>(event.value) * (secondsPerDay / 65536.0);
            break;
        case Kind::Close:
            m_closed = true;
            m_engine.windowClosed();
            calls.clear();
            break;
        }
    }

    void check(std::size_t event)
    {
        if (m_failure)
            return;
        const bool idle = m_engine.nesting() == 0;
        std::string broken = brokenInvariants(m_state, *this, idle && !m_closed);
        if (m_state.lineBreak != u"\r\n")
            broken += "lineBreak changed; ";
        if (m_wasStarted && !m_state.started)
            broken += "started went back to false; ";
        m_wasStarted = m_state.started;
        if (m_closed && !calls.empty())
            broken += "a control was touched after the window closed (" + calls.front() + "); ";
        if (!broken.empty())
            m_failure = StreamFailure{event, broken};
        if (idle)
            calls.clear();
        if (m_failure)
            m_next = m_stream.events.size(); // no more events: the handlers unwind
    }

    void fail(const std::string &what)
    {
        if (!m_failure)
            m_failure = StreamFailure{m_next == 0 ? 0 : m_next - 1, what};
        m_next = m_stream.events.size();
    }

    const EventStream &m_stream;
    PracticeState m_state;
    PracticeEngine m_engine{m_state, *this};
    PassageTable m_loadedPassages;
    double m_clock;
    Random m_jitter;
    std::size_t m_next = 0;
    int m_passesWaited = 0;
    bool m_closed = false;
    bool m_wasStarted = false;
    std::optional<StreamFailure> m_failure;
};

void checkState(const PracticeState &state, std::string &broken)
{
    const auto require = [&broken](bool holds, const char *what) {
        if (!holds)
            broken += std::string(what) + "; ";
    };
    require(state.correctCount + state.wrongCount == state.typedCount,
            "correctCount + wrongCount differs from typedCount");
    require(isWhole(state.correctCount) && isWhole(state.wrongCount) && isWhole(state.typedCount) &&
                isWhole(state.minuteCount),
            "a counter is not a whole number of 0 or more");
    require(state.spinCounter >= 0 && state.spinCounter <= 9, "spinCounter out of 0..9");
    require(state.historyPos >= 0 && state.historyPos <= 7, "historyPos out of 0..7");
    require(state.caretPos >= 0, "caretPos negative");
    require(state.level >= 0 && state.level <= 2, "level out of 0..2");
    require(state.accuracy >= 0 && state.accuracy <= 100, "accuracy out of 0..100");
    for (std::size_t slot = 0; slot < state.recentPassages.size(); ++slot) {
        const std::int16_t number = state.recentPassages[slot];
        require(slot < 8 ? number >= -1 && number <= 9 : number == 0,
                "recentPassages holds something else than a passage number or the marker");
    }
    require(state.litKeyText.empty() || (isDecimalIn(state.litKeyText, 0, 126) &&
                                         keyIndexes().contains(std::stoi(std::string(
                                             state.litKeyText.begin(), state.litKeyText.end())))),
            "litKeyText names no key button");
    require(state.lastChar.empty() ||
                (state.lastChar.size() == 1 && lowerCase(state.lastChar[0]) == state.lastChar[0]),
            "lastChar is not one lower-case character");
}

void checkControls(const PracticeState &state, const FakeControls &controls, std::string &broken)
{
    const auto require = [&broken](bool holds, const char *what) {
        if (!holds)
            broken += std::string(what) + "; ";
    };
    require(controls.caption(ScoreDisplay::CorrectWords) == wordsText(state.correctCount) &&
                controls.caption(ScoreDisplay::IncorrectWords) == wordsText(state.wrongCount) &&
                controls.caption(ScoreDisplay::WordCount) == wordsText(state.typedCount),
            "a word display does not follow its counter");
    require(isDecimalIn(controls.caption(ScoreDisplay::Accuracy), 0, 100),
            "the accuracy display is not a percentage");
    require(isDecimalIn(controls.caption(ScoreDisplay::WordsPerMin), 0, 99999),
            "the words-per-minute display is not a whole number");
    // Esc stays lit after its own keystroke, and the Enter pair after an Enter, until a
    // keystroke with a key lit before un-lights them; any other lit key is the last one.
    const int lastLit =
        state.litKeyText.empty()
            ? 0
            : std::stoi(std::string(state.litKeyText.begin(), state.litKeyText.end()));
    require(std::all_of(controls.keyColours.begin(), controls.keyColours.end(),
                        [lastLit](const auto &key) {
                            const auto &[index, colour] = key;
                            return colour != KeyColour(litKeyColour) || index == lastLit ||
                                   index == 0 || index == 13 || index == 14;
                        }),
            "a key is lit that no rule lights");
    require(state.started ? builtInTexts().contains(controls.passage) : controls.passage.empty(),
            "the passage box shows something else than a built-in passage");
}

} // namespace

EventStream generateStream(std::uint64_t seed, std::size_t length)
{
    Random random(seed);
    EventStream stream;
    stream.clockStart = random.chance(0.3) ? static_cast<float>(secondsPerDay - 2 * random.unit())
                                           : static_cast<float>(secondsPerDay * random.unit());
    stream.clockStep = static_cast<float>(0.004 + 0.1 * random.unit() * random.unit());
    stream.jitter = static_cast<std::uint32_t>(random.next());
    // Most streams start the practice early on; some let events in before.
    if (random.chance(0.9))
        stream.events.push_back({Kind::Start, 0, StreamEvent::idleDelay});
    while (stream.events.size() < length) {
        if (random.chance(0.004))
            appendHeldKey(random, stream.events, length);
        else
            stream.events.push_back(randomEvent(random));
    }
    return stream;
}

EventStream decodeStream(std::span<const std::uint8_t> bytes)
{
    // Weights as in the generated streams, roughly: the passage's next character most.
    constexpr std::array<Kind, 16> kinds{
        Kind::TypeNext, Kind::TypeNext, Kind::TypeNext, Kind::TypeNext,
        Kind::KeyPress, Kind::KeyPress, Kind::KeyPress, Kind::KeyClick,
        Kind::KeyClick, Kind::Start,    Kind::Level,    Kind::Reset,
        Kind::Tick,     Kind::Tick,     Kind::ClockSet, Kind::Close,
    };
    EventStream stream;
    if (bytes.size() >= 4) {
        stream.clockStart = bytes[0] >= 200 ? static_cast<float>(secondsPerDay - bytes[1] / 100.0)
                                            : static_cast<float>(bytes[0] * 430.0);
        stream.clockStep = static_cast<float>(0.004 + bytes[1] / 2550.0);
        stream.jitter = static_cast<std::uint32_t>(bytes[2] | (bytes[3] << 8));
        bytes = bytes.subspan(4);
    }
    for (; bytes.size() >= 4; bytes = bytes.subspan(4)) {
        StreamEvent event;
        event.kind = kinds[bytes[0] % kinds.size()];
        event.delay = bytes[1];
        event.value = static_cast<std::int16_t>(bytes[2] | (bytes[3] << 8));
        stream.events.push_back(event);
    }
    return stream;
}

std::optional<StreamFailure> runStream(const EventStream &stream, StreamStats *stats)
{
    const auto runner = std::make_unique<StreamRunner>(stream); // on the heap, as above
    auto failure = runner->run();
    if (stats) {
        stats->events += runner->stats.events;
        stats->nestedEvents += runner->stats.nestedEvents;
        stats->passes += runner->stats.passes;
        stats->deepestNesting = std::max(stats->deepestNesting, runner->stats.deepestNesting);
    }
    return failure;
}

std::string brokenInvariants(const PracticeState &state, const FakeControls &controls, bool idle)
{
    std::string broken;
    checkState(state, broken);
    if (idle)
        checkControls(state, controls, broken);
    return broken;
}

EventStream shortestFailing(EventStream stream,
                            const std::function<bool(const EventStream &)> &fails)
{
    auto &events = stream.events;
    for (std::size_t chunk = std::max<std::size_t>(events.size() / 2, 1); chunk >= 1;) {
        bool cut = false;
        for (std::size_t start = 0; start < events.size();) {
            EventStream candidate = stream;
            const auto from = candidate.events.begin() + static_cast<std::ptrdiff_t>(start);
            candidate.events.erase(
                from, from + static_cast<std::ptrdiff_t>(std::min(chunk, events.size() - start)));
            if (fails(candidate)) {
                stream = std::move(candidate);
                cut = true;
            } else {
                start += chunk;
            }
        }
        if (!cut) {
            if (chunk == 1)
                break;
            chunk /= 2;
        }
    }
    // Events that need not be nested are shown arriving at the top level.
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].delay >= StreamEvent::idleDelay)
            continue;
        EventStream candidate = stream;
        candidate.events[i].delay = StreamEvent::idleDelay;
        if (fails(candidate))
            stream = std::move(candidate);
    }
    return stream;
}

std::string describe(const EventStream &stream)
{
    std::ostringstream text;
    text << "clock from " << stream.clockStart << " s in steps of about " << stream.clockStep
         << " s (jitter " << stream.jitter << ")\n";
    for (std::size_t i = 0; i < stream.events.size(); ++i) {
        const StreamEvent &event = stream.events[i];
        text << "  " << i << ": " << kindName(event.kind);
        if (event.kind != Kind::TypeNext && event.kind != Kind::Start &&
            event.kind != Kind::Reset && event.kind != Kind::Tick && event.kind != Kind::Close)
            text << ' ' << event.value;
        if (event.delay < StreamEvent::idleDelay)
            text << ", nested after " << static_cast<int>(event.delay) << " passes";
        text << '\n';
    }
    return text.str();
}

} // namespace riderar::testing
