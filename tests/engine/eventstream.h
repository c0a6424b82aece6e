#pragma once

// Long streams of window events run against the engine and the scripted controls, with the
// state's invariants checked after every handler. The randomized test and the fuzzer share
// it: the test makes its streams from a seed, the fuzzer from its input bytes. Running a
// stream is deterministic, so a failing one can be cut down and replayed.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace riderar {
struct PracticeState;
}

namespace riderar::testing {

class FakeControls;

/// One event that can reach the engine.
struct StreamEvent
{
    enum class Kind : std::uint8_t
    {
        KeyPress, ///< KeyPress of Text1 with code value
        TypeNext, ///< KeyPress of the passage's next character, as a user reading it types it
        KeyClick, ///< Click of the value-th working key button
        Start,    ///< Click of the start button
        Level,    ///< Click of level button value % 3
        Reset,    ///< Click of the reset button
        Tick,     ///< Timer tick of the minute timer
        ClockSet, ///< The clock set by hand to value / 65536 of a day after midnight
        Close,    ///< The window closes
    };

    /// Event-processing passes between the arrival of the event before and this one's; an
    /// event due while a spin runs is handled nested in it. From idleDelay on, the event
    /// arrives only when no handler runs.
    static constexpr std::uint8_t idleDelay = 32;

    Kind kind = Kind::KeyPress;
    std::int16_t value = 0;
    std::uint8_t delay = idleDelay;

    friend bool operator==(const StreamEvent &, const StreamEvent &) = default;
};

struct EventStream
{
    float clockStart = 1000;  ///< the clock's first reading, seconds since midnight
    float clockStep = 0.02f;  ///< mean step of the clock from one reading to the next
    std::uint32_t jitter = 1; ///< seeds the variation of the clock's steps
    std::vector<StreamEvent> events;
};

/// A stream of the given length from a seed: every kind of event, some of them nested, now
/// and then a held key's run of auto-repeats.
EventStream generateStream(std::uint64_t seed, std::size_t length);

/// A stream from arbitrary bytes, four of them for each event.
EventStream decodeStream(std::span<const std::uint8_t> bytes);

struct StreamStats
{
    long long events = 0;       ///< events handed to the engine
    long long nestedEvents = 0; ///< of them, those handled inside another handler
    long long passes = 0;       ///< event-processing passes of the spins
    int deepestNesting = 0;     ///< the engine's nesting depth at its deepest
};

struct StreamFailure
{
    std::size_t event = 0; ///< index of the event after which the check failed
    std::string what;
};

/// Runs the stream against a loaded and activated engine. Returns the first broken invariant.
std::optional<StreamFailure> runStream(const EventStream &stream, StreamStats *stats = nullptr);

/// What is wrong with the state and the controls, empty where nothing is. The controls are
/// checked against the state only where idle is true: a handler half way through its steps
/// has not yet shown what it counted.
std::string brokenInvariants(const PracticeState &state, const FakeControls &controls, bool idle);

/// Cuts events out of the stream for as long as it still fails; returns the shortest found.
EventStream shortestFailing(EventStream stream,
                            const std::function<bool(const EventStream &)> &fails);

/// The stream as readable lines, one for each event.
std::string describe(const EventStream &stream);

} // namespace riderar::testing
