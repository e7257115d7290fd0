// The string grid that stands in the main window's table.

#include "StringGrid.h"

#include <QHeaderView>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(StringGridTest, StartsWithTheHeaderRowAndOneEmptyDataRow)
{
    TStringGrid grid;
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.columnCount(), 5);
    EXPECT_EQ(grid.Row(), 1);
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(grid.Cells(col, 0), "");
        EXPECT_EQ(grid.Cells(col, 1), "");
    }
}

TEST(StringGridTest, CellsKeepTheirBytesAndShowTheirText)
{
    TStringGrid grid;
    grid.SetRowCount(3);
    // 0x98 has no character in Windows-1251; the cell still gives its bytes back.
    const std::string name = "\xdf\xf9\xe8\xea \x98";  // "Ящик " and an undefined byte
    grid.SetCells(0, 2, name);
    grid.SetCells(4, 0, "\xc2\xf0\xe5\xec\xff");  // "Время"

    EXPECT_EQ(grid.Cells(0, 2), name);
    EXPECT_EQ(grid.item(1, 0)->text(), QStringLiteral("Ящик \uFFFD"));
    EXPECT_EQ(grid.Cells(4, 0), "\xc2\xf0\xe5\xec\xff");
    EXPECT_EQ(grid.horizontalHeaderItem(4)->text(), QStringLiteral("Время"));
    EXPECT_EQ(grid.Cells(1, 2), "");

    grid.SetCells(0, 2, "");
    EXPECT_EQ(grid.Cells(0, 2), "");
}

TEST(StringGridTest, CellsOutsideTheGridReadEmptyAndIgnoreWrites)
{
    TStringGrid grid;
    grid.SetRowCount(3);
    const std::vector<std::pair<int, int>> outside = {{-1, 1}, {5, 1}, {0, -1}, {0, 3}, {0, 100}};
    for (const auto &[col, row] : outside) {
        SCOPED_TRACE(testing::Message() << "cell " << col << "," << row);
        grid.SetCells(col, row, "x");
        EXPECT_EQ(grid.Cells(col, row), "");
    }
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.rowCount(), 2);
}

TEST(StringGridTest, RowCountCountsTheHeaderRowAndNeverDropsBelowTwo)
{
    TStringGrid grid;
    grid.SetRowCount(4);
    grid.SetCells(0, 3, "c");
    grid.SetCells(0, 2, "b");
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.rowCount(), 3);

    // Rows cut off go with their cells; rows added again are empty.
    grid.SetRowCount(3);
    EXPECT_EQ(grid.Cells(0, 2), "b");
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Cells(0, 3), "");

    EXPECT_THROW(grid.SetRowCount(1), std::out_of_range);
    EXPECT_THROW(grid.SetRowCount(0), std::out_of_range);
    EXPECT_EQ(grid.RowCount(), 4);
}

TEST(StringGridTest, CurrentRowCountsFromOneAndSurvivesShrinking)
{
    TStringGrid grid;
    grid.SetRowCount(5);
    EXPECT_EQ(grid.Row(), 1);
    grid.SetRow(4);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.currentRow(), 3);
    // Whole rows are selected.
    EXPECT_EQ(grid.selectionModel()->selectedRows().size(), 1);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.Row(), 1);
}

TEST(StringGridTest, RowHeightsOfHeaderAndDataRows)
{
    TStringGrid grid;
    grid.SetRowCount(3);
    EXPECT_EQ(grid.RowHeight(0), 24);
    EXPECT_EQ(grid.RowHeight(1), 24);
    EXPECT_EQ(grid.RowHeight(2), 24);

    grid.SetRowHeight(0, 18);
    grid.SetRowHeight(2, 30);
    EXPECT_EQ(grid.RowHeight(0), 18);
    EXPECT_EQ(grid.RowHeight(1), 24);
    EXPECT_EQ(grid.RowHeight(2), 30);

    grid.resize(509, 189);
    grid.show();
    EXPECT_EQ(grid.horizontalHeader()->height(), 18);
    EXPECT_EQ(grid.visualRect(grid.model()->index(0, 0)).top(), 0);
}
