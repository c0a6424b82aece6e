#include "formfixture.h"

#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace riderar::testing {
namespace {

TEST_F(FormTest, OpensWithLevelOneThePassageBoxFocusedAndEverythingAtRest)
{
    EXPECT_TRUE(control<QRadioButton>(QStringLiteral("Level(1)"))->isChecked());
    EXPECT_FALSE(control<QRadioButton>(QStringLiteral("Level(0)"))->isChecked());
    EXPECT_FALSE(control<QRadioButton>(QStringLiteral("Level(2)"))->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), passageBox());
    EXPECT_TRUE(form->passageText().empty());
    EXPECT_TRUE(passageBox()->toPlainText().isEmpty());
    EXPECT_TRUE(form->echo().empty());
    for (const char *name : {"ShowWordsPerMin", "ShowCorrectWords", "ShowIncorrectWords",
                             "ShowWordCount", "ShowAccuracy"})
        EXPECT_EQ(control<QLabel>(QString::fromLatin1(name))->text(), QStringLiteral("0")) << name;
    for (auto *button : form->findChildren<FlatButton *>()) {
        if (button->objectName().startsWith(QStringLiteral("Key"))) {
            EXPECT_EQ(button->fillColour(), QApplication::palette().color(QPalette::Button));
        }
    }
    auto *timer = form->findChild<QTimer *>(QStringLiteral("CalcWordsPerMin"));
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    const PracticeState &state = form->state();
    EXPECT_EQ(state.level, 1);
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.lineBreak, u"\r\n");
    EXPECT_EQ(state.passages[2][5].size(), 331u);
}

TEST_F(FormTest, TheActivationStepRunsOnlyOnce)
{
    QTest::mouseClick(control(QStringLiteral("Level(2)")), Qt::LeftButton);
    ASSERT_EQ(form->state().level, 2);
    QWidget *picture = control(QStringLiteral("Picture1"));
    picture->setFocus();
    // The user leaves for another application and comes back.
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    EXPECT_EQ(form->state().level, 2);
    EXPECT_EQ(form->focusWidget(), picture);
}

TEST_F(FormTest, SwitchingOnARunningTimerKeepsItsPeriod)
{
    auto *timer = form->findChild<QTimer *>(QStringLiteral("CalcWordsPerMin"));
    form->setMinuteTimerOn(true);
    ASSERT_TRUE(timer->isActive());
    QTest::qWait(50);
    const int before = timer->remainingTime();
    form->setMinuteTimerOn(true);
    EXPECT_LE(timer->remainingTime(), before);
    form->setMinuteTimerOn(false);
    EXPECT_FALSE(timer->isActive());
}

// Runs the event loop until the window closes it, and gives the loop's exit status.
int runUntilClosed(const std::function<void()> &close)
{
    QTimer::singleShot(0, close);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); }); // the window failed to close
    return QApplication::exec();
}

TEST_F(FormTest, TheExitButtonEndsTheProgramWithStatusZero)
{
    auto *exit = control<QPushButton>(QStringLiteral("ExitProgram"));
    EXPECT_EQ(runUntilClosed([exit] { QTest::mouseClick(exit, Qt::LeftButton); }), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FormTest, AltEEndsTheProgramFromThePassageBox)
{
    PassageBox *box = passageBox();
    EXPECT_EQ(runUntilClosed([box] { QTest::keyClick(box, Qt::Key_E, Qt::AltModifier); }), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FormTest, TheCloseBoxEndsTheProgramWithStatusZero)
{
    PracticeForm *window = form.get();
    EXPECT_EQ(runUntilClosed([window] { window->close(); }), 0);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
} // namespace riderar::testing
