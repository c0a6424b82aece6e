#include "keyboardlayout.h"

#include "formfixture.h"
#include "keyindexes.h"

#include <QButtonGroup>
#include <QRegularExpression>
#include <QSignalSpy>

#include <algorithm>
#include <map>
#include <set>

namespace riderar::testing {
namespace {

std::set<int> indexesOf(KeyArray array)
{
    std::set<int> indexes;
    for (const KeySpec &row : keySpecs) {
        if (row.array == array)
            indexes.insert(row.index);
    }
    return indexes;
}

TEST(KeyboardTable, WorkingKeysHaveTheCodesOfTheirLowerCasedCaptions)
{
    EXPECT_EQ(indexesOf(KeyArray::Keys), workingKeyIndexes());
    EXPECT_EQ(indexesOf(KeyArray::Keys).size(), 52u);
    const std::map<std::string_view, int> named{
        {"Esc", 0}, {"Back Space", 8}, {"Enter", 13}, {"", 14}, {"Space Bar", 32}};
    for (const KeySpec &row : keySpecs) {
        if (row.array != KeyArray::Keys)
            continue;
        if (const auto found = named.find(row.caption); found != named.end()) {
            EXPECT_EQ(row.index, found->second) << row.caption;
        } else {
            ASSERT_EQ(row.caption.size(), 1u);
            const char c = row.caption[0];
            EXPECT_EQ(row.index, (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c) << row.caption;
        }
    }
}

TEST(KeyboardTable, DecorativeKeysHaveTheirIndexes)
{
    const std::set<int> expected{1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                 11, 12, 40, 42, 64, 65, 68, 69, 70, 71};
    EXPECT_EQ(indexesOf(KeyArray::Key), expected);
}

TEST(KeyboardTable, NeighboursLeaveThirtyTwipsAndRowsStackAsDrawn)
{
    std::map<int, std::vector<KeySpec>> rows;
    for (const KeySpec &row : keySpecs)
        rows[row.top].push_back(row);
    ASSERT_EQ(rows.size(), 6u);
    std::vector<int> tops;
    for (auto &[top, row] : rows) {
        tops.push_back(top);
        EXPECT_TRUE(std::is_sorted(row.begin(), row.end(),
                                   [](const auto &a, const auto &b) { return a.left < b.left; }));
        for (std::size_t i = 1; i < row.size() && top != 2640; ++i)
            EXPECT_EQ(row[i].left - (row[i - 1].left + row[i - 1].width), 30)
                << "row " << top << " after " << row[i - 1].caption;
        for (const KeySpec &row : row)
            EXPECT_EQ(row.height, row.index == 14 && row.array == KeyArray::Keys ? 570 : 450);
    }
    EXPECT_EQ(tops, (std::vector<int>{2640, 3240, 3720, 4200, 4680, 5160}));
}

TEST_F(FormTest, KeyColourOperationSucceedsExactlyForKeysWithAButton)
{
    const std::set<int> working = workingKeyIndexes();
    int succeeded = 0;
    for (int index = -32768; index <= 32767; ++index) {
        const bool ok = form->setKeyColour(static_cast<std::int16_t>(index), litKeyColour);
        EXPECT_EQ(ok, working.count(index) == 1) << index;
        succeeded += ok;
    }
    EXPECT_EQ(succeeded, 52);
    for (const int index : working)
        EXPECT_EQ(key(index)->fillColour(), QColor(225, 25, 25)) << index;
    for (auto *decorative :
         form->findChildren<FlatButton *>(QRegularExpression(QStringLiteral("^Key\\(")))) {
        EXPECT_FALSE(decorative->backColour().has_value())
            << decorative->objectName().toStdString();
    }
}

TEST_F(FormTest, AFailedKeyColourChangesNothing)
{
    const QImage before = grab();
    for (const int index : {-32768, -1, 1, 27, 65, 96, 127, 255, 32767})
        EXPECT_FALSE(form->setKeyColour(static_cast<std::int16_t>(index), litKeyColour)) << index;
    EXPECT_EQ(grab(), before);
}

TEST_F(FormTest, LitAndRestoredKeysShowInTheirColours)
{
    const QPoint inside(3, 3);
    for (const int index : {0, 14, 126, 97}) {
        ASSERT_TRUE(form->setKeyColour(static_cast<std::int16_t>(index), litKeyColour));
        EXPECT_EQ(grab().pixelColor(windowRect(key(index)).topLeft() + inside), QColor(225, 25, 25))
            << index;
        ASSERT_TRUE(form->setKeyColour(static_cast<std::int16_t>(index), buttonFace));
        EXPECT_EQ(grab().pixelColor(windowRect(key(index)).topLeft() + inside),
                  QApplication::palette().color(QPalette::Button))
            << index;
    }
}

TEST_F(FormTest, EveryWorkingKeyRaisesItsClickWithItsIndex)
{
    QButtonGroup *group = key(97)->group();
    ASSERT_NE(group, nullptr);
    QSignalSpy clicks(group, &QButtonGroup::idClicked);
    for (const int index : workingKeyIndexes()) {
        EXPECT_EQ(key(index)->group(), group);
        QTest::mouseClick(key(index), Qt::LeftButton);
    }
    std::set<int> clicked;
    for (const QList<QVariant> &click : clicks)
        clicked.insert(click.at(0).toInt());
    EXPECT_EQ(clicked, workingKeyIndexes());

    // The caption-less upper part of Enter is a key of its own.
    clicks.clear();
    QTest::mouseClick(form->childAt(450, 260), Qt::LeftButton);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 14);
}

TEST_F(FormTest, DecorativeKeysOnlyTakeTheFocus)
{
    for (const int index : indexesOf(KeyArray::Key)) {
        auto *button = control<FlatButton>(QStringLiteral("Key(%1)").arg(index));
        EXPECT_EQ(button->group(), nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), button);
    }
}

} // namespace
} // namespace riderar::testing
