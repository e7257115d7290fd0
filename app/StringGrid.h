#pragma once

#include <QTableWidget>

#include <string>

class FixedRowHeader;
class QMenu;

// The mailbox table in the terms of a string grid: cells addressed by
// (column, row), row 0 the fixed header row that stays in place while the data
// rows scroll. RowCount counts the header row and is never less than 2, so
// there is always at least one data row. Cell texts are the core's
// Windows-1251 byte strings and come back byte for byte as written.
//
// Whole rows are selected, and the selection is always the current row: a
// click outside the cells changes nothing. Only the left button selects; the
// other buttons only raise OnMouseDown. The context menu is the one set with
// SetPopupMenu, if any.
class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kColCount = 5;
    static constexpr int kMinRowCount = 2;
    static constexpr int kDefaultRowHeight = 24;

    explicit TStringGrid(QWidget *parent = nullptr);

    // Outside the grid, a cell reads as empty and a write is dropped, as for a
    // cell that does not exist.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string &text);

    int RowCount() const;
    // Rows beyond a new, smaller count go with their cells; rows added are empty.
    // Throws std::out_of_range below kMinRowCount.
    void SetRowCount(int count);

    // The current (selected) data row, from 1. Setting it selects the whole
    // row and raises no OnClick.
    int Row() const;
    void SetRow(int row);

    // The rows below `row` move up by one and the last row goes; with a single
    // data row, that row is cleared instead.
    void DeleteRow(int row);

    // The cell under a point of the grid (its own coordinates, header row
    // included); row and column are -1 outside every cell.
    struct Coord {
        int col;
        int row;
    };
    Coord MouseCoord(int x, int y) const;

    // The menu a context-menu request opens; none when null. Not owned.
    QMenu *PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu *menu) { FPopupMenu = menu; }

    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int ColWidth(int col) const;

signals:
    // The user made a data row current with a left click (also on the row
    // already current) or moved the current row with the keyboard.
    void OnClick();
    // A mouse button went down over the grid, header row included; x and y
    // are in the grid's own coordinates. Raised after the grid has handled
    // the press.
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    QTableWidgetItem *ItemAt(int col, int row) const;

    FixedRowHeader *FHeader;
    QMenu *FPopupMenu = nullptr;
};
