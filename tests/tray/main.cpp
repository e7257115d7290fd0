#include <QApplication>

#include <gtest/gtest.h>

// The tests need a QApplication for pixmaps, widgets and the tray icon; they
// are meant for the offscreen platform, which is taken unless another is named.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
