#include "TrayPictures.h"

#include <QColor>
#include <QImage>

#include <array>

namespace TrayPictures {
namespace {

// One character per pixel: '.' transparent, 'D' outline and base, 'L' the lit
// lid, 'B' the body, 'S' the letter slot, 'W' the lettering and the envelope.
constexpr std::array<const char *, Size> LetterBoxMap = {
    "................................",
    "................................",
    "......DDDDDDDDDDDDDDDDDDDD......",
    "....DDLLLLLLLLLLLLLLLLLLLLDD....",
    "...DLLLLLLLLLLLLLLLLLLLLLLLLD...",
    "..DLLLLLLLLLLLLLLLLLLLLLLLLLLD..",
    ".DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBBBBBBSSSSSSSSSSSSSSSSBBBBBBD.",
    ".DBBBBBBSSSSSSSSSSSSSSSSBBBBBBD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBWWWWBBWWBBWBBWBWWWWWBBBWBBBD.",
    ".DBWBBWBWBBWBWBBWBBBWBBBBWBWBBD.",
    ".DBWBBWBWBBWBWBBWBBBWBBBWBBBWBD.",
    ".DBWBBWBWBBWBBWWWBBBWBBBWBBBWBD.",
    ".DBWBBWBWBBWBBBBWBBBWBBBWWWWWBD.",
    ".DBWBBWBWBBWBBBBWBBBWBBBWBBBWBD.",
    ".DBWBBWBBWWBBBBBWBBBWBBBWBBBWBD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBBBBBBBBBBBBBBBBBBBBBBBBBBBBD.",
    ".DBBBBBBBBBWWWWWWWWWWBBBBBBBBBD.",
    ".DBBBBBBBBBWBWWWWWWBWBBBBBBBBBD.",
    ".DBBBBBBBBBWWBWWWWBWWBBBBBBBBBD.",
    ".DBBBBBBBBBWWWBWWBWWWBBBBBBBBBD.",
    ".DBBBBBBBBBWWWWBBWWWWBBBBBBBBBD.",
    ".DBBBBBBBBBWWWWWWWWWWBBBBBBBBBD.",
    ".DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD.",
    ".DDDDDDDDDDDDDDDDDDDDDDDDDDDDDD.",
    "................................",
    "................................",
};

struct Palette {
    QColor outline, lid, body, slot, white;
};

QPixmap DrawLetterBox(const Palette &palette)
{
    QImage image(Size, Size, QImage::Format_ARGB32);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            QColor colour(Qt::transparent);
            switch (LetterBoxMap[y][x]) {
            case 'D': colour = palette.outline; break;
            case 'L': colour = palette.lid; break;
            case 'B': colour = palette.body; break;
            case 'S': colour = palette.slot; break;
            case 'W': colour = palette.white; break;
            }
            image.setPixelColor(x, y, colour);
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace

QList<QPixmap> ImageList()
{
    const QColor white(255, 255, 255);
    const Palette blue{QColor(10, 40, 110), QColor(90, 150, 235), QColor(30, 90, 200),
                       QColor(5, 10, 30), white};
    const Palette red{QColor(110, 15, 15), QColor(240, 110, 100), QColor(205, 35, 35),
                      QColor(30, 5, 5), white};
    return {DrawLetterBox(blue), DrawLetterBox(red)};
}

}  // namespace TrayPictures
