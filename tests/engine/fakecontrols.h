#pragma once

#include "practicecontrols.h"

#include "keyindexes.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace riderar::testing {

/// A scripted stand-in for the practice window. It keeps what the engine sets and records the
/// operations in order. Its clock and its event processing are the test's: the clock gives
/// the queued readings first, then steps on by clockStep at every reading; every call of
/// processPendingEvents runs onProcessEvents with the number of the call, so a test can run
/// nested handlers at a chosen pass of a spin.
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
    std::vector<std::string> calls;

    float clock = 1000;
    float clockStep = 0.125f; // one pass for each spin unless a test says otherwise
    std::deque<float> clockReadings;
    int eventPasses = 0;
    std::function<void(int pass)> onProcessEvents;

    struct MessageBox
    {
        Text prompt;
        Text title;
        int style;
    };
    std::vector<MessageBox> messageBoxes;
    std::function<void()> onMessageBox; // runs while the box is open

    FakeControls()
    {
        for (const int index : workingKeyIndexes())
            keyColours[index] = buttonFace;
    }

    /// The Keys indexes shown in the lit colour.
    std::set<int> litKeys() const
    {
        std::set<int> lit;
        for (const auto &[index, colour] : keyColours) {
            if (colour == KeyColour(litKeyColour))
                lit.insert(index);
        }
        return lit;
    }

    Text caption(ScoreDisplay display) const { return captions[static_cast<std::size_t>(display)]; }

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
        selStart = std::clamp<int>(p, 0, static_cast<int>(passage.size()));
        selLength = 0;
    }
    void setPassageSelLength(std::int16_t n) override
    {
        calls.push_back("setSelLength");
        selLength = std::clamp<int>(n, 0, static_cast<int>(passage.size()) - selStart);
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
    float secondsSinceMidnight() override
    {
        if (!clockReadings.empty()) {
            clock = clockReadings.front();
            clockReadings.pop_front();
            return clock;
        }
        const float now = clock;
        clock += clockStep;
        return now;
    }
    void processPendingEvents() override
    {
        calls.push_back("processPendingEvents");
        ++eventPasses;
        if (onProcessEvents)
            onProcessEvents(eventPasses);
    }
    void showMessageBox(const Text &prompt, const Text &title, int style) override
    {
        calls.push_back("showMessageBox");
        messageBoxes.push_back({prompt, title, style});
        if (onMessageBox)
            onMessageBox();
    }
};

} // namespace riderar::testing
