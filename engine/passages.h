#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace riderar {

struct PracticeState;

inline constexpr int linesPerPassage = 4;
inline constexpr int passagesPerLevel = 10;
inline constexpr int passageLevels = 3;

/// One built-in passage: its level, its number within the level and its four lines.
struct PassageLines
{
    int level;
    int number;
    std::array<std::string_view, linesPerPassage> lines;
};

/// The thirty built-in passages, level by level, each level's in number order.
extern const std::array<PassageLines, passageLevels * passagesPerLevel> builtInPassages;

/// Fills state.passages with the built-in passages, their lines joined by state.lineBreak.
/// Writes only the slots of levels 0..2 and passage numbers 0..9.
void FillPassages(PracticeState &state);

} // namespace riderar
