#pragma once

#include <QFont>

// The desktop's default sans-serif font at the given size: the font the
// program's windows are laid out for (8 points, bold where a form says so).
QFont DesktopFont(int pointSize = 8, bool bold = false);
