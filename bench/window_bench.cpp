// The window's cost per keystroke, offscreen: the key event handed to the passage box until
// every control is updated, with and without painting what changed; and the passage choice's
// spin, one pass and the passes of a whole 0.08 s spin.

#include "passagebox.h"
#include "practiceform.h"

#include "headless.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace riderar {
namespace {

/// The window shown, active and started, as the user finds it after pressing the start button.
class StartedForm
{
public:
    StartedForm()
    {
        m_form->show();
        m_form->activateWindow();
        (void)QTest::qWaitForWindowActive(m_form.get());
        QTest::keyClick(m_form.get(), Qt::Key_S, Qt::AltModifier);
        QTest::qWait(200); // the start button's click and the passage choice
        m_box = m_form->findChild<PassageBox *>(QStringLiteral("Text1"));
    }

    /// The passage's next character, typed right, so no warning interrupts; then taken back
    /// with Backspace, so the passage never ends.
    void typeNextAndTakeBack()
    {
        const Text passage = m_form->passageText();
        const auto at = static_cast<std::size_t>(m_form->state().caretPos);
        const char16_t next = at < passage.size() && passage[at] != u'\r' ? passage[at] : u' ';
        press(Qt::Key_A, QString(QChar(next)));
        press(Qt::Key_Backspace, QStringLiteral("\b"));
    }

    /// Paints what the keystrokes changed, as the event loop would next.
    void paint() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

    PracticeForm &form() { return *m_form; }

private:
    void press(int key, const QString &text)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(m_box, &event);
    }

    std::unique_ptr<PracticeForm> m_form = std::make_unique<PracticeForm>();
    PassageBox *m_box = nullptr;
};

void perKeystroke(benchmark::State &run)
{
    run.counters["per_keystroke"] =
        benchmark::Counter(2.0 * static_cast<double>(run.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_WindowKeystroke(benchmark::State &run)
{
    StartedForm practice;
    for (auto _ : run)
        practice.typeNextAndTakeBack();
    perKeystroke(run);
    practice.paint();
}

void BM_WindowKeystrokePainted(benchmark::State &run)
{
    StartedForm practice;
    practice.paint();
    for (auto _ : run) {
        practice.typeNextAndTakeBack();
        practice.paint();
    }
    perKeystroke(run);
}

void BM_SpinPass(benchmark::State &run)
{
    StartedForm practice;
    for (auto _ : run) {
        practice.form().processPendingEvents();
        benchmark::DoNotOptimize(practice.form().secondsSinceMidnight());
    }
}

void BM_PassesOfOneSpin(benchmark::State &run)
{
    StartedForm practice;
    PracticeForm &form = practice.form();
    long long passes = 0;
    for (auto _ : run) {
        const float start = form.secondsSinceMidnight();
        float now = start;
        do {
            form.processPendingEvents();
            now = form.secondsSinceMidnight();
            ++passes;
        } while (now - start < 0.08f && now >= start);
    }
    run.counters["passes"] =
        benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_WindowKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowKeystrokePainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpinPass)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PassesOfOneSpin)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace riderar

int main(int argc, char **argv)
{
    const riderar::testing::HeadlessSession headless;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
