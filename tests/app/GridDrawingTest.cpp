// The mailbox table's drawing and its right-click rule.

#include "StatusBar.h"
#include "StringGrid.h"
#include "Text.h"
#include "WindowFixture.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QColor kBlue(0, 0, 255);

// Where the pixels of one colour lie within a rectangle of an image.
std::optional<QRect> InkOf(const QImage &image, const QRect &area, const QColor &colour)
{
    std::optional<QRect> ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != colour)
                continue;
            ink = ink ? ink->united(QRect(x, y, 1, 1)) : QRect(x, y, 1, 1);
        }
    }
    return ink;
}

class GridDrawingTest : public WindowTest {
protected:
    QRect CellRect(TForm1 &form, int col, int row)
    {
        return form.StringGrid1->visualRect(form.StringGrid1->model()->index(row - 1, col));
    }
    QImage Grab(TForm1 &form)
    {
        return form.StringGrid1->viewport()->grab().toImage();
    }
};

TEST_F(GridDrawingTest, RowsTakeTheColoursOfTheirMailboxStates)
{
    for (const char *name : {"a", "b", "c"})
        MakeQuietMailbox(name);
    auto form = OpenWindow();
    form->show();
    ASSERT_EQ(form->mailCount, 3);

    struct Case {
        int state;
        QColor text;
        QColor selectedText;
    };
    const std::vector<Case> cases = {
        {0, QColor(0, 0, 0), QColor(255, 255, 255)},
        {1, QColor(255, 0, 0), QColor(255, 195, 177)},
        {2, QColor(31, 131, 1), QColor(155, 255, 169)},
    };
    for (int i = 0; i < 3; ++i) {
        form->mailList[i]->state = cases[i].state;
        form->StringGrid1->SetCells(1, i + 1, "IIII");
    }
    const QColor background = form->StringGrid1->palette().color(QPalette::Base);
    for (int selectedRow = 1; selectedRow <= 3; ++selectedRow) {
        form->StringGrid1->SetRow(selectedRow);
        const QImage image = Grab(*form);
        for (int row = 1; row <= 3; ++row) {
            const Case &c = cases[row - 1];
            const bool selected = row == selectedRow;
            SCOPED_TRACE(testing::Message() << "row " << row << (selected ? " selected" : ""));
            const QRect cell = CellRect(*form, 1, row);
            const QColor fill = selected ? kBlue : background;
            const QColor text = selected ? c.selectedText : c.text;
            EXPECT_EQ(image.pixelColor(cell.right() - 2, cell.bottom() - 2), fill);
            const std::optional<QRect> ink = InkOf(image, cell, text);
            ASSERT_TRUE(ink.has_value());
            // The text's left edge on the cell's, its top 5 pixels down at least.
            EXPECT_LE(ink->left() - cell.left(), 2);
            EXPECT_GE(ink->top() - cell.top(), 5);
            // The other state's colours are nowhere in the cell.
            for (const Case &other : cases) {
                if (other.state == c.state)
                    continue;
                EXPECT_FALSE(InkOf(image, cell, selected ? other.selectedText : other.text));
            }
        }
    }
}

TEST_F(GridDrawingTest, TheUnselectedFillIsTheTablesBackgroundEverywhere)
{
    MakeQuietMailbox("a");
    MakeQuietMailbox("b");
    auto form = OpenWindow();
    form->show();
    form->StringGrid1->SetRow(1);
    const QImage image = Grab(*form);
    const QColor background = form->StringGrid1->palette().color(QPalette::Base);
    EXPECT_NE(background, kBlue);
    // Row 2's cells, and the empty area below the rows and beyond the columns.
    EXPECT_EQ(image.pixelColor(CellRect(*form, 4, 2).center()), background);
    EXPECT_EQ(image.pixelColor(10, image.height() - 2), background);
    EXPECT_EQ(image.pixelColor(image.width() - 2, 5), background);
    EXPECT_EQ(image.pixelColor(CellRect(*form, 4, 1).center()), kBlue);
}

TEST_F(GridDrawingTest, WithoutMailboxesTheCurrentEmptyRowIsABlueBar)
{
    auto form = OpenWindow();
    form->show();
    ASSERT_EQ(form->mailCount, 0);
    ASSERT_EQ(form->StringGrid1->Row(), 1);
    const QImage image = Grab(*form);
    for (int col = 0; col < 5; ++col) {
        const QRect cell = CellRect(*form, col, 1);
        SCOPED_TRACE(col);
        EXPECT_EQ(InkOf(image, cell, kBlue), cell);
    }
}

TEST_F(GridDrawingTest, RightClickOnADataRowMakesItCurrentAndOpensTheTableMenu)
{
    for (const char *name : {"a", "b", "c"})
        MakeQuietMailbox(name);
    auto form = OpenWindow();
    form->show();
    TStringGrid &grid = *form->StringGrid1;
    grid.SetRow(1);
    form->StatusBar1->SetPanelText(3, "before");

    const QPoint onRow3 = CellRect(*form, 2, 3).center();
    QTest::mousePress(grid.viewport(), Qt::RightButton, {}, onRow3);
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.PopupMenu(), form->PopupMenu1);
    QContextMenuEvent request(QContextMenuEvent::Mouse, onRow3, grid.viewport()->mapToGlobal(onRow3));
    QCoreApplication::sendEvent(grid.viewport(), &request);
    EXPECT_TRUE(form->PopupMenu1->isVisible());
    form->PopupMenu1->hide();
    QTest::mouseRelease(grid.viewport(), Qt::RightButton, {}, onRow3);
    // A right click leaves the result text alone.
    EXPECT_EQ(form->StatusBar1->PanelText(3), "before");
    EXPECT_EQ(grid.Row(), 3);
}

TEST_F(GridDrawingTest, RightClickOnTheHeaderOrTheEmptyAreaOpensNoMenu)
{
    MakeQuietMailbox("a");
    MakeQuietMailbox("b");
    auto form = OpenWindow();
    form->show();
    TStringGrid &grid = *form->StringGrid1;
    QWidget *header = grid.horizontalHeader()->viewport();
    const QPoint onRow2 = CellRect(*form, 0, 2).center();
    const QPoint belowRows(20, grid.viewport()->height() - 5);

    struct Case {
        const char *where;
        QWidget *widget;
        QPoint point;
    };
    const std::vector<Case> cases = {
        {"header row", header, QPoint(30, 9)},
        {"empty area below the rows", grid.viewport(), belowRows},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.where);
        // Armed by a right click on a row first.
        QTest::mousePress(grid.viewport(), Qt::RightButton, {}, onRow2);
        QTest::mouseRelease(grid.viewport(), Qt::RightButton, {}, onRow2);
        ASSERT_EQ(grid.PopupMenu(), form->PopupMenu1);

        QTest::mousePress(c.widget, Qt::RightButton, {}, c.point);
        EXPECT_EQ(grid.PopupMenu(), nullptr);
        QContextMenuEvent request(QContextMenuEvent::Mouse, c.point, c.widget->mapToGlobal(c.point));
        QCoreApplication::sendEvent(c.widget, &request);
        EXPECT_FALSE(form->PopupMenu1->isVisible());
        QTest::mouseRelease(c.widget, Qt::RightButton, {}, c.point);
        EXPECT_EQ(grid.Row(), 2);
    }
}

TEST_F(GridDrawingTest, MouseCoordGivesTheCellUnderAPointOfTheGrid)
{
    MakeQuietMailbox("a");
    MakeQuietMailbox("b");
    auto form = OpenWindow();
    form->show();
    TStringGrid &grid = *form->StringGrid1;
    const QPoint viewport = grid.viewport()->mapTo(&grid, QPoint(0, 0));
    const QPoint header = grid.horizontalHeader()->mapTo(&grid, QPoint(0, 0));

    struct Case {
        QPoint point;
        int col;
        int row;
    };
    const std::vector<Case> cases = {
        {header + QPoint(5, 5), 0, 0},
        {header + QPoint(170, 5), 1, 0},
        {viewport + CellRect(*form, 3, 1).center(), 3, 1},
        {viewport + CellRect(*form, 4, 2).center(), 4, 2},
        {viewport + QPoint(5, grid.viewport()->height() - 3), -1, -1},
        {viewport + QPoint(grid.viewport()->width() - 3, 5), -1, -1},
        {QPoint(-5, -5), -1, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x() << "," << c.point.y());
        const TStringGrid::Coord cell = grid.MouseCoord(c.point.x(), c.point.y());
        EXPECT_EQ(cell.col, c.col);
        EXPECT_EQ(cell.row, c.row);
    }
}

TEST_F(GridDrawingTest, TheTableMenuHasItsItemsWithCheckNowInBold)
{
    auto form = OpenWindow();
    const QList<QAction *> items = form->PopupMenu1->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0], form->PopReadLetter);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Пометить как прочитанный"));
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2], form->PopCheckNow);
    EXPECT_EQ(items[2]->text(), QStringLiteral("Проверить сейчас..."));
    EXPECT_EQ(form->PopupMenu1->defaultAction(), form->PopCheckNow);
    EXPECT_TRUE(form->PopCheckNow->font().bold());
    EXPECT_FALSE(form->PopReadLetter->font().bold());
    EXPECT_EQ(form->StringGrid1->PopupMenu(), nullptr);
}

}  // namespace
