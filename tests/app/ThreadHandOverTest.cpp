// The row hand-over: five cells in a fixed order, the time in the system's
// long time format without the time zone.

#include "StringGrid.h"
#include "Text.h"
#include "TimeText.h"
#include "WindowFixture.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

using ThreadHandOverTest = WindowTest;

TEST_F(ThreadHandOverTest, SyncRowWritesTheTimeFirstAndTheNameLast)
{
    MakeQuietMailbox("a");
    MakeQuietMailbox("b");
    auto form = OpenWindow();
    TStringGrid &grid = *form->StringGrid1;
    std::vector<int> columns;
    // Columns in the order their cells change (a cell may report a change twice).
    QObject::connect(&grid, &QTableWidget::itemChanged, [&](QTableWidgetItem *item) {
        if (columns.empty() || columns.back() != item->column())
            columns.push_back(item->column());
    });

    FNow = QTime(21, 4, 9);
    form->SyncRow(2, Failed(1012), 3, 17, "Box");

    EXPECT_EQ(columns, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(grid.Cells(0, 2), "Box");
    EXPECT_EQ(grid.Cells(1, 2), "17");
    EXPECT_EQ(grid.Cells(2, 2), "3");
    EXPECT_EQ(grid.Cells(3, 2), Failed(1012));
    EXPECT_EQ(grid.Cells(4, 2), LongTimeText(QTime(21, 4, 9)));
    EXPECT_NE(grid.Cells(4, 2).find("04:09"), std::string::npos) << grid.Cells(4, 2);
    // Row 1 is untouched.
    EXPECT_EQ(grid.Cells(0, 1), "a");
    EXPECT_EQ(grid.Cells(3, 1), "");
}

TEST_F(ThreadHandOverTest, TheTimeTextHasNoTimeZone)
{
    const QTime time(9, 5, 7);
    const std::string text = LongTimeText(time);
    EXPECT_NE(text.find("05:07"), std::string::npos) << text;
    EXPECT_EQ(fromCp1251(text), fromCp1251(text).trimmed());
    const QString zone = QLocale::system().toString(time, QStringLiteral("t"));
    ASSERT_FALSE(zone.isEmpty());
    EXPECT_FALSE(fromCp1251(text).contains(zone)) << text;
}

TEST(TimeFormatTest, ZoneFieldsAreDroppedOutsideQuotes)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"HH:mm:ss t", "HH:mm:ss"},
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"HH:mm:ss tttt", "HH:mm:ss"},
        {"t HH:mm:ss", "HH:mm:ss"},
        {"H 'h' mm 'min' ss 's' t", "H 'h' mm 'min' ss 's'"},
        {"'at' HH:mm:ss", "'at' HH:mm:ss"},
        {"HH:mm:ss", "HH:mm:ss"},
        {"", ""},
    };
    for (const auto &[format, expected] : cases)
        EXPECT_EQ(WithoutTimeZone(format), expected) << format.toStdString();
}

}  // namespace
