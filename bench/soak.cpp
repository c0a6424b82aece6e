// riderar-soak types a long session through the real practice window, offscreen, and reports
// resident memory and the time per keystroke early and late in the run: neither should creep up
// however long the user practises.
//
//     riderar-soak [keystrokes]     (default 1000000)

#include "passagebox.h"
#include "practiceform.h"

#include "headless.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

namespace {

using riderar::PassageBox;
using riderar::PracticeForm;
using Clock = std::chrono::steady_clock;

constexpr long long defaultKeystrokes = 1'000'000;
constexpr long long reportEvery = 100'000;
constexpr long long timedWindow = 10'000;

long long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:"))
            return std::stoll(line.substr(std::strlen("VmRSS:")));
    }
    return -1;
}

void reportMemory(const char *when, long long done)
{
    std::printf("%-6s after %9lld keystrokes: VmRSS %lld kB\n", when, done, residentKilobytes());
    std::fflush(stdout);
}

void sendKey(QWidget *receiver, int key, QChar text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(text));
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(text));
    QApplication::sendEvent(receiver, &release);
}

// A fairly good typist: the shown passage, Enter at each line end, and now and then a wrong
// letter taken back at once with Backspace, which keeps the accuracy far above the warning.
class Typist
{
public:
    explicit Typist(const PracticeForm &form) : m_form(form) {}

    void typeOne(QWidget *box)
    {
        if (m_mustErase) {
            m_mustErase = false;
            sendKey(box, Qt::Key_Backspace, u'\b');
            return;
        }
        const riderar::Text passage = m_form.passageText();
        const auto at = static_cast<std::size_t>(m_form.state().caretPos);
        const QChar expected = at < passage.size() ? QChar(passage[at]) : QChar(u' ');
        if (std::uniform_int_distribution<int>(0, 99)(m_random) < 2) {
            m_mustErase = true;
            sendKey(box, Qt::Key_unknown, expected == u'x' ? u'z' : u'x');
        } else if (expected == u'\r') {
            sendKey(box, Qt::Key_Return, u'\r');
        } else {
            sendKey(box, Qt::Key_unknown, expected);
        }
    }

private:
    const PracticeForm &m_form;
    std::mt19937 m_random{12345};
    bool m_mustErase = false;
};

// Closes a warning box should one appear, as a user would, and gives the window back its
// activation, which the offscreen platform does not.
int closeWarningBoxes(QWidget *form)
{
    int closed = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (box && box->isVisible() && box->objectName() == QStringLiteral("WarningBox")) {
            box->done(QMessageBox::Ok);
            form->activateWindow();
            ++closed;
        }
    }
    return closed;
}

bool showAndActivate(PracticeForm &form)
{
    form.show();
    form.activateWindow();
    const QDeadlineTimer deadline(5000);
    while (!form.isActiveWindow() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return form.isActiveWindow();
}

bool parseCount(int argc, char **argv, long long &count)
{
    count = defaultKeystrokes;
    if (argc < 2)
        return true;
    const char *end = argv[1] + std::strlen(argv[1]);
    const auto [ptr, error] = std::from_chars(argv[1], end, count);
    return error == std::errc() && ptr == end && count > 0;
}

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

struct SessionFigures
{
    long long window = 0; ///< keystrokes in each of the timed stretches
    Clock::duration first{};
    Clock::duration last{};
    long long passageChanges = 0;
    double seconds = 0;
};

SessionFigures typeSession(const PracticeForm &form, QWidget *box, long long count)
{
    Typist typist(form);
    SessionFigures figures;
    figures.window = std::min(timedWindow, count);
    const Clock::time_point began = Clock::now();
    for (long long i = 0; i < count; ++i) {
        const auto caretBefore = form.state().caretPos;
        const Clock::time_point keyStart = Clock::now();
        typist.typeOne(box);
        const Clock::duration taken = Clock::now() - keyStart;
        // Backspace moves the caret back by one; only a new passage takes it back further.
        if (form.state().caretPos < caretBefore - 1)
            ++figures.passageChanges;
        if (i < figures.window)
            figures.first += taken;
        if (i >= count - figures.window)
            figures.last += taken;
        if ((i + 1) % reportEvery == 0 && i + 1 < count)
            reportMemory("", i + 1);
    }
    figures.seconds = std::chrono::duration<double>(Clock::now() - began).count();
    return figures;
}

void printFigures(const SessionFigures &figures, const riderar::PracticeState &state,
                  long long count, int warnings)
{
    const auto window = static_cast<double>(figures.window);
    std::printf("keystrokes %lld in %.1f s; passage changes %lld; warning boxes %d\n", count,
                figures.seconds, figures.passageChanges, warnings);
    std::printf("mean per keystroke: first %lld %.1f us, last %lld %.1f us\n", figures.window,
                microseconds(figures.first) / window, figures.window,
                microseconds(figures.last) / window);
    std::printf("scored %.0f, correct %.0f, wrong %.0f, accuracy %d%%\n", state.typedCount,
                state.correctCount, state.wrongCount, state.accuracy);
}

int soak(long long count)
{
    int warnings = 0; // outlives the window and so the timer that counts them
    PracticeForm form;
    if (!showAndActivate(form))
        std::fprintf(stderr, "riderar-soak: the window did not become active\n");
    auto *closer = new QTimer(&form);
    QObject::connect(closer, &QTimer::timeout, &form,
                     [&form, &warnings] { warnings += closeWarningBoxes(&form); });
    closer->start(50);

    form.findChild<QPushButton *>(QStringLiteral("PickRandomWords"))->click();
    reportMemory("start", 0);
    const SessionFigures figures =
        typeSession(form, form.findChild<PassageBox *>(QStringLiteral("Text1")), count);
    reportMemory("end", count);
    printFigures(figures, form.state(), count, warnings);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    long long count = 0;
    if (!parseCount(argc, argv, count)) {
        std::fprintf(stderr, "usage: %s [keystrokes]\n", argv[0]);
        return 2;
    }
    const riderar::testing::HeadlessSession headless;

    QApplication app(argc, argv);
    return soak(count);
}
