#include "DesktopFont.h"

#include <QFontDatabase>

QFont DesktopFont(int pointSize, bool bold)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}
