#include "UnitConfirm.h"

#include "DialogFrame.h"

TFrmConfirm::TFrmConfirm(QWidget *parent)
    : QDialog(parent)
{
    SetDialogFrame(*this, QStringLiteral("Подтверждение"), 294, 113);
}
