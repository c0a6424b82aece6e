#include "practiceengine.h"

#include "passages.h"
#include "practicecontrols.h"
#include "practicestate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace riderar {

namespace {

constexpr int historySlotsInUse = 8;
constexpr std::int16_t historyMarker = -1; // no passage number: a cleared history slot
constexpr std::int16_t passageNumbers = 10;
constexpr float spinSeconds = 0.08f;
constexpr double secondsPerDay = 86400.0;
constexpr double keystrokesPerWord = 5.0;
constexpr int warningAccuracy = 75;

constexpr std::int16_t backspaceCode = 8;
constexpr std::int16_t enterCode = 13;
constexpr std::int16_t enterUpperKey = 14;
constexpr std::int16_t lastControlCode = 31;

/// Adds delta to a 16-bit field; where the sum leaves the 16-bit range the field keeps its
/// value and the step fails.
[[nodiscard]] bool checkedAdd(std::int16_t &field, int delta)
{
    const int sum = field + delta;
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max())
        return false;
    field = static_cast<std::int16_t>(sum);
    return true;
}

Text decimalText(long long value)
{
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return textFromAscii(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

/// The key index that litKeyText names; it only ever holds the decimal text of a lit key.
std::int16_t keyIndexFrom(const Text &text)
{
    std::string ascii(text.begin(), text.end());
    int index = 0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), index);
    return static_cast<std::int16_t>(index);
}

/// Seconds from start to now on a clock that starts again from 0 at midnight. Across
/// midnight the day is added back; the same reckoning ends the spin at once if the clock is
/// set back by hand instead.
float elapsedSince(float start, float now)
{
    if (now >= start)
        return now - start;
    return static_cast<float>(static_cast<double>(now) + secondsPerDay - start);
}

} // namespace

const Text PracticeEngine::warningPrompt =
    u"提示：请正确输入上面所看到的练习内容，  \n\r包括所有空格键以及回车换行等。";
const Text PracticeEngine::warningTitle = u"指法练习打字软件 Ver 1.0";

char16_t lowerCase(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return static_cast<char16_t>(c + (u'a' - u'A'));
    constexpr char16_t multiplication = 0xD7;
    if (c >= 0xC0 && c <= 0xDE && c != multiplication)
        return static_cast<char16_t>(c + 0x20);
    return c;
}

Text wordsText(float keystrokes)
{
    return decimalText(static_cast<long long>(std::floor(keystrokes / keystrokesPerWord)));
}

/// Counts one handler into the nesting while it runs.
class PracticeEngine::Nesting
{
public:
    explicit Nesting(int &depth) : m_depth(depth) { ++m_depth; }
    ~Nesting() { --m_depth; }
    Nesting(const Nesting &) = delete;
    Nesting &operator=(const Nesting &) = delete;
    bool tooDeep() const { return m_depth > maxNesting; }

private:
    int &m_depth;
};

PracticeEngine::PracticeEngine(PracticeState &state, PracticeControls &controls)
    : m_state(state), m_controls(controls)
{}

void PracticeEngine::load()
{
    m_state.lineBreak = u"\r\n";
    m_state.started = false;
    FillPassages(m_state);
}

void PracticeEngine::activate()
{
    if (m_closed)
        return;
    m_controls.focusPassage();
    m_state.level = 1;
}

void PracticeEngine::windowClosed()
{
    m_closed = true;
}

void PracticeEngine::keyPress(std::int16_t code)
{
    if (m_closed || !m_state.started)
        return;
    m_state.keyCode = code;
    (void)displayText();
}

void PracticeEngine::keyClick(std::int16_t index)
{
    if (m_closed || !m_state.started)
        return;
    if (m_state.keystrokes == lastPassagePosition() && !showRandomWords())
        return;
    m_state.keyCode = index;
    (void)displayText();
}

void PracticeEngine::startClick()
{
    if (m_closed)
        return;
    m_state.started = true;
    m_controls.setMinuteTimerOn(false);
    (void)showRandomWords();
}

void PracticeEngine::levelClick(std::int16_t index)
{
    m_state.level = index;
}

void PracticeEngine::resetClick()
{
    if (m_closed)
        return;
    m_state.minuteCount = 0;
    m_state.typedCount = 0;
    m_state.correctCount = 0;
    m_state.wrongCount = 0;
    showWordCounts();
    m_controls.setScoreCaption(ScoreDisplay::Accuracy, decimalText(0));
    m_state.warned = false;
    m_controls.focusPassage();
}

void PracticeEngine::minuteTick()
{
    if (m_closed)
        return;
    m_controls.setScoreCaption(ScoreDisplay::WordsPerMin, wordsText(m_state.minuteCount));
    m_state.minuteCount = 0;
}

bool PracticeEngine::showRandomWords()
{
    Nesting nesting(m_nesting);
    if (nesting.tooDeep())
        return false;

    do {
        if (!spin())
            return false;
    } while (std::any_of(m_state.recentPassages.begin(),
                         m_state.recentPassages.begin() + historySlotsInUse,
                         [this](std::int16_t slot) { return slot == m_state.spinCounter; }));

    if (++m_state.historyPos == historySlotsInUse) {
        std::fill_n(m_state.recentPassages.begin(), historySlotsInUse, historyMarker);
        m_state.historyPos = 0;
    }
    if (m_state.level < 0 || m_state.level >= levelCount)
        return false;
    m_controls.setPassageText(m_state.passages[m_state.level][m_state.spinCounter]);
    m_state.recentPassages[m_state.historyPos] = m_state.spinCounter;
    m_controls.focusPassage();
    m_state.keystrokes = 0;
    m_state.caretPos = 0;
    m_controls.setEcho(Text());
    m_state.warned = false;
    return true;
}

bool PracticeEngine::spin()
{
    // spinStart and spinCounter belong to the state, not to this call: a choice nested in
    // the event processing moves both, and this spin goes on from where it left them.
    m_state.spinStart = m_controls.secondsSinceMidnight();
    float elapsed = 0;
    do {
        m_controls.processPendingEvents();
        if (m_closed)
            return false;
        const float now = m_controls.secondsSinceMidnight();
        m_state.spinCounter = static_cast<std::int16_t>((m_state.spinCounter + 1) % passageNumbers);
        elapsed = elapsedSince(m_state.spinStart, now);
    } while (elapsed < spinSeconds);
    return true;
}

bool PracticeEngine::displayText()
{
    Nesting nesting(m_nesting);
    if (nesting.tooDeep())
        return false;

    if (m_controls.echo().size() < 2)
        m_controls.setMinuteTimerOn(true);
    if (!unlightKeys())
        return false;
    if (m_state.keyCode > lastControlCode)
        m_controls.setEcho(m_controls.echo() + static_cast<char16_t>(m_state.keyCode));
    if (m_state.keyCode == enterCode && !enterKey())
        return false;

    if (m_state.keyCode == backspaceCode) {
        if (!backspaceKey())
            return false;
    } else if (!characterKey()) {
        return false;
    }
    // An Enter lit its keys already and is not scored.
    if (m_state.keyCode != enterCode) {
        if (!lightKey() || !scoreKey())
            return false;
    }

    if (m_state.caretPos >= lastPassagePosition() && !showRandomWords())
        return false;
    if (!checkedAdd(m_state.keystrokes, 1))
        return false;
    m_state.minuteCount += 1;
    showWordCounts();
    if (!showAccuracy())
        return false;
    warnIfInaccurate();
    return true;
}

bool PracticeEngine::unlightKeys()
{
    if (m_state.litKey <= 0 || m_state.litKeyText.empty())
        return true;
    return m_controls.setKeyColour(keyIndexFrom(m_state.litKeyText), buttonFace) &&
           m_controls.setKeyColour(enterUpperKey, buttonFace) &&
           m_controls.setKeyColour(enterCode, buttonFace);
}

bool PracticeEngine::enterKey()
{
    if (!m_state.litKeyText.empty() &&
        !m_controls.setKeyColour(keyIndexFrom(m_state.litKeyText), buttonFace))
        return false;
    if (!m_controls.setKeyColour(enterCode, litKeyColour) ||
        !m_controls.setKeyColour(enterUpperKey, litKeyColour))
        return false;
    m_controls.setEcho(m_controls.echo() + m_state.lineBreak);
    return checkedAdd(m_state.caretPos, 1);
}

bool PracticeEngine::backspaceKey()
{
    if (m_state.caretPos > 0)
        --m_state.caretPos;
    m_controls.focusPassage();
    m_controls.setPassageSelStart(m_state.caretPos);
    const Text echo = m_controls.echo();
    if (echo.size() > static_cast<std::size_t>(m_state.caretPos))
        m_controls.setEcho(echo.substr(0, static_cast<std::size_t>(m_state.caretPos)));
    m_state.litKey = backspaceCode;
    return checkedAdd(m_state.keystrokes, -1);
}

bool PracticeEngine::characterKey()
{
    m_controls.focusPassage();
    std::int16_t next = m_state.caretPos;
    if (!checkedAdd(next, 1))
        return false;
    m_controls.setPassageSelStart(next);
    m_controls.setPassageSelLength(1);
    m_state.caretPos = next;
    if (m_state.keyCode == enterCode)
        return true;
    m_state.lastChar = Text(1, lowerCase(static_cast<char16_t>(m_state.keyCode)));
    m_state.litKey = static_cast<std::int16_t>(m_state.lastChar.front());
    return true;
}

bool PracticeEngine::lightKey()
{
    if (!m_controls.setKeyColour(m_state.litKey, litKeyColour))
        return false;
    m_state.litKeyText = decimalText(m_state.litKey);
    return true;
}

bool PracticeEngine::scoreKey()
{
    // The character at one-based position caretPos; there is none at position 0.
    if (m_state.caretPos < 1)
        return false;
    const Text passage = m_controls.passageText();
    const auto at = static_cast<std::size_t>(m_state.caretPos) - 1;
    const Text typed = at < passage.size() ? Text(1, lowerCase(passage[at])) : Text();
    if (typed == m_state.lastChar)
        m_state.correctCount += 1;
    else
        m_state.wrongCount += 1;
    m_state.typedCount += 1;
    return true;
}

void PracticeEngine::showWordCounts()
{
    m_controls.setScoreCaption(ScoreDisplay::CorrectWords, wordsText(m_state.correctCount));
    m_controls.setScoreCaption(ScoreDisplay::IncorrectWords, wordsText(m_state.wrongCount));
    m_controls.setScoreCaption(ScoreDisplay::WordCount, wordsText(m_state.typedCount));
}

long long PracticeEngine::lastPassagePosition() const
{
    return static_cast<long long>(m_controls.passageText().size()) - 1;
}

bool PracticeEngine::showAccuracy()
{
    if (m_state.typedCount == 0)
        return false;
    // The quotient first, then the percentage, in double precision: 29 of 100 gives 28.
    const double quotient =
        static_cast<double>(m_state.correctCount) / static_cast<double>(m_state.typedCount);
    m_state.accuracy = static_cast<std::int16_t>(std::floor(quotient * 100));
    m_controls.setScoreCaption(ScoreDisplay::Accuracy, decimalText(m_state.accuracy));
    return true;
}

void PracticeEngine::warnIfInaccurate()
{
    if (m_state.accuracy >= warningAccuracy || m_state.warned)
        return;
    m_controls.showMessageBox(warningPrompt, warningTitle, warningStyle);
    m_state.warned = true;
}

} // namespace riderar
