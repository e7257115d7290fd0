#pragma once

#include <QList>
#include <QPixmap>

// The image list of the tray icon: a letter box lettered "ПОЧТА", drawn pixel
// by pixel so that it stays crisp at tray size and looks the same everywhere.
namespace TrayPictures {

inline constexpr int Size = 32;

// Indexes into the image list, as the tray icon takes them.
inline constexpr int Normal = 0;  // the blue letter box
inline constexpr int Error = 1;   // the same letter box in red
inline constexpr int Blank = 2;   // beyond the list: the tray place stays blank

// The pictures Normal and Error, Size × Size each, transparent around the box.
QList<QPixmap> ImageList();

}  // namespace TrayPictures
