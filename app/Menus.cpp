#include "UnitVelmo.h"

#include <QAction>
#include <QMenu>

// The table's pop-up menu and the tray menu, with the items whose commands
// the window has.
void TForm1::BuildMenus()
{
    PopupMenu1 = new QMenu(this);
    PopReadLetter = PopupMenu1->addAction(QStringLiteral("Пометить как прочитанный"));
    N9 = PopupMenu1->addSeparator();
    PopCheckNow = PopupMenu1->addAction(QStringLiteral("Проверить сейчас..."));
    PopupMenu1->setDefaultAction(PopCheckNow);
    QFont bold = PopCheckNow->font();
    bold.setBold(true);
    PopCheckNow->setFont(bold);
    connect(PopReadLetter, &QAction::triggered, this, &TForm1::ItemReadLetterClick);
    connect(PopCheckNow, &QAction::triggered, this, &TForm1::ItemCheckNowClick);

    PopupMenu2 = new QMenu(this);
    N3 = PopupMenu2->addAction(QStringLiteral("Открыть\\Закрыть"));
    N7 = PopupMenu2->addSeparator();
    N12 = PopupMenu2->addAction(QStringLiteral("Пометить как прочитанные все"));
    N11 = PopupMenu2->addSeparator();
    N10 = PopupMenu2->addAction(QStringLiteral("Выход"));
    connect(N3, &QAction::triggered, this, &TForm1::N3Click);
    connect(N12, &QAction::triggered, this, &TForm1::ItemReadLetterAllClick);
    connect(N10, &QAction::triggered, this, &TForm1::ItexExitsClick);
}
