#include <QCoreApplication>

#include <gtest/gtest.h>

// The test program's main thread plays the GUI thread: hand-overs run on it
// while a test processes events.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
