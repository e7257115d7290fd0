#include "UnitOptMail.h"

#include "DialogFrame.h"

TFrmOption::TFrmOption(QWidget *parent)
    : QDialog(parent)
{
    SetDialogFrame(*this, QStringLiteral("Настройки нового ящика"), 256, 324);
}
