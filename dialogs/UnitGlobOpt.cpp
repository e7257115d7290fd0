#include "UnitGlobOpt.h"

#include "DialogFrame.h"

TFrmGlobOpt::TFrmGlobOpt(QWidget *parent)
    : QDialog(parent)
{
    SetDialogFrame(*this, QStringLiteral("Общие настройки программы"), 356, 133);
}
