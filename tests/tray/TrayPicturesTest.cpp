#include "TrayPictures.h"

#include <QImage>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QImage PictureImage(int index)
{
    return TrayPictures::ImageList().at(index).toImage().convertToFormat(QImage::Format_ARGB32);
}

enum class Channel { Red, Green, Blue };

struct ColourCount {
    int coloured = 0;  // opaque pixels that are clearly neither white, grey nor black
    int red = 0, green = 0, blue = 0;  // coloured pixels by their strongest channel
    int white = 0;
};

ColourCount CountColours(const QImage &image)
{
    ColourCount count;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 255)
                continue;
            const int high = std::max({c.red(), c.green(), c.blue()});
            const int low = std::min({c.red(), c.green(), c.blue()});
            if (low >= 230) {
                ++count.white;
                continue;
            }
            if (high - low < 60)
                continue;
            ++count.coloured;
            if (high == c.red())
                ++count.red;
            else if (high == c.green())
                ++count.green;
            else
                ++count.blue;
        }
    }
    return count;
}

TEST(TrayPictures, ListHoldsTwoPicturesOf32By32)
{
    const QList<QPixmap> pictures = TrayPictures::ImageList();
    ASSERT_EQ(pictures.size(), 2);
    for (const QPixmap &picture : pictures)
        EXPECT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(TrayPictures::Size, 32);
    EXPECT_EQ(TrayPictures::Normal, 0);
    EXPECT_EQ(TrayPictures::Error, 1);
    EXPECT_EQ(TrayPictures::Blank, 2);
}

struct DominantCase {
    int index;
    Channel channel;
};

class TrayPictureColour : public ::testing::TestWithParam<DominantCase> {};

TEST_P(TrayPictureColour, ColouredAreaIsMostlyOfItsColourWithWhiteLettering)
{
    const ColourCount count = CountColours(PictureImage(GetParam().index));
    // The box fills a good part of the picture, nearly all in its colour.
    EXPECT_GT(count.coloured, 32 * 32 / 3);
    const int dominant = GetParam().channel == Channel::Blue ? count.blue : count.red;
    EXPECT_GT(dominant, count.coloured * 95 / 100)
        << "red " << count.red << ", green " << count.green << ", blue " << count.blue;
    // The lettering and the envelope are white.
    EXPECT_GT(count.white, 80);
}

INSTANTIATE_TEST_SUITE_P(NormalAndError, TrayPictureColour,
                         ::testing::Values(DominantCase{TrayPictures::Normal, Channel::Blue},
                                           DominantCase{TrayPictures::Error, Channel::Red}));

TEST(TrayPictures, ErrorPictureIsTheSameBoxInAnotherColour)
{
    const QImage normal = PictureImage(TrayPictures::Normal);
    const QImage error = PictureImage(TrayPictures::Error);
    ASSERT_EQ(normal.size(), error.size());
    EXPECT_NE(normal, error);
    int differing = 0;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            const QColor a = normal.pixelColor(x, y);
            const QColor b = error.pixelColor(x, y);
            // Same outline: transparent in one exactly where transparent in the other.
            ASSERT_EQ(a.alpha(), b.alpha()) << "at " << x << "," << y;
            // Same lettering: white in one exactly where white in the other.
            ASSERT_EQ(a == Qt::white, b == Qt::white) << "at " << x << "," << y;
            differing += a != b;
        }
    }
    EXPECT_GT(differing, 32 * 32 / 3);
}

TEST(TrayPictures, CornersAreTransparentAndDrawingIsRepeatable)
{
    for (int index : {TrayPictures::Normal, TrayPictures::Error}) {
        const QImage image = PictureImage(index);
        for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
            EXPECT_EQ(image.pixelColor(corner).alpha(), 0) << "picture " << index;
        EXPECT_EQ(image, PictureImage(index)) << "picture " << index;
    }
}

}  // namespace
