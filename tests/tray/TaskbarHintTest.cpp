#include "TaskbarHint.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Without X11 the hint changes nothing about the window: it stays as it was,
// visible or not, with its flags and state, and nothing fails.
TEST(TaskbarHint, WithoutX11SettingItLeavesTheWindowAsItWas)
{
    ASSERT_NE(QGuiApplication::platformName(), QLatin1String("xcb"));
    struct Case {
        bool shown;
        bool skip;
    };
    const std::vector<Case> cases = {{false, true}, {false, false}, {true, true}, {true, false}};
    for (const Case &c : cases) {
        QWidget window;
        if (c.shown) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        const Qt::WindowFlags flags = window.windowFlags();
        SetSkipTaskbar(&window, c.skip);
        EXPECT_EQ(window.isVisible(), c.shown);
        EXPECT_EQ(window.windowFlags(), flags);
        EXPECT_EQ(window.windowState(), Qt::WindowNoState);
        EXPECT_EQ(window.windowHandle() != nullptr, c.shown) << "a hidden window is not created";
    }
}

TEST(TaskbarHint, KeepsTheSettingAcrossHideAndShow)
{
    QWidget window;
    auto *hint = new TaskbarHint(&window);
    EXPECT_EQ(hint->parent(), &window);
    EXPECT_FALSE(hint->SkipTaskbar());

    hint->SetSkipTaskbar(true);
    const Qt::WindowFlags flags = window.windowFlags();
    for (int round = 0; round < 2; ++round) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_TRUE(window.isVisible());
        window.hide();
        EXPECT_TRUE(hint->SkipTaskbar());
    }
    EXPECT_EQ(window.windowFlags(), flags);

    hint->SetSkipTaskbar(false);
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(hint->SkipTaskbar());
}

}  // namespace
