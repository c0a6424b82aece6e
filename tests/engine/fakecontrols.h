#pragma once

#include "practicecontrols.h"

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace riderar::testing {

/// A scripted stand-in for the practice window: it keeps what the engine sets, and records
/// the order of the operations as short strings.
class FakeControls : public PracticeControls
{
public:
    Text echoText;
    Text passage;
    int selStart = 0;
    int selLength = 0;
    bool passageFocused = false;
    bool timerOn = false;
    std::array<Text, 5> captions{u"0", u"0", u"0", u"0", u"0"};
    std::map<int, KeyColour> keyColours; // every Keys index, button face at the start
    float clock = 0;
    std::vector<std::string> calls;

    FakeControls()
    {
        for (const int index : keyIndexes())
            keyColours[index] = buttonFace;
    }

    /// The indexes that have a Keys button on the window.
    static std::set<int> keyIndexes()
    {
        std::set<int> indexes{0, 8, 13, 14, 32, 39, 59, 61, 91, 92, 93, 126};
        for (int i = 44; i <= 57; ++i)
            indexes.insert(i);
        for (int i = 97; i <= 122; ++i)
            indexes.insert(i);
        return indexes;
    }

    Text echo() const override { return echoText; }
    void setEcho(const Text &caption) override
    {
        calls.push_back("setEcho");
        echoText = caption;
    }
    Text passageText() const override { return passage; }
    void setPassageText(const Text &text) override
    {
        calls.push_back("setPassageText");
        passage = text;
        selStart = 0;
        selLength = 0;
    }
    void focusPassage() override
    {
        calls.push_back("focusPassage");
        passageFocused = true;
    }
    void setPassageSelStart(std::int16_t p) override
    {
        calls.push_back("setSelStart");
        selStart = std::min<int>(p, static_cast<int>(passage.size()));
        selLength = 0;
    }
    void setPassageSelLength(std::int16_t n) override
    {
        calls.push_back("setSelLength");
        selLength = std::min<int>(n, static_cast<int>(passage.size()) - selStart);
    }
    void setMinuteTimerOn(bool on) override
    {
        calls.push_back(on ? "timerOn" : "timerOff");
        timerOn = on;
    }
    void setScoreCaption(ScoreDisplay display, const Text &caption) override
    {
        calls.push_back("setScoreCaption");
        captions[static_cast<std::size_t>(display)] = caption;
    }
    bool setKeyColour(std::int16_t index, KeyColour colour) override
    {
        calls.push_back("setKeyColour");
        const auto key = keyColours.find(index);
        if (key == keyColours.end())
            return false;
        key->second = colour;
        return true;
    }
    float secondsSinceMidnight() override { return clock; }
    void processPendingEvents() override { calls.push_back("processPendingEvents"); }
    void showMessageBox(const Text &, const Text &, int) override
    {
        calls.push_back("showMessageBox");
    }
};

} // namespace riderar::testing
