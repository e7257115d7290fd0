#include "UnitAbout.h"

#include "DialogFrame.h"

TFrmAbout::TFrmAbout(QWidget *parent)
    : QDialog(parent)
{
    SetDialogFrame(*this, QStringLiteral("О программе Velmo v1.2"), 418, 238);
}
