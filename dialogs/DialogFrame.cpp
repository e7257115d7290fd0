#include "DialogFrame.h"

#include "DesktopFont.h"

#include <QDialog>

void SetDialogFrame(QDialog &dialog, const QString &caption, int clientWidth, int clientHeight)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(caption);
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.setFont(DesktopFont());
}
