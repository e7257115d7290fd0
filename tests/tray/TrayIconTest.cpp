#include "TrayIcon.h"
#include "TrayPictures.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TrayIconTest : public ::testing::Test {
protected:
    // The QSystemTrayIcon the wrapper drives.
    QSystemTrayIcon *Native() { return tray.findChild<QSystemTrayIcon *>(); }

    QImage Shown()
    {
        return Native()->icon().pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(
            QImage::Format_ARGB32);
    }

    static QImage Picture(int index)
    {
        return TrayPictures::ImageList().at(index).toImage().convertToFormat(QImage::Format_ARGB32);
    }

    QWidget window;
    TrayIcon tray{&window, TrayPictures::ImageList()};
};

bool FullyTransparent(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 0)
                return false;
    return true;
}

TEST_F(TrayIconTest, VisibleFromCreationWithTheNormalPicture)
{
    ASSERT_NE(Native(), nullptr);
    EXPECT_TRUE(Native()->isVisible());
    EXPECT_EQ(tray.IconIndex(), 0);
    EXPECT_EQ(Shown(), Picture(TrayPictures::Normal));
}

TEST_F(TrayIconTest, IconIndexShowsItsPictureOrABlankOneAndReadsBack)
{
    struct Case {
        int index;
        int picture;  // -1: blank
    };
    const std::vector<Case> cases = {
        {1, 1}, {2, -1}, {0, 0}, {2, -1}, {1, 1}, {-1, -1}, {7, -1}, {0, 0},
    };
    for (const Case &c : cases) {
        tray.SetIconIndex(c.index);
        EXPECT_EQ(tray.IconIndex(), c.index);
        const QImage shown = Shown();
        EXPECT_EQ(shown.size(), QSize(32, 32)) << "index " << c.index;
        if (c.picture < 0)
            EXPECT_TRUE(FullyTransparent(shown)) << "index " << c.index;
        else
            EXPECT_EQ(shown, Picture(c.picture)) << "index " << c.index;
    }
}

TEST_F(TrayIconTest, HintIsKeptWithItsLineFeeds)
{
    const std::vector<QString> hints = {
        QStringLiteral("Velmo v1.2"),
        QStringLiteral("Всего писем: 12\nНовых писем: 3\nОшибок : 1"),
        QString(),
    };
    for (const QString &hint : hints) {
        tray.SetHint(hint);
        EXPECT_EQ(tray.Hint(), hint);
        EXPECT_EQ(Native()->toolTip(), hint);
    }
}

TEST_F(TrayIconTest, PopupMenuIsTheTrayIconsContextMenu)
{
    QMenu menu;
    tray.SetPopupMenu(&menu);
    EXPECT_EQ(Native()->contextMenu(), &menu);
}

TEST_F(TrayIconTest, EveryLeftButtonPressRaisesOnClick)
{
    struct Case {
        std::vector<QSystemTrayIcon::ActivationReason> activations;
        int clicks;
    };
    const std::vector<Case> cases = {
        {{QSystemTrayIcon::Trigger}, 1},
        {{QSystemTrayIcon::Context}, 0},
        {{QSystemTrayIcon::MiddleClick}, 0},
        {{QSystemTrayIcon::Unknown}, 0},
        // A double click as X11 reports it: its second press comes as DoubleClick.
        {{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}, 2},
        {{QSystemTrayIcon::Trigger, QSystemTrayIcon::Context, QSystemTrayIcon::Trigger}, 2},
    };
    for (const Case &c : cases) {
        int clicks = 0;
        const auto connection = QObject::connect(&tray, &TrayIcon::OnClick, [&clicks] { ++clicks; });
        for (QSystemTrayIcon::ActivationReason reason : c.activations)
            emit Native()->activated(reason);
        QObject::disconnect(connection);
        EXPECT_EQ(clicks, c.clicks) << "first reason " << c.activations.front();
    }
}

TEST_F(TrayIconTest, MinimizeHidesAndRestoreShowsThenTheirEventsRunInOrder)
{
    std::vector<std::string> events;
    QObject::connect(&tray, &TrayIcon::OnMinimize, [&] {
        events.push_back(window.isVisible() ? "minimize, window shown" : "minimize, window hidden");
    });
    QObject::connect(&tray, &TrayIcon::OnRestore, [&] {
        events.push_back(window.isVisible() ? "restore, window shown" : "restore, window hidden");
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    tray.Minimize();
    EXPECT_FALSE(window.isVisible());
    tray.Restore();
    EXPECT_TRUE(window.isVisible());
    tray.Minimize();

    const std::vector<std::string> expected = {
        "minimize, window hidden", "restore, window shown", "minimize, window hidden"};
    EXPECT_EQ(events, expected);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(TrayIconTest, RestoreActivatesTheWindow)
{
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));

    tray.Minimize();
    tray.Restore();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(TrayIconTest, RestoreUndoesMinimisingAndKeepsTheOtherStates)
{
    struct Case {
        Qt::WindowStates before;
        Qt::WindowStates after;
    };
    const std::vector<Case> cases = {
        {Qt::WindowNoState, Qt::WindowNoState},
        {Qt::WindowMinimized, Qt::WindowNoState},
        {Qt::WindowMinimized | Qt::WindowMaximized, Qt::WindowMaximized},
        {Qt::WindowMaximized, Qt::WindowMaximized},
    };
    for (const Case &c : cases) {
        window.setWindowState(c.before);
        window.show();
        tray.Minimize();
        tray.Restore();
        EXPECT_TRUE(window.isVisible()) << "state before " << c.before.toInt();
        EXPECT_EQ(window.windowState(), c.after) << "state before " << c.before.toInt();
    }
}

TEST(TrayIcon, ReportsNoTrayOnTheOffscreenPlatform)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "only the offscreen platform is known to have no tray";
    EXPECT_FALSE(TrayIcon::IsAvailable());
}

}  // namespace
