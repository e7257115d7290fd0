#pragma once

#include <QColor>

// The fixed colours of the main window.
namespace colours {

// The table's header row and the status bar.
inline constexpr QColor kSkyBlue(166, 202, 240);
// The table's background: data cells that are not selected and the empty
// area. It stands in for the desktop colour of an inactive caption's text.
inline constexpr QColor kTableBackground(216, 228, 248);
// The fill of the selected row.
inline constexpr QColor kSelectedFill(0, 0, 255);

// Row text by the mailbox's state (0 checked, 1 failed, 2 new letters), for a
// row that is not selected and for the selected one.
inline constexpr QColor kStateText[3] = {QColor(0, 0, 0), QColor(255, 0, 0), QColor(31, 131, 1)};
inline constexpr QColor kSelectedStateText[3] = {QColor(255, 255, 255), QColor(255, 195, 177),
                                                 QColor(155, 255, 169)};

}  // namespace colours
