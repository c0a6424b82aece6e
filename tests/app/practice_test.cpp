#include "practiceengine.h"

#include "formfixture.h"

#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

namespace riderar::testing {
namespace {

// Closes the warning box as soon as it is open, and keeps what it showed.
struct WarningCloser
{
    QString title;
    QString text;
    int shown = 0;
    bool hadIcon = true;
    int buttons = 0;

    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) {
                arm();
                return;
            }
            ++shown;
            title = box->windowTitle();
            text = box->text();
            hadIcon = box->icon() != QMessageBox::NoIcon;
            buttons = static_cast<int>(box->buttons().size());
            EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
            QTest::keyClick(box, Qt::Key_Return);
        });
    }
};

class PracticeTest : public FormTest
{
protected:
    void start()
    {
        QTest::keyClick(passageBox(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(form->state().started);
        ASSERT_EQ(QApplication::focusWidget(), passageBox());
    }

    void typeText(const QString &text)
    {
        for (const QChar c : text) {
            const Qt::Key key = c == u'\r' ? Qt::Key_Return : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, passageBox(), key, QString(c), Qt::NoModifier);
        }
    }

    QString passage() const { return QString::fromStdU16String(form->passageText()); }
    QString caption(const char *name) const
    {
        return control<QLabel>(QString::fromLatin1(name))->text();
    }
};

TEST_F(PracticeTest, AltSStartsAndTypingALineWithEnterEchoesHighlightsAndLights)
{
    start();
    const QString text = passage();
    const qsizetype lineEnd = text.indexOf(QStringLiteral("\r\n"));
    ASSERT_GT(lineEnd, 20);
    const QString firstLine = text.left(lineEnd);

    typeText(firstLine + u'\r');

    EXPECT_EQ(form->echo(), (firstLine + QStringLiteral("\r\n")).toStdU16String());
    EXPECT_EQ(control<QLabel>(QStringLiteral("TypeDataIN"))->text(), firstLine + u'\n');
    // The highlight stands on the first character of the second line.
    EXPECT_EQ(passageBox()->textCursor().selectedText(), text.mid(lineEnd + 2, 1));
    EXPECT_EQ(passageBox()->selStart(), lineEnd + 2);
    // Every character with a key button was scored, and scored right.
    const qsizetype scored = std::count_if(firstLine.begin(), firstLine.end(), [](QChar c) {
        return !QStringLiteral("():?").contains(c);
    });
    EXPECT_EQ(form->state().correctCount, static_cast<float>(scored));
    const auto words = QString::number(scored / 5);
    EXPECT_EQ(caption("ShowCorrectWords"), words);
    EXPECT_EQ(caption("ShowWordCount"), words);
    EXPECT_EQ(caption("ShowIncorrectWords"), QStringLiteral("0"));
    EXPECT_EQ(caption("ShowAccuracy"), QStringLiteral("100"));

    // The Enter key alone is lit, in exactly the lit colour; every other key is at rest.
    const QImage image = grab();
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (auto *button :
         form->findChildren<FlatButton *>(QRegularExpression(QStringLiteral("^Keys?\\(")))) {
        const bool enter = button == key(13) || button == key(14);
        const QPoint inside = windowRect(button).topLeft() + QPoint(3, 3);
        EXPECT_EQ(image.pixelColor(inside), enter ? QColor(225, 25, 25) : face)
            << button->objectName().toStdString();
    }
}

TEST_F(PracticeTest, AWrongKeystrokeRaisesTheWarningOnce)
{
    start();
    WarningCloser closer;
    closer.arm();
    typeText(QStringLiteral("#")); // no button: nothing is scored
    EXPECT_EQ(closer.shown, 0);
    const QChar wrong = passage().at(1) == u'q' ? u'z' : u'q';
    typeText(QString(wrong));
    EXPECT_EQ(closer.shown, 1);
    EXPECT_EQ(closer.title, QStringLiteral("指法练习打字软件 Ver 1.0"));
    EXPECT_EQ(
        closer.text,
        QStringLiteral("提示：请正确输入上面所看到的练习内容，  \n包括所有空格键以及回车换行等。"));
    EXPECT_FALSE(closer.hadIcon);
    EXPECT_EQ(closer.buttons, 1);
    EXPECT_TRUE(form->state().warned);
    closer.arm();
    typeText(QStringLiteral("qqq"));
    QTest::qWait(20);
    EXPECT_EQ(closer.shown, 1);
    EXPECT_EQ(caption("ShowAccuracy"), QStringLiteral("0"));
}

TEST_F(PracticeTest, AClickOnAnOnScreenKeyTypesIt)
{
    start();
    const QChar first = passage().at(0).toLower();
    QTest::mouseClick(key(first.unicode()), Qt::LeftButton);
    EXPECT_EQ(form->echo(), QString(first).toStdU16String());
    EXPECT_EQ(form->state().correctCount, 1);
    EXPECT_EQ(grab().pixelColor(windowRect(key(first.unicode())).topLeft() + QPoint(3, 3)),
              QColor(225, 25, 25));
    // The passage box has the focus again, so typing goes on there.
    EXPECT_EQ(QApplication::focusWidget(), passageBox());
}

TEST_F(PracticeTest, TheMinuteTimerRunsAfterTheFirstKeystrokeAndTheResetClearsTheScores)
{
    auto *timer = form->findChild<QTimer *>(QStringLiteral("CalcWordsPerMin"));
    start();
    EXPECT_FALSE(timer->isActive());
    typeText(passage().left(6));
    EXPECT_TRUE(timer->isActive());
    QTest::keyClick(passageBox(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(caption("ShowWordCount"), QStringLiteral("0"));
    EXPECT_EQ(form->state().typedCount, 0);
    EXPECT_TRUE(timer->isActive());
    QMetaObject::invokeMethod(timer, "timeout"); // a tick, without waiting a minute
    EXPECT_EQ(caption("ShowWordsPerMin"), QStringLiteral("0"));
}

TEST_F(PracticeTest, TheExitButtonDuringAPassageChoiceEndsTheProgramCleanly)
{
    start();
    auto *exit = control<QPushButton>(QStringLiteral("ExitProgram"));
    // The click arrives while the start button's spin processes events.
    QTimer::singleShot(0, exit, [this] {
        QTimer::singleShot(20, control<QPushButton>(QStringLiteral("ExitProgram")),
                           &QPushButton::click);
        QTest::mouseClick(control<QPushButton>(QStringLiteral("PickRandomWords")), Qt::LeftButton);
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    const Text before = form->passageText();
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->passageText(), before); // the interrupted choice showed nothing
}

} // namespace
} // namespace riderar::testing
