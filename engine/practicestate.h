#pragma once

#include "text.h"

#include <array>
#include <cstdint>

namespace riderar {

inline constexpr int levelCount = 4;        // levels 0..2 hold passages, 3 stays empty
inline constexpr int passageSlotCount = 11; // passage numbers 0..9 hold passages, 10 stays empty
inline constexpr int historySlotCount = 11; // only slots 0..7 take part in the passage choice

using PassageTable = std::array<std::array<Text, passageSlotCount>, levelCount>;

/// Everything the practice engine knows between two events. The window owns exactly one; the
/// engine's handlers read and write the fields directly. The fields keep the declaration order
/// and the types the engine's arithmetic relies on: 16-bit positions, codes and choice numbers,
/// single-precision counters holding whole numbers.
struct PracticeState
{
    std::int16_t litKey = 0;      ///< Keys index lit by the last keystroke other than Enter
    std::int16_t caretPos = 0;    ///< characters of the passage consumed so far
    std::int16_t spinCounter = 0; ///< rolling 0..9 counter of the passage choice
    std::array<std::int16_t, historySlotCount> recentPassages{}; ///< recently shown numbers
    std::int16_t level = 0;      ///< chosen level, 0..2; 1 from the window's activation on
    std::int16_t accuracy = 0;   ///< percent of correct scored keystrokes, rounded down
    std::int16_t keyCode = 0;    ///< code of the keystroke being processed
    std::int16_t keystrokes = 0; ///< keystrokes counted for the current passage
    std::int16_t historyPos = 0; ///< slot of recentPassages written last
    float spinStart = 0;         ///< clock reading at the start of the current spin
    float correctCount = 0;      ///< scored keystrokes that matched the passage
    float wrongCount = 0;        ///< scored keystrokes that did not match
    float typedCount = 0;        ///< all scored keystrokes
    float minuteCount = 0;       ///< keystrokes since the last minute tick or score reset
    PassageTable passages{};     ///< [level][passage number]
    Text lastChar;               ///< lower-cased character of the last character keystroke
    Text litKeyText;             ///< litKey as decimal text, written once its button is lit
    Text lineBreak;              ///< CR LF from the window's load step on
    bool warned = false;         ///< the low-accuracy warning was shown for this passage
    bool started = false;        ///< the start button was pressed at least once
};

} // namespace riderar
