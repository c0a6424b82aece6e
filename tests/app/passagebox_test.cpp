#include "formfixture.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <ostream>
#include <vector>

#include "casename.h"

namespace riderar::testing {
namespace {

const Text shortPassage = u"ab\r\ncd\r\nef"; // ten characters, two line breaks

struct KeyCase
{
    const char *what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text; // what the platform reports for the key
    std::vector<std::int16_t> codes;
};

std::ostream &operator<<(std::ostream &out, const KeyCase &c)
{
    return out << c.what;
}

const KeyCase keyCases[] = {
    {"letter", Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), {97}},
    {"capital", Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"), {65}},
    {"space", Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), {32}},
    {"colon", Qt::Key_Colon, Qt::ShiftModifier, QStringLiteral(":"), {58}},
    {"Enter", Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), {13}},
    {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), {13}},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"), {8}},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"), {27}},
    {"Ctrl+H", Qt::Key_H, Qt::ControlModifier, QStringLiteral("\b"), {8}},
    {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"), {1}},
    {"Ctrl+A without text", Qt::Key_A, Qt::ControlModifier, QString(), {1}},
    {"Ctrl+[ without text", Qt::Key_BracketLeft, Qt::ControlModifier, QString(), {27}},
    {"Latin-1 letter", Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"), {233}},
    {"Kelvin sign", Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x212A)), {0x212A}},
    {"beyond 16 bits", Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(U"\U0001F600", 1), {-3}},
    {"composed pair", Qt::Key_unknown, Qt::NoModifier, QStringLiteral("'a"), {39, 97}},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"), {}},
    {"arrow", Qt::Key_Left, Qt::NoModifier, QString(), {}},
    {"Shift+arrow", Qt::Key_Right, Qt::ShiftModifier, QString(), {}},
    {"function key", Qt::Key_F1, Qt::NoModifier, QString(), {}},
    {"Shift alone", Qt::Key_Shift, Qt::ShiftModifier, QString(), {}},
    {"Home", Qt::Key_Home, Qt::NoModifier, QString(), {}},
    {"Alt+Q", Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"), {}},
    {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, QStringLiteral("\t"), {}},
};

class PassageBoxKeys : public FormTest, public ::testing::WithParamInterface<KeyCase>
{};

TEST_P(PassageBoxKeys, RaisesTheCodesTheKeyTypesAndNeverChangesThePassage)
{
    const KeyCase &c = GetParam();
    form->setPassageText(shortPassage);
    passageBox()->setFocus();
    QSignalSpy typed(passageBox(), &PassageBox::keyPressed);

    QTest::sendKeyEvent(QTest::Click, passageBox(), c.key, c.text, c.modifiers);

    std::vector<std::int16_t> codes;
    for (const QList<QVariant> &arguments : typed)
        codes.push_back(arguments.at(0).value<std::int16_t>());
    EXPECT_EQ(codes, c.codes);
    EXPECT_EQ(form->passageText(), shortPassage);
    EXPECT_EQ(passageBox()->toPlainText(), QStringLiteral("ab\ncd\nef"));
}

INSTANTIATE_TEST_SUITE_P(Keys, PassageBoxKeys, ::testing::ValuesIn(keyCases), ByWhat());

TEST_F(FormTest, AccessKeysPressTheButtonsFromThePassageBoxAndTypeNothing)
{
    passageBox()->setFocus();
    QSignalSpy typed(passageBox(), &PassageBox::keyPressed);
    for (const auto &[key, name] :
         {std::pair{Qt::Key_S, "PickRandomWords"}, std::pair{Qt::Key_R, "ResetScore"}}) {
        QSignalSpy clicked(control<QPushButton>(QString::fromLatin1(name)), &QPushButton::clicked);
        QTest::keyClick(passageBox(), key, Qt::AltModifier);
        EXPECT_TRUE(clicked.count() == 1 || clicked.wait(1000)) << name;
    }
    EXPECT_EQ(typed.count(), 0);
}

TEST_F(FormTest, EnterAndEscapePressNoButton)
{
    passageBox()->setFocus();
    std::vector<std::unique_ptr<QSignalSpy>> clicks;
    for (auto *button : form->findChildren<QPushButton *>())
        clicks.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    QSignalSpy typed(passageBox(), &PassageBox::keyPressed);
    QTest::keyClick(passageBox(), Qt::Key_Return);
    QTest::keyClick(passageBox(), Qt::Key_Escape);
    QTest::qWait(200);
    EXPECT_EQ(typed.count(), 2);
    for (const auto &spy : clicks)
        EXPECT_EQ(spy->count(), 0);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(FormTest, PassagePositionsCountALineBreakAsTwoCharacters)
{
    form->setPassageText(shortPassage);
    PassageBox *box = passageBox();
    // Passage position -> document position: both characters of CR LF map onto one break.
    const std::pair<int, int> forward[] = {{0, 0}, {2, 2}, {3, 2},  {4, 3},  {6, 5},
                                           {7, 5}, {8, 6}, {10, 8}, {99, 8}, {-4, 0}};
    for (const auto &[passage, document] : forward)
        EXPECT_EQ(box->documentPosition(passage), document) << passage;
    const std::pair<int, int> backward[] = {{0, 0}, {2, 2}, {3, 4}, {5, 6}, {6, 8}, {8, 10}};
    for (const auto &[document, passage] : backward)
        EXPECT_EQ(box->passagePosition(document), passage) << document;
}

TEST_F(FormTest, SelectionOperationsWorkInPassagePositions)
{
    form->setPassageText(shortPassage);
    PassageBox *box = passageBox();
    struct Case
    {
        int start, length;
        QString selected;
        int selStart;
    };
    const QString lineEnd(QChar::ParagraphSeparator);
    const Case cases[] = {
        {1, 1, QStringLiteral("b"), 1},
        {4, 2, QStringLiteral("cd"), 4},
        {5, 3, QStringLiteral("d") + lineEnd, 5}, // d, CR and LF
        {3, 1, lineEnd, 3},                       // the LF alone
        {2, 2, lineEnd, 2},                       // CR and LF
        {8, 5, QStringLiteral("ef"), 8},          // cut to the end
        {99, 1, QString(), 10},                   // beyond the end: at the end
        {0, 0, QString(), 0},
    };
    for (const Case &c : cases) {
        form->setPassageSelStart(static_cast<std::int16_t>(c.start));
        EXPECT_FALSE(box->textCursor().hasSelection()) << c.start;
        form->setPassageSelLength(static_cast<std::int16_t>(c.length));
        EXPECT_EQ(box->textCursor().selectedText(), c.selected) << c.start << "+" << c.length;
        EXPECT_EQ(box->selStart(), c.selStart) << c.start;
    }
}

TEST_F(FormTest, ReplacingTheTextShowsItFromTheStartWithNothingSelected)
{
    form->setPassageText(shortPassage);
    form->setPassageSelStart(4);
    form->setPassageSelLength(2);
    const Text next = u"one\r\ntwo";
    form->setPassageText(next);
    EXPECT_EQ(form->passageText(), next);
    EXPECT_EQ(passageBox()->textCursor().position(), 0);
    EXPECT_FALSE(passageBox()->textCursor().hasSelection());
}

TEST_F(FormTest, TheSelectionShowsOnlyWhileThePassageBoxHasTheFocus)
{
    form->setPassageText(u"WWWWWWWW\r\nline two");
    form->focusPassage();
    form->setPassageSelStart(0);
    form->setPassageSelLength(8);
    const QColor highlight = passageBox()->palette().color(QPalette::Active, QPalette::Highlight);
    auto highlighted = [&] {
        const QImage image = passageBox()->grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == highlight;
        }
        return count;
    };
    EXPECT_GT(highlighted(), 50);
    control(QStringLiteral("Picture1"))->setFocus();
    EXPECT_EQ(highlighted(), 0);
    form->focusPassage();
    EXPECT_GT(highlighted(), 50);
}

TEST_F(FormTest, ArrowKeysAndClicksMoveTheCaretWithoutTyping)
{
    form->setPassageText(shortPassage);
    form->focusPassage();
    QSignalSpy typed(passageBox(), &PassageBox::keyPressed);
    QTest::keyClick(passageBox(), Qt::Key_Right);
    QTest::keyClick(passageBox(), Qt::Key_Right);
    EXPECT_EQ(passageBox()->selStart(), 2);
    QTest::mouseClick(passageBox()->viewport(), Qt::LeftButton, {}, QPoint(2, 3));
    EXPECT_EQ(passageBox()->selStart(), 0);
    EXPECT_EQ(typed.count(), 0);
    EXPECT_EQ(form->passageText(), shortPassage);
}

TEST_F(FormTest, EveryPassageShowsAsItsFourLinesInThePassageBox)
{
    for (int level = 0; level < 3; ++level) {
        for (int number = 0; number < 10; ++number) {
            form->setPassageText(form->state().passages[level][number]);
            QTextDocument *document = passageBox()->document();
            ASSERT_EQ(document->blockCount(), 4);
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
                EXPECT_EQ(block.layout()->lineCount(), 1)
                    << "level " << level << " passage " << number << " line "
                    << block.blockNumber() + 1;
            }
        }
    }
}

} // namespace
} // namespace riderar::testing
