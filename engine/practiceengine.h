#pragma once

#include "text.h"

#include <cstdint>

namespace riderar {

class PracticeControls;
struct PracticeState;

/// The practice engine: the window's event handlers and its two procedures, ShowRandomWords
/// and DisplayText, working on the window's one PracticeState and on its controls through
/// PracticeControls. Handlers may run nested inside the passage choice's spin, which lets
/// pending window events in; they then share the state with the choice they interrupt.
class PracticeEngine
{
public:
    /// How deep handlers may nest inside one another through the spin's event processing.
    /// A keystroke or passage choice that would go deeper is skipped, as a failing step is.
    static constexpr int maxNesting = 64;

    /// The warning shown when the accuracy falls below 75 percent.
    static const Text warningPrompt;
    static const Text warningTitle;
    static constexpr int warningStyle = 256; ///< OK button only, no icon

    PracticeEngine(PracticeState &state, PracticeControls &controls);

    /// The window's load step, before it is first shown: line break, not started, passages.
    void load();
    /// The window's activation step; the window runs it at its first activation only.
    void activate();
    /// The window has closed: from now on the engine touches no control, and a passage choice
    /// under way stops where it is.
    void windowClosed();
    bool isWindowClosed() const { return m_closed; }

    void keyPress(std::int16_t code);    ///< KeyPress of Text1
    void keyClick(std::int16_t index);   ///< Click of Keys(index)
    void startClick();                   ///< Click of PickRandomWords
    void levelClick(std::int16_t index); ///< Click of Level(index)
    void resetClick();                   ///< Click of ResetScore
    void minuteTick();                   ///< Timer of CalcWordsPerMin

    /// The nesting depth of the handlers running now; 0 when none runs.
    int nesting() const { return m_nesting; }

private:
    class Nesting;

    // Each returns false where a step could not be carried out; the caller then stops too.
    [[nodiscard]] bool showRandomWords();
    [[nodiscard]] bool spin();
    [[nodiscard]] bool displayText();
    [[nodiscard]] bool unlightKeys();
    [[nodiscard]] bool enterKey();
    [[nodiscard]] bool backspaceKey();
    [[nodiscard]] bool characterKey();
    [[nodiscard]] bool lightKey();
    [[nodiscard]] bool scoreKey();
    void showWordCounts();
    [[nodiscard]] bool showAccuracy();
    void warnIfInaccurate();
    /// The passage length minus one: the position at which the passage is consumed.
    long long lastPassagePosition() const;

    PracticeState &m_state;
    PracticeControls &m_controls;
    int m_nesting = 0;
    bool m_closed = false;
};

/// The word display rule: a keystroke count as whole words of five, in plain decimal digits.
Text wordsText(float keystrokes);

/// Lower-cases a character code by the code page's rules: A to Z below 128, the Latin-1
/// capitals from 192 on; every other code stays as it is.
char16_t lowerCase(char16_t c);

} // namespace riderar
