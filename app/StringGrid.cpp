#include "StringGrid.h"

#include "DesktopFont.h"
#include "Text.h"
#include "WindowColours.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <array>
#include <stdexcept>

namespace {

constexpr std::array<int, TStringGrid::kColCount> kColWidths = {164, 92, 66, 102, 59};
// Header texts stand this far right of and below their cell's top-left corner.
constexpr int kFixedTextOffset = 2;
// The raw bytes of a cell, next to the text shown.
constexpr int kBytesRole = Qt::UserRole;

}  // namespace

// Row 0 of the grid: the fixed row, flat on the fixed colour, its texts at the
// top left of each cell, as tall as set (not as the style would make it).
class FixedRowHeader : public QHeaderView {
public:
    explicit FixedRowHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        setMinimumHeight(0);
    }

    int Height() const { return FHeight; }
    void SetHeight(int height)
    {
        FHeight = height;
        updateGeometry();
        emit geometriesChanged();
    }

    QSize sizeHint() const override { return {length(), FHeight}; }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QHeaderView::paintEvent(event);
        // Beyond the last column the row shows the table's background.
        const int end = length() - offset();
        if (end < viewport()->width()) {
            QPainter painter(viewport());
            painter.fillRect(QRect(end, 0, viewport()->width() - end, height()),
                             palette().color(QPalette::Base));
        }
    }

    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        painter->fillRect(rect, colours::kSkyBlue);
        painter->setPen(palette().color(QPalette::WindowText));
        painter->setFont(font());
        const QRect textRect = rect.adjusted(kFixedTextOffset, kFixedTextOffset, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          model()->headerData(logicalIndex, Qt::Horizontal).toString());
    }

private:
    int FHeight = TStringGrid::kDefaultRowHeight;
};

TStringGrid::TStringGrid(QWidget *parent)
    : QTableWidget(kMinRowCount - 1, kColCount, parent)
    , FHeader(new FixedRowHeader(this))
{
    setHorizontalHeader(FHeader);
    for (int col = 0; col < kColCount; ++col)
        setHorizontalHeaderItem(col, new QTableWidgetItem);
    FHeader->setSectionResizeMode(QHeaderView::Fixed);
    FHeader->setSectionsMovable(false);
    FHeader->setSectionsClickable(false);
    FHeader->setHighlightSections(false);
    FHeader->setStretchLastSection(false);
    for (int col = 0; col < kColCount; ++col)
        FHeader->resizeSection(col, kColWidths[col]);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);

    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFont(DesktopFont(8, true));
    QPalette gridPalette = palette();
    gridPalette.setColor(QPalette::Base, colours::kTableBackground);
    setPalette(gridPalette);
    FHeader->viewport()->installEventFilter(this);
    SetRow(1);
}

QTableWidgetItem *TStringGrid::ItemAt(int col, int row) const
{
    return row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
}

std::string TStringGrid::Cells(int col, int row) const
{
    if (col < 0 || col >= kColCount || row < 0 || row >= RowCount())
        return {};
    const QTableWidgetItem *cell = ItemAt(col, row);
    if (!cell)
        return {};
    return cell->data(kBytesRole).toByteArray().toStdString();
}

void TStringGrid::SetCells(int col, int row, const std::string &text)
{
    if (col < 0 || col >= kColCount || row < 0 || row >= RowCount())
        return;
    QTableWidgetItem *cell = ItemAt(col, row);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row - 1, col, cell);
    }
    cell->setData(kBytesRole, QByteArray::fromStdString(text));
    cell->setText(fromCp1251(text));
}

int TStringGrid::RowCount() const
{
    return rowCount() + 1;
}

void TStringGrid::SetRowCount(int count)
{
    if (count < kMinRowCount)
        throw std::out_of_range("Grid row count must be at least 2");
    setRowCount(count - 1);
    if (currentRow() < 0)
        SetRow(1);
}

int TStringGrid::Row() const
{
    return currentRow() + 1;
}

void TStringGrid::SetRow(int row)
{
    setCurrentCell(row - 1, 0);
}

int TStringGrid::RowHeight(int row) const
{
    return row == 0 ? FHeader->Height() : rowHeight(row - 1);
}

void TStringGrid::SetRowHeight(int row, int height)
{
    if (row == 0)
        FHeader->SetHeight(height);
    else
        setRowHeight(row - 1, height);
}

int TStringGrid::ColWidth(int col) const
{
    return columnWidth(col);
}

void TStringGrid::DeleteRow(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    if (RowCount() > kMinRowCount) {
        removeRow(row - 1);
        if (currentRow() < 0)
            SetRow(1);
    } else {
        for (int col = 0; col < kColCount; ++col)
            delete takeItem(0, col);
    }
}

TStringGrid::Coord TStringGrid::MouseCoord(int x, int y) const
{
    const QPoint point(x, y);
    const QRect header(FHeader->mapTo(this, QPoint(0, 0)), FHeader->size());
    if (header.contains(point)) {
        const int col = FHeader->logicalIndexAt(point.x() - header.left());
        return col < 0 ? Coord{-1, -1} : Coord{col, 0};
    }
    const QPoint inView = viewport()->mapFrom(this, point);
    const QModelIndex index = viewport()->rect().contains(inView) ? indexAt(inView) : QModelIndex();
    if (!index.isValid())
        return {-1, -1};
    return {index.column(), index.row() + 1};
}

void TStringGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        QTableWidget::mousePressEvent(event);
        if (indexAt(at).isValid())
            emit OnClick();
    } else {
        event->accept();
    }
    const QPoint inGrid = viewport()->mapTo(this, at);
    emit OnMouseDown(event->button(), event->modifiers(), inGrid.x(), inGrid.y());
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QTableWidget::keyPressEvent(event);
    if (currentRow() != before)
        emit OnClick();
}

void TStringGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (FPopupMenu)
        FPopupMenu->popup(event->globalPos());
    event->accept();
}

// Presses on the header row count as presses on the grid.
bool TStringGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FHeader->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const QPoint inGrid = FHeader->viewport()->mapTo(this, press->position().toPoint());
        emit OnMouseDown(press->button(), press->modifiers(), inGrid.x(), inGrid.y());
    }
    return QTableWidget::eventFilter(watched, event);
}

// The selection is the current row, whole: never empty, never two rows.
QItemSelectionModel::SelectionFlags TStringGrid::selectionCommand(const QModelIndex &index,
                                                                  const QEvent *event) const
{
    if (!index.isValid() || (event && event->type() == QEvent::MouseButtonRelease))
        return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}
