#include "formlayout.h"
#include "keyboardlayout.h"
#include "panelframe.h"
#include "twips.h"

#include "formfixture.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <vector>

namespace riderar::testing {
namespace {

QString qName(std::string_view name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString keyName(const KeySpec &row)
{
    return QStringLiteral("%1(%2)")
        .arg(row.array == KeyArray::Keys ? QStringLiteral("Keys") : QStringLiteral("Key"))
        .arg(row.index);
}

QRect pixels(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QColor buttonFacePixel()
{
    return QApplication::palette().color(QPalette::Button);
}

TEST(Twips, ConvertToTheNearestPixel)
{
    const std::pair<int, int> cases[] = {{0, 0},       {7, 0},      {8, 1},    {15, 1},
                                         {40, 3},      {60, 4},     {450, 30}, {7420, 495},
                                         {10680, 712}, {5595, 373}, {-15, -1}, {-8, -1}};
    for (const auto &[twips, pixels] : cases)
        EXPECT_EQ(twipsToPixels(twips), pixels) << twips << " twips";
}

TEST(LayoutTables, TabIndexesRunFromZeroToOneHundredWithoutAGap)
{
    std::vector<int> tabs;
    for (const FrameSpec &row : frameSpecs)
        tabs.push_back(row.tab);
    for (const ControlSpec &row : controlSpecs) {
        if (row.kind != ControlKind::Timer)
            tabs.push_back(row.tab);
    }
    for (const KeySpec &row : keySpecs)
        tabs.push_back(row.tab);
    std::sort(tabs.begin(), tabs.end());
    std::vector<int> expected(101);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(tabs, expected);
}

TEST_F(FormTest, WindowHasAFixedClientAreaTheCaptionAndTheIcon)
{
    EXPECT_EQ(form->size(), QSize(712, 373));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);

    const QString title = form->windowTitle();
    const QString lead = QStringLiteral("Riderar指法练习") + QString(49, u' ');
    ASSERT_TRUE(title.startsWith(lead)) << title.toStdString();
    const QString contact = title.mid(lead.size());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[^\\s@]+@[^\\s@]+\\.[a-z]+$"))
                    .match(contact)
                    .hasMatch())
        << contact.toStdString();

    const QIcon icon = form->windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(32, 32)});
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0, 0, 0));
}

TEST_F(FormTest, EveryControlStandsInItsContainerAtItsPlace)
{
    auto check = [this](const QString &name, std::string_view container, QRect rect) {
        QWidget *widget = control(name);
        ASSERT_NE(widget, nullptr);
        const QString parent =
            container.empty() ? QStringLiteral("PracticeForm") : qName(container);
        EXPECT_EQ(widget->parentWidget()->objectName(), parent) << name.toStdString();
        EXPECT_EQ(widget->geometry(), rect) << name.toStdString();
        EXPECT_TRUE(widget->isVisible()) << name.toStdString();
    };
    for (const FrameSpec &row : frameSpecs)
        check(qName(row.name), row.container, pixels(row.left, row.top, row.width, row.height));
    for (const ControlSpec &row : controlSpecs) {
        if (row.kind != ControlKind::Timer)
            check(qName(row.name), row.container, pixels(row.left, row.top, row.width, row.height));
    }
    for (const KeySpec &row : keySpecs)
        check(keyName(row), "", pixels(row.left, row.top, row.width, row.height));
}

TEST_F(FormTest, PlacesInPixelsMatchTheLayoutInTwips)
{
    // Worked by hand from the twips: pixels = twips / 15, to the nearest pixel.
    const std::pair<const char *, QRect> cases[] = {
        {"Frame3(1)", {0, 0, 495, 85}},    {"Text1", {8, 12, 481, 65}},
        {"Frame3(0)", {0, 88, 495, 85}},   {"TypeDataIN", {8, 16, 481, 65}},
        {"Frame4", {496, 0, 217, 381}},    {"Frame5", {8, 15, 201, 41}},
        {"Level(1)", {67, 16, 57, 17}},    {"PickRandomWords", {8, 63, 202, 33}},
        {"ResetScore", {8, 98, 202, 33}},  {"ExitProgram", {8, 133, 202, 33}},
        {"Frame7", {8, 172, 201, 10}},     {"Frame6(0)", {8, 182, 201, 57}},
        {"Picture1", {171, 8, 28, 28}},    {"Frame6(4)", {112, 310, 97, 57}},
        {"ShowAccuracy", {8, 16, 81, 33}}, {"Keys(14)", {432, 248, 62, 38}},
        {"Keys(13)", {416, 280, 78, 30}},  {"Keys(32)", {96, 344, 302, 30}},
        {"Frame2", {0, 208, 495, 3}},      {"Frame1(0)", {45, 170, 4, 35}},
    };
    for (const auto &[name, rect] : cases)
        EXPECT_EQ(control(QString::fromLatin1(name))->geometry(), rect) << name;
}

TEST_F(FormTest, TheClientAreaCutsOffWhatReachesBeyondIt)
{
    EXPECT_GT(windowRect(control(QStringLiteral("Frame4"))).right(), form->rect().right());
    EXPECT_GT(windowRect(control(QStringLiteral("Frame4"))).bottom(), form->rect().bottom());
    EXPECT_GT(windowRect(key(32)).bottom(), form->rect().bottom());
    EXPECT_EQ(key(32)->height(), 30);
}

TEST_F(FormTest, OverlappingControlsLieInTheirOrder)
{
    // The echo's frame covers the separators' tops; the Enter key's lower part covers its upper.
    EXPECT_EQ(form->childAt(46, 171), control(QStringLiteral("Frame3(0)")));
    EXPECT_EQ(form->childAt(46, 180), control(QStringLiteral("Frame1(0)")));
    EXPECT_EQ(form->childAt(450, 283), key(13));
    EXPECT_EQ(form->childAt(450, 270), key(14));
}

TEST_F(FormTest, CaptionsStandAsGiven)
{
    const std::pair<const char *, QString> cases[] = {
        {"PickRandomWords", QStringLiteral("< 开始新练习(&S) >")},
        {"ResetScore", QStringLiteral("<  练习成绩复位(&R)  >")},
        {"ExitProgram", QStringLiteral("<  退出程序(&E) >")},
        {"Level(0)", QStringLiteral("初级")},
        {"Level(1)", QStringLiteral("中级")},
        {"Level(2)", QStringLiteral("高级")},
        {"Keys(0)", QStringLiteral("Esc")},
        {"Keys(8)", QStringLiteral("Back Space")},
        {"Keys(13)", QStringLiteral("Enter")},
        {"Keys(14)", QString()},
        {"Keys(32)", QStringLiteral("Space Bar")},
        {"Keys(92)", QStringLiteral("\\")},
        {"Keys(97)", QStringLiteral("A")},
        {"Keys(126)", QStringLiteral("~")},
        {"Key(42)", QStringLiteral("Caps Lock")},
        {"Key(64)", QStringLiteral("Shift")},
        {"Key(65)", QStringLiteral("Shift")},
    };
    for (const auto &[name, caption] : cases)
        EXPECT_EQ(control<QAbstractButton>(QString::fromLatin1(name))->text(), caption) << name;

    const std::pair<const char *, QString> labels[] = {
        {"Label2(0)", QStringLiteral("每分钟输入单词")},
        {"ShowWordsPerMin", QStringLiteral("0")},
        {"ShowCorrectWords", QStringLiteral("0")},
        {"ShowIncorrectWords", QStringLiteral("0")},
        {"ShowWordCount", QStringLiteral("0")},
        {"ShowAccuracy", QStringLiteral("0")},
        {"TypeDataIN", QString()},
    };
    for (const auto &[name, caption] : labels)
        EXPECT_EQ(control<QLabel>(QString::fromLatin1(name))->text(), caption) << name;

    const std::pair<const char *, QString> frames[] = {
        {"Frame3(0)", QStringLiteral("在下面输入您上面看到的正确单词...")},
        {"Frame3(1)", QString()},
        {"Frame5", QStringLiteral("难易度")},
        {"Frame6(0)", QStringLiteral("您的速度")},
        {"Frame6(1)", QStringLiteral("正确单词")},
        {"Frame6(3)", QStringLiteral("纠正单词")},
        {"Frame6(2)", QStringLiteral("单词数")},
        {"Frame6(4)", QStringLiteral("正确率 %")},
    };
    for (const auto &[name, caption] : frames)
        EXPECT_EQ(control<PanelFrame>(QString::fromLatin1(name))->caption(), caption) << name;
}

TEST_F(FormTest, AccessKeysAreAltSRAndE)
{
    EXPECT_EQ(control<QAbstractButton>(QStringLiteral("PickRandomWords"))->shortcut(),
              QKeySequence(Qt::ALT | Qt::Key_S));
    EXPECT_EQ(control<QAbstractButton>(QStringLiteral("ResetScore"))->shortcut(),
              QKeySequence(Qt::ALT | Qt::Key_R));
    EXPECT_EQ(control<QAbstractButton>(QStringLiteral("ExitProgram"))->shortcut(),
              QKeySequence(Qt::ALT | Qt::Key_E));
    for (auto *button : form->findChildren<QPushButton *>()) {
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

TEST_F(FormTest, ControlsShowTheirBackColoursFlat)
{
    const QColor face = buttonFacePixel();
    const QColor navy(0, 0, 128);
    // A point inside each control, clear of borders, bevels and captions.
    const std::tuple<const char *, QPoint, QColor> cases[] = {
        {"Frame3(1)", {3, 3}, QColor(0, 0, 0)},
        {"Text1", {470, 60}, QColor(255, 255, 128)},
        {"Frame3(0)", {4, 80}, navy},
        {"TypeDataIN", {470, 60}, navy},
        {"Frame4", {4, 300}, QColor(0, 0, 0)},
        {"Frame5", {4, 36}, navy},
        {"Level(0)", {55, 8}, navy},
        {"Frame7", {100, 5}, face},
        {"Frame6(0)", {4, 52}, navy},
        {"Label2(0)", {58, 26}, navy},
        {"Picture1", {27, 4}, face},
        {"ShowWordsPerMin", {4, 29}, QColor(255, 0, 0)},
        {"ShowCorrectWords", {4, 29}, QColor(255, 128, 255)},
        {"ShowIncorrectWords", {4, 29}, QColor(128, 255, 255)},
        {"ShowWordCount", {4, 29}, QColor(128, 255, 128)},
        {"ShowAccuracy", {4, 29}, QColor(255, 128, 0)},
        {"PickRandomWords", {3, 3}, QColor(224, 224, 224)},
        {"ResetScore", {3, 28}, QColor(224, 224, 224)},
        {"ExitProgram", {198, 28}, QColor(224, 224, 224)},
        {"Keys(0)", {3, 3}, face},
        {"Keys(14)", {30, 5}, face},
        {"Key(5)", {3, 26}, face},
        {"Keys(32)", {3, 3}, face},
    };
    const QImage image = grab();
    for (const auto &[name, point, colour] : cases) {
        const QPoint at = windowRect(control(QString::fromLatin1(name))).topLeft() + point;
        EXPECT_EQ(image.pixelColor(at), colour) << name;
    }
    // The black window shows between the keys.
    EXPECT_EQ(image.pixelColor(31, 180), QColor(0, 0, 0));
}

TEST_F(FormTest, FontsAreAsListedWithAnInstalledSubstitute)
{
    const std::pair<const char *, qreal> sized[] = {
        {"Text1", 9.75},          {"TypeDataIN", 9.75},       {"ShowWordsPerMin", 18},
        {"ShowCorrectWords", 18}, {"ShowIncorrectWords", 18}, {"ShowWordCount", 18},
        {"ShowAccuracy", 18},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto &[name, points] : sized) {
        const QFont font = control(QString::fromLatin1(name))->font();
        EXPECT_EQ(font.families().value(0), QStringLiteral("MS Sans Serif")) << name;
        EXPECT_EQ(font.pointSizeF(), points) << name;
        EXPECT_EQ(font.weight(), QFont::Normal) << name;
        EXPECT_FALSE(font.italic()) << name;
        const QFontInfo shown(font);
        EXPECT_TRUE(installed.contains(shown.family()))
            << name << ": " << shown.family().toStdString();
        EXPECT_DOUBLE_EQ(shown.pointSizeF(), points) << name;
    }
    for (const char *name : {"PickRandomWords", "Level(2)", "Label2(0)", "Keys(97)", "Frame5"})
        EXPECT_EQ(control(QString::fromLatin1(name))->font(), form->font()) << name;
}

TEST_F(FormTest, WindowFontShowsEverySimplifiedChineseCaption)
{
    QString captions = form->windowTitle();
    for (auto *button : form->findChildren<QAbstractButton *>())
        captions += button->text();
    for (auto *label : form->findChildren<QLabel *>())
        captions += label->text();
    for (auto *frame : form->findChildren<PanelFrame *>())
        captions += frame->caption();
    const QFontMetrics metrics(form->font());
    int chinese = 0;
    for (const char32_t c : captions.toUcs4()) {
        if (c < 0x4E00 || c > 0x9FFF)
            continue;
        ++chinese;
        EXPECT_TRUE(metrics.inFontUcs4(c)) << "U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_GT(chinese, 40);
}

TEST_F(FormTest, TabOrderFollowsTheTabIndexesOverFocusableControls)
{
    std::map<QString, int> tabOf;
    for (const FrameSpec &row : frameSpecs)
        tabOf[qName(row.name)] = row.tab;
    for (const ControlSpec &row : controlSpecs)
        tabOf[qName(row.name)] = row.tab;
    for (const KeySpec &row : keySpecs)
        tabOf[keyName(row)] = row.tab;

    // Frames and labels never take the focus; everything else does.
    for (const auto &[name, tab] : tabOf) {
        if (name == QStringLiteral("CalcWordsPerMin"))
            continue;
        const bool passive =
            name.startsWith(QStringLiteral("Frame")) || name.startsWith(QStringLiteral("Show")) ||
            name == QStringLiteral("Label2(0)") || name == QStringLiteral("TypeDataIN");
        EXPECT_EQ(control(name)->focusPolicy() == Qt::NoFocus, passive) << name.toStdString();
    }

    QWidget *first = key(0);
    std::vector<int> chain;
    QWidget *widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            chain.push_back(tabOf.at(widget->objectName()));
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(chain.size(), 72u + 3u + 3u + 2u); // keys, options, buttons, Text1 and Picture1
    EXPECT_TRUE(std::is_sorted(chain.begin(), chain.end()));
}

TEST_F(FormTest, TabMovesFromThePassageBoxToThePictureAndOnToEsc)
{
    QSignalSpy typed(passageBox(), &PassageBox::keyPressed);
    passageBox()->setFocus();
    QTest::keyClick(passageBox(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control(QStringLiteral("Picture1")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), key(0));
    EXPECT_EQ(typed.count(), 0);
}

TEST_F(FormTest, AClickedButtonTakesTheFocus)
{
    for (const char *name : {"Key(5)", "Keys(97)", "ResetScore", "PickRandomWords"}) {
        auto *button = control<QAbstractButton>(QString::fromLatin1(name));
        QWidget *focusAtPress = nullptr;
        const auto connection = QObject::connect(button, &QAbstractButton::pressed, button, [&] {
            focusAtPress = QApplication::focusWidget();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QObject::disconnect(connection);
        EXPECT_EQ(focusAtPress, button) << name;
    }
}

} // namespace
} // namespace riderar::testing
