#include "passages.h"
#include "practiceengine.h"

#include "formfixture.h"
#include "keyindexes.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <string>

namespace riderar::testing {
namespace {

constexpr QRgb litRgb = qRgb(225, 25, 25);

// Closes every warning box as soon as it is up, so that nothing waits for a user, and gives
// the window its activation back, as a window manager does and the offscreen platform does
// not: access keys work only in the active window. The timer belongs to the window and dies
// with it; the count outlives both.
class WarningBoxCloser
{
public:
    explicit WarningBoxCloser(QWidget *window)
        : m_timer(new QTimer(window)), m_closed(std::make_shared<int>(0))
    {
        QObject::connect(m_timer, &QTimer::timeout, window, [window, closed = m_closed] {
            for (QWidget *topLevel : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(topLevel);
                if (box && box->isVisible() && box->objectName() == QStringLiteral("WarningBox")) {
                    box->done(QMessageBox::Ok);
                    window->activateWindow();
                    ++*closed;
                }
            }
        });
        m_timer->start(3);
    }
    ~WarningBoxCloser() { delete m_timer.data(); }
    WarningBoxCloser(const WarningBoxCloser &) = delete;
    WarningBoxCloser &operator=(const WarningBoxCloser &) = delete;

    int closed() const { return *m_closed; }

private:
    QPointer<QTimer> m_timer;
    std::shared_ptr<int> m_closed;
};

// Watches the passage box: how deep the engine's handlers are nested when a key press reaches
// it. A press that arrives inside a passage choice's spin sees the handlers it interrupts.
class NestingProbe : public QObject
{
public:
    explicit NestingProbe(const PracticeEngine &engine) : m_engine(engine) {}

    int deepest() const { return m_deepest; }
    int presses() const { return m_presses; }
    void reset() { m_deepest = m_presses = 0; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            ++m_presses;
            m_deepest = std::max(m_deepest, m_engine.nesting());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const PracticeEngine &m_engine;
    int m_deepest = 0;
    int m_presses = 0;
};

struct KeyStroke
{
    int key;
    QString text;
    Qt::KeyboardModifiers modifiers;
};

// The event queue owns a posted event; it deletes it once delivered.
void postKey(QWidget *receiver, QEvent::Type type, const KeyStroke &stroke, bool autoRepeat)
{
    auto event =
        std::make_unique<QKeyEvent>(type, stroke.key, stroke.modifiers, stroke.text, autoRepeat);
    QCoreApplication::postEvent(receiver, event.release());
}

KeyStroke printable(char c)
{
    const bool upper = c >= 'A' && c <= 'Z';
    const int key = (c >= 'a' && c <= 'z') ? c - 'a' + Qt::Key_A : c;
    return {key, QString(QChar(c)), upper ? Qt::ShiftModifier : Qt::NoModifier};
}

// A keystroke as a user with a cat on the keyboard makes it, Alt combinations aside: Alt+E
// would end the program, and the storm asks for Alt+S and Alt+R on its own.
KeyStroke randomKeyStroke(std::mt19937 &random)
{
    constexpr std::array<char16_t, 6> foreign{u'é', u'中', u'가', u'ß', u'Ü', u'\u212A'};
    constexpr std::array<int, 6> silent{Qt::Key_Left, Qt::Key_Down,  Qt::Key_F1,
                                        Qt::Key_Home, Qt::Key_Shift, Qt::Key_Delete};
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    switch (pick(0, 11)) {
    case 0:
        return {Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier};
    case 1:
        return {Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier};
    case 2:
        return pick(0, 1) ? KeyStroke{Qt::Key_Escape, QStringLiteral("\x1b"), Qt::NoModifier}
                          : KeyStroke{Qt::Key_Tab, QStringLiteral("\t"), Qt::NoModifier};
    case 3: {
        // Ctrl+@ to Ctrl+_, with the control character as text or, as some platforms give
        // it, none.
        const int key = pick(Qt::Key_At, Qt::Key_Underscore);
        return {key, pick(0, 1) ? QString(QChar(key - Qt::Key_At)) : QString(),
                Qt::ControlModifier};
    }
    case 4:
        return {Qt::Key_unknown, QString(QChar(foreign[static_cast<std::size_t>(pick(0, 5))])),
                Qt::NoModifier};
    case 5:
        return {Qt::Key_unknown, QString::fromUcs4(U"\U0001F600", 1), Qt::NoModifier};
    case 6:
        return {silent[static_cast<std::size_t>(pick(0, 5))], QString(), Qt::NoModifier};
    case 7:
        return printable(static_cast<char>(pick('A', 'Z')));
    default:
        return printable(static_cast<char>(pick(' ', '~')));
    }
}

// The built-in passages as the window shows them, their lines joined by CR LF.
std::set<Text> builtInTexts()
{
    std::set<Text> texts;
    for (const PassageLines &passage : builtInPassages) {
        Text joined;
        for (std::size_t i = 0; i < passage.lines.size(); ++i)
            joined += (i ? u"\r\n" : u"") + textFromAscii(passage.lines[i]);
        texts.insert(joined);
    }
    return texts;
}

QString wordsOf(float keystrokes)
{
    return QString::number(static_cast<long long>(std::floor(keystrokes / 5)));
}

bool isWhole(float count)
{
    return count >= 0 && std::floor(count) == count;
}

class AbuseTest : public FormTest
{
protected:
    void start()
    {
        // The access key clicks the button a moment later, as a button animates its click.
        QTest::keyClick(passageBox(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(form->state().started);
    }

    // Lets every queued event through, and those that they queue in turn.
    static void drain()
    {
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }

    QWidget *exitButton() const { return control(QStringLiteral("ExitProgram")); }

    // Where the keyboard goes now; never the exit button, where a Space would end the program.
    QWidget *keyboardTarget() const
    {
        QWidget *focus = QApplication::focusWidget();
        return focus && focus != exitButton() && focus->window() == form.get() ? focus
                                                                               : passageBox();
    }

    void clickAnywhereButExit(std::mt19937 &random)
    {
        const QPoint at(std::uniform_int_distribution<int>(0, form->width() - 1)(random),
                        std::uniform_int_distribution<int>(0, form->height() - 1)(random));
        if (windowRect(exitButton()).contains(at))
            return;
        QWidget *target = form->childAt(at);
        if (!target)
            target = form.get();
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(form.get(), at));
    }

    void stormStep(std::mt19937 &random)
    {
        const int roll = std::uniform_int_distribution<int>(0, 399)(random);
        if (roll == 0) {
            QTest::keyClick(keyboardTarget(), Qt::Key_S, Qt::AltModifier);
        } else if (roll == 1) {
            QTest::mouseClick(control(QStringLiteral("PickRandomWords")), Qt::LeftButton);
        } else if (roll < 10) {
            QTest::keyClick(keyboardTarget(), Qt::Key_R, Qt::AltModifier);
        } else if (roll < 30) {
            QTest::keyClick(keyboardTarget(), Qt::Key_Tab);
        } else if (roll < 80) {
            clickAnywhereButExit(random);
        } else if (roll < 160) {
            // A burst that waits in the queue for the next spin, or for the next turn below.
            const int count = std::uniform_int_distribution<int>(1, 4)(random);
            for (int i = 0; i < count; ++i) {
                const KeyStroke stroke = randomKeyStroke(random);
                postKey(passageBox(), QEvent::KeyPress, stroke, false);
                postKey(passageBox(), QEvent::KeyRelease, stroke, false);
            }
        } else if (roll < 168) {
            QCoreApplication::processEvents();
        } else {
            const KeyStroke stroke = randomKeyStroke(random);
            QTest::sendKeyEvent(QTest::Click, keyboardTarget(), Qt::Key(stroke.key), stroke.text,
                                stroke.modifiers);
        }
    }

    // The word counts the score labels show, the state's own rules, the passage and the keys.
    void expectConsistent() const
    {
        const PracticeState &state = form->state();
        EXPECT_EQ(state.correctCount + state.wrongCount, state.typedCount);
        for (const float count :
             {state.correctCount, state.wrongCount, state.typedCount, state.minuteCount})
            EXPECT_TRUE(isWhole(count)) << count;
        EXPECT_GE(state.spinCounter, 0);
        EXPECT_LE(state.spinCounter, 9);
        EXPECT_GE(state.historyPos, 0);
        EXPECT_LE(state.historyPos, 7);
        EXPECT_GE(state.caretPos, 0);
        EXPECT_GE(state.level, 0);
        EXPECT_LE(state.level, 2);
        EXPECT_GE(state.accuracy, 0);
        EXPECT_LE(state.accuracy, 100);
        EXPECT_EQ(form->engine().nesting(), 0);

        const std::set<int> working = workingKeyIndexes();
        int litIndex = -1;
        if (!state.litKeyText.empty()) {
            const QString digits = QString::fromStdU16String(state.litKeyText);
            bool decimal = false;
            litIndex = digits.toInt(&decimal);
            EXPECT_TRUE(decimal && QString::number(litIndex) == digits) << digits.toStdString();
            EXPECT_EQ(working.count(litIndex), 1u) << digits.toStdString();
        }

        EXPECT_EQ(control<QLabel>(QStringLiteral("ShowCorrectWords"))->text(),
                  wordsOf(state.correctCount));
        EXPECT_EQ(control<QLabel>(QStringLiteral("ShowIncorrectWords"))->text(),
                  wordsOf(state.wrongCount));
        EXPECT_EQ(control<QLabel>(QStringLiteral("ShowWordCount"))->text(),
                  wordsOf(state.typedCount));

        const Text shown = form->passageText();
        EXPECT_EQ(builtInTexts().count(shown), 1u)
            << QString::fromStdU16String(shown).toStdString();
        EXPECT_EQ(passageBox()->toPlainText(),
                  QString::fromStdU16String(shown).replace(QStringLiteral("\r\n"), "\n"));

        const QImage image = grab();
        for (auto *button :
             form->findChildren<FlatButton *>(QRegularExpression(QStringLiteral("^Keys?\\(")))) {
            const QString name = button->objectName();
            const bool mayBeLit = name == QStringLiteral("Keys(0)") ||
                                  name == QStringLiteral("Keys(13)") ||
                                  name == QStringLiteral("Keys(14)") ||
                                  name == QStringLiteral("Keys(%1)").arg(litIndex);
            if (!mayBeLit) {
                EXPECT_NE(image.pixel(windowRect(button).topLeft() + QPoint(3, 3)), litRgb)
                    << name.toStdString();
            }
        }
        EXPECT_FALSE(QApplication::activeModalWidget());
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->engine().isWindowClosed());
    }

    // A fresh passage takes its first character: the highlight moves on and the echo shows it.
    void expectResponsive()
    {
        QTest::mouseClick(control(QStringLiteral("PickRandomWords")), Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), passageBox());
        const QString shown = QString::fromStdU16String(form->passageText());
        ASSERT_GT(shown.size(), 2);
        ASSERT_EQ(form->state().caretPos, 0);
        ASSERT_TRUE(form->echo().empty());
        const QChar first = shown.at(0);
        QTest::sendKeyEvent(QTest::Click, passageBox(), Qt::Key_unknown, QString(first),
                            Qt::NoModifier);
        EXPECT_EQ(form->state().caretPos, 1);
        EXPECT_EQ(passageBox()->selStart(), 1);
        EXPECT_EQ(passageBox()->textCursor().selectedText(), shown.mid(1, 1));
        EXPECT_EQ(form->echo(), Text(1, first.unicode()));
        EXPECT_EQ(control<QLabel>(QStringLiteral("TypeDataIN"))->text(), QString(first));
        expectConsistent();
    }
};

TEST_F(AbuseTest, ARandomStormOfKeysAndClicksLeavesTheWindowConsistentAndResponsive)
{
    constexpr std::mt19937::result_type seed = 20240611;
    SCOPED_TRACE("storm seed " + std::to_string(seed));
    std::mt19937 random(seed);
    WarningBoxCloser closer(form.get());
    NestingProbe probe(form->engine());
    passageBox()->installEventFilter(&probe);

    start();
    for (int step = 0; step < 2000 && !HasFatalFailure(); ++step)
        stormStep(random);
    drain();

    // The storm is only a storm if it reached the warning and got keys in during a spin.
    EXPECT_GT(closer.closed(), 0);
    EXPECT_GT(probe.deepest(), 1);
    EXPECT_LE(probe.deepest(), PracticeEngine::maxNesting);
    expectConsistent();
    expectResponsive();
}

TEST_F(AbuseTest, AKeyHeldDownAcrossThePassageEndNestsNoDeeperThanTheLimit)
{
    WarningBoxCloser closer(form.get());
    NestingProbe probe(form->engine());
    passageBox()->installEventFilter(&probe);
    start();

    // Type the passage correctly until two keystrokes take it to its end.
    const QString text = QString::fromStdU16String(form->passageText());
    while (form->state().caretPos < text.size() - 3) {
        const QChar next = text.at(form->state().caretPos);
        const Qt::Key key = next == u'\r' ? Qt::Key_Return : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, passageBox(), key, QString(next), Qt::NoModifier);
    }
    ASSERT_EQ(form->echo().size(), static_cast<std::size_t>(text.size() - 3));

    // Held down, X11 repeats a key as release and press pairs, both marked as repeats.
    constexpr int repeats = 3000;
    const KeyStroke held = printable('k');
    probe.reset();
    postKey(passageBox(), QEvent::KeyPress, held, false);
    for (int i = 0; i < repeats; ++i) {
        postKey(passageBox(), QEvent::KeyRelease, held, true);
        postKey(passageBox(), QEvent::KeyPress, held, true);
    }
    postKey(passageBox(), QEvent::KeyRelease, held, false);
    drain();

    EXPECT_EQ(probe.presses(), repeats + 1);
    EXPECT_GT(probe.deepest(), 1);
    EXPECT_LE(probe.deepest(), PracticeEngine::maxNesting);
    // The run crossed the end: a new passage began, the caret back near its start.
    EXPECT_LT(form->state().caretPos, text.size() - 3);
    expectConsistent();
    expectResponsive();
}

} // namespace
} // namespace riderar::testing
