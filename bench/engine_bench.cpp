// The engine's cost per keystroke, without any window: a lean stand-in for the controls that
// keeps only what the engine reads back.

#include "practicecontrols.h"
#include "practiceengine.h"
#include "practicestate.h"

#include "keyindexes.h"

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace riderar {
namespace {

class LeanControls final : public PracticeControls
{
public:
    Text echoText;
    Text passage;
    double clock = 1000;
    std::array<bool, 128> hasButton = [] {
        std::array<bool, 128> has{};
        for (const int index : testing::workingKeyIndexes())
            has[static_cast<std::size_t>(index)] = true;
        return has;
    }();

    Text echo() const override { return echoText; }
    void setEcho(const Text &caption) override { echoText = caption; }
    Text passageText() const override { return passage; }
    void setPassageText(const Text &text) override { passage = text; }
    void focusPassage() override {}
    void setPassageSelStart(std::int16_t p) override { benchmark::DoNotOptimize(p); }
    void setPassageSelLength(std::int16_t n) override { benchmark::DoNotOptimize(n); }
    void setMinuteTimerOn(bool on) override { benchmark::DoNotOptimize(on); }
    void setScoreCaption(ScoreDisplay, const Text &caption) override
    {
        benchmark::DoNotOptimize(caption.data());
    }
    bool setKeyColour(std::int16_t index, KeyColour colour) override
    {
        benchmark::DoNotOptimize(colour);
        return index >= 0 && index < static_cast<int>(hasButton.size()) &&
               hasButton[static_cast<std::size_t>(index)];
    }
    float secondsSinceMidnight() override
    {
        clock += 0.1; // every spin ends after one pass
        return static_cast<float>(clock);
    }
    void processPendingEvents() override {}
    void showMessageBox(const Text &, const Text &, int) override {}
};

/// An engine on a started practice, half way through its passage.
struct StartedEngine
{
    StartedEngine()
    {
        engine.load();
        engine.activate();
        engine.startClick();
    }

    /// Puts the passage back half way, so that no keystroke finishes it.
    void rewind()
    {
        state->caretPos = 40;
        state->keystrokes = 40;
        controls.echoText.resize(40);
    }

    // On the heap: the state is large, and clang 14 fails on a local one.
    std::unique_ptr<PracticeState> state = std::make_unique<PracticeState>();
    LeanControls controls;
    PracticeEngine engine{*state, controls};
};

void keystroke(benchmark::State &run, std::int16_t code)
{
    StartedEngine practice;
    for (auto _ : run) {
        practice.rewind();
        practice.engine.keyPress(code);
    }
    benchmark::DoNotOptimize(practice.state->typedCount);
}

void BM_EngineCharacter(benchmark::State &run)
{
    keystroke(run, 'e');
}
void BM_EngineEnter(benchmark::State &run)
{
    keystroke(run, 13);
}
void BM_EngineBackspace(benchmark::State &run)
{
    keystroke(run, 8);
}
void BM_EngineCodeWithoutButton(benchmark::State &run)
{
    keystroke(run, '!');
}

/// A keystroke that finishes the passage: the next one is chosen and shown.
void BM_EnginePassageEnd(benchmark::State &run)
{
    StartedEngine practice;
    for (auto _ : run) {
        practice.state->caretPos = static_cast<std::int16_t>(practice.controls.passage.size() - 2);
        practice.engine.keyPress('e');
    }
}

BENCHMARK(BM_EngineCharacter);
BENCHMARK(BM_EngineEnter);
BENCHMARK(BM_EngineBackspace);
BENCHMARK(BM_EngineCodeWithoutButton);
BENCHMARK(BM_EnginePassageEnd);

} // namespace
} // namespace riderar

BENCHMARK_MAIN();
