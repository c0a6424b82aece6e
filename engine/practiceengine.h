#pragma once

#include <cstdint>

namespace riderar {

class PracticeControls;
struct PracticeState;

/// The practice engine: the window's event handlers, working on the window's one PracticeState
/// and on its controls through PracticeControls. It owns nothing of its own.
class PracticeEngine
{
public:
    PracticeEngine(PracticeState &state, PracticeControls &controls);

    /// The window's load step, before it is first shown: line break, not started, passages.
    void load();
    /// The window's activation step; the window runs it at its first activation only.
    void activate();

    void keyPress(std::int16_t code);    ///< KeyPress of Text1
    void keyClick(std::int16_t index);   ///< Click of Keys(index)
    void startClick();                   ///< Click of PickRandomWords
    void levelClick(std::int16_t index); ///< Click of Level(index)
    void resetClick();                   ///< Click of ResetScore
    void minuteTick();                   ///< Timer of CalcWordsPerMin

private:
    PracticeState &m_state;
    PracticeControls &m_controls;
};

} // namespace riderar
