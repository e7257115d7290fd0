#pragma once

#include <QTableWidget>

#include <string>

class FixedRowHeader;

// The mailbox table in the terms of a string grid: cells addressed by
// (column, row), row 0 the fixed header row that stays in place while the data
// rows scroll. RowCount counts the header row and is never less than 2, so
// there is always at least one data row. Cell texts are the core's
// Windows-1251 byte strings and come back byte for byte as written.
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

    // The current (selected) data row, from 1.
    int Row() const;
    void SetRow(int row);

    int RowHeight(int row) const;
    void SetRowHeight(int row, int height);
    int ColWidth(int col) const;

private:
    QTableWidgetItem *ItemAt(int col, int row) const;

    FixedRowHeader *FHeader;
};
