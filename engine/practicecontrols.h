#pragma once

#include "text.h"

#include <cstdint>
#include <optional>

namespace riderar {

/// A colour as red, green and blue from 0 to 255.
struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

/// The back colour of a key button: an RGB triple, or the system's button face when empty.
using KeyColour = std::optional<Rgb>;
inline constexpr KeyColour buttonFace = std::nullopt;
inline constexpr Rgb litKeyColour{225, 25, 25};

/// The five score displays whose captions the engine replaces.
enum class ScoreDisplay
{
    CorrectWords,   // ShowCorrectWords
    IncorrectWords, // ShowIncorrectWords
    WordCount,      // ShowWordCount
    Accuracy,       // ShowAccuracy
    WordsPerMin,    // ShowWordsPerMin
};

/// The one interface through which the engine sees the practice window and the platform.
/// The window implements it with its controls; tests implement it with a scripted fake.
/// Positions and lengths in the passage box count a line break as two characters.
class PracticeControls
{
public:
    virtual ~PracticeControls() = default;

    /// TypeDataIN: the echo of what was typed, exactly as last set.
    virtual Text echo() const = 0;
    virtual void setEcho(const Text &caption) = 0;

    /// Text1: the passage box.
    virtual Text passageText() const = 0;
    /// Shows the text from its beginning, the caret before the first character, nothing selected.
    virtual void setPassageText(const Text &text) = 0;
    virtual void focusPassage() = 0;
    /// An insertion point at p; a p beyond the end of the text is taken as the end.
    virtual void setPassageSelStart(std::int16_t p) = 0;
    /// Selects n characters from the selection start, or the rest of the text.
    virtual void setPassageSelLength(std::int16_t n) = 0;

    /// CalcWordsPerMin: switching on a running timer keeps its period going.
    virtual void setMinuteTimerOn(bool on) = 0;

    virtual void setScoreCaption(ScoreDisplay display, const Text &caption) = 0;

    /// Sets the back colour of Keys(index). Returns false, changing nothing, where no key
    /// button has that index.
    virtual bool setKeyColour(std::int16_t index, KeyColour colour) = 0;

    /// Seconds since midnight; starts again from 0 at midnight.
    virtual float secondsSinceMidnight() = 0;
    /// Handles every pending window event, then returns. Handlers may run nested inside it.
    virtual void processPendingEvents() = 0;
    /// Shows a modal message box with an OK button and returns when the user has closed it.
    virtual void showMessageBox(const Text &prompt, const Text &title, int style) = 0;
};

} // namespace riderar
