#include "UnitVelmo.h"

#include "StringGrid.h"
#include "Text.h"
#include "WindowColours.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// The grid's own look of a data cell, to which the window's drawing is added.
constexpr int kDefaultTextOffset = 2;
// Mailbox rows' texts stand this far below the cell's top edge.
constexpr int kTextTop = 5;

// Paints every data cell the grid's default way, then hands it to the window.
class CellDrawing final : public QStyledItemDelegate {
public:
    explicit CellDrawing(TForm1 &form) : QStyledItemDelegate(form.StringGrid1), FForm(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight
                                                                     : QPalette::Base));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(kDefaultTextOffset, kDefaultTextOffset, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        FForm.StringGrid1DrawCell(*painter, index.column(), index.row() + 1, option.rect, selected);
        painter->restore();
    }

private:
    TForm1 &FForm;
};

}  // namespace

void TForm1::InstallCellDrawing()
{
    StringGrid1->setItemDelegate(new CellDrawing(*this));
}

void TForm1::StringGrid1DrawCell(QPainter &painter, int ACol, int ARow, const QRect &Rect,
                                 bool selected)
{
    if (mailList.empty()) {
        // The empty row of a table without mailboxes: a blue bar when current.
        if (selected && ARow >= 1)
            painter.fillRect(Rect, colours::kSelectedFill);
        return;
    }
    if (ARow < 1)
        return;
    int32_t state = 0;
    for (const std::unique_ptr<threadList> &entry : mailList) {
        if (entry->row == ARow) {
            state = entry->state;
            break;
        }
    }
    const int shade = state >= 0 && state <= 2 ? state : 0;
    painter.fillRect(Rect, selected ? colours::kSelectedFill : colours::kTableBackground);
    painter.setPen(selected ? colours::kSelectedStateText[shade] : colours::kStateText[shade]);
    // The grid's bold font; the text is not clipped to its cell.
    const QFont font = StringGrid1->font();
    painter.setFont(font);
    const int baseline = Rect.top() + kTextTop + QFontMetrics(font).ascent();
    painter.drawText(QPoint(Rect.left(), baseline), fromCp1251(StringGrid1->Cells(ACol, ARow)));
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers /*Shift*/, int X,
                                  int Y)
{
    const TStringGrid::Coord cell = StringGrid1->MouseCoord(X, Y);
    if (Button != Qt::RightButton)
        return;
    if (cell.row > 0) {
        StringGrid1->SetRow(cell.row);
        StringGrid1->SetPopupMenu(PopupMenu1);
    } else {
        StringGrid1->SetPopupMenu(nullptr);
    }
}
