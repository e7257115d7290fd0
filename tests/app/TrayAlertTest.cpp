// The tray icon's alert, showing and hiding the window, minimising to the
// tray, the taskbar setting and the tray menu.

#include "StatusBar.h"
#include "StringGrid.h"
#include "TaskbarHint.h"
#include "TrayPictures.h"
#include "WindowFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using TrayAlertTest = WindowTest;

constexpr int kNormal = TrayPictures::Normal;
constexpr int kError = TrayPictures::Error;
constexpr int kBlank = TrayPictures::Blank;

// The icon's pictures over a number of ticks of the blinking timer.
std::vector<int> Ticks(TForm1 &form, int count)
{
    std::vector<int> shown;
    for (int i = 0; i < count; ++i) {
        form.Timer1Timer();
        shown.push_back(form.TrayIcon1->IconIndex());
    }
    return shown;
}

TEST_F(TrayAlertTest, AtStartTheIconIsStillWithItsHintAndMenu)
{
    auto form = OpenWindow();
    EXPECT_EQ(form->TrayIcon1->IconIndex(), kNormal);
    EXPECT_EQ(form->TrayIcon1->Hint(), QStringLiteral("Velmo v1.2"));
    EXPECT_EQ(form->Timer1->interval(), 400);
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(form->newMailAlert);
    EXPECT_FALSE(form->errorAlert);
    auto *native = form->TrayIcon1->findChild<QSystemTrayIcon *>();
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->contextMenu(), form->PopupMenu2);
    EXPECT_TRUE(native->isVisible());
}

TEST_F(TrayAlertTest, TheAlertDecisionAndItsTicks)
{
    struct Case {
        const char *name;
        std::string newLetters;  // column 2 of row 1
        int secondState;         // state of mailbox 2
        bool blinkOnError;
        bool timer;
        bool newMailAlert;
        bool errorAlert;
        std::vector<int> ticks;
    };
    const std::vector<Case> cases = {
        {"new mail", "2", 0, true, true, true, false, {kBlank, kNormal, kBlank}},
        {"new mail wins over errors", "1", 1, true, true, true, true, {kBlank, kNormal, kBlank}},
        {"errors blink red", "0", 1, true, true, false, true, {kBlank, kError, kBlank}},
        {"errors without iconerror", "0", 1, false, false, false, false, {kNormal, kNormal, kNormal}},
        {"nothing", "0", 0, true, false, false, false, {kNormal, kNormal, kNormal}},
        {"nothing reported", "", 0, true, false, false, false, {kNormal, kNormal, kNormal}},
    };
    MakeQuietMailbox("a");
    MakeQuietMailbox("b");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto form = OpenWindow();
        form->blinkOnError = c.blinkOnError;
        // An error alert set earlier stays set under new mail.
        form->errorAlert = c.errorAlert && c.newMailAlert;
        form->StringGrid1->SetCells(2, 1, c.newLetters);
        form->mailList[1]->state = c.secondState;

        form->UpdateTotals();
        EXPECT_EQ(form->Timer1->isActive(), c.timer);
        EXPECT_EQ(form->newMailAlert, c.newMailAlert);
        EXPECT_EQ(form->errorAlert, c.errorAlert);
        EXPECT_EQ(form->TrayIcon1->IconIndex(), kNormal);
        EXPECT_EQ(Ticks(*form, 3), c.ticks);
    }
}

TEST_F(TrayAlertTest, AnAlertEndingShowsTheNormalPictureAtOnce)
{
    MakeQuietMailbox("a");
    auto form = OpenWindow();
    form->mailList[0]->state = 1;
    form->UpdateTotals();
    form->Timer1Timer();
    ASSERT_EQ(form->TrayIcon1->IconIndex(), kBlank);

    // The setting switched off: the blinking stops with the next recount.
    form->blinkOnError = false;
    form->Timer1Timer();
    EXPECT_EQ(form->TrayIcon1->IconIndex(), kBlank);  // a tick alone changes nothing
    form->UpdateTotals();
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_FALSE(form->errorAlert);
    EXPECT_EQ(form->TrayIcon1->IconIndex(), kNormal);
}

TEST_F(TrayAlertTest, TheTimerDrivesTheBlinking)
{
    MakeQuietMailbox("a");
    auto form = OpenWindow();
    form->StringGrid1->SetCells(2, 1, "3");
    form->UpdateTotals();
    ASSERT_TRUE(form->Timer1->isActive());
    EXPECT_TRUE(WaitUntil([&] { return form->TrayIcon1->IconIndex() == kBlank; }));
    EXPECT_TRUE(WaitUntil([&] { return form->TrayIcon1->IconIndex() == kNormal; }));
}

// New letters in one mailbox, another failing: marking all as read ends the
// new-mail alert at once; what follows depends on "iconerror".
TEST_F(TrayAlertTest, MarkingAllAsReadEndsTheNewMailAlertAtOnce)
{
    ScriptedPop3Server fresh(
        Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK 2 b2", "+OK 1 b1", "+OK bye"}));
    ScriptedPop3Server failing(Replies({"+OK ready", "-ERR down"}));
    struct Case {
        const char *iconerror;
        bool timerAfter;
        std::vector<int> ticksAfter;
    };
    const std::vector<Case> cases = {
        {"0", false, {kNormal, kNormal}},
        {"1", true, {kError, kBlank}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.iconerror);
        // Afresh each time: marking stores the letter.
        MakeServerMailbox("fresh", fresh.port());
        MakeServerMailbox("failing", failing.port());
        FDir.write("velmo/globaloptions.velmo", std::string("[interface]\r\niconerror=") + c.iconerror + "\r\n");
        auto form = OpenWindow();
        ASSERT_TRUE(WaitUntil([&] {
            return form->StatusBar1->PanelText(1) == Cp("Новых: 2")
                && form->StatusBar1->PanelText(2) == Cp("Ошибок: 1");
        }));
        ASSERT_TRUE(WaitUntilWaiting("fresh"));
        // The timer may have ticked while the checks ran: start from the normal picture.
        form->TrayIcon1->SetIconIndex(kNormal);
        EXPECT_EQ(Ticks(*form, 2), (std::vector<int>{kBlank, kNormal}));
        form->Timer1Timer();
        ASSERT_EQ(form->TrayIcon1->IconIndex(), kBlank);

        form->ItemReadLetterAllClick();
        EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: 0"));
        EXPECT_FALSE(form->newMailAlert);
        EXPECT_EQ(form->Timer1->isActive(), c.timerAfter);
        if (!c.timerAfter) {
            EXPECT_EQ(form->TrayIcon1->IconIndex(), kNormal);
        }
        EXPECT_EQ(Ticks(*form, 2), c.ticksAfter);
    }
}

TEST_F(TrayAlertTest, TrayClicksHideAndShowTheWindow)
{
    auto form = OpenWindow();
    form->show();
    ASSERT_TRUE(form->windowShown);

    form->TrayIcon1Click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->windowShown);
    form->TrayIcon1Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->windowShown);

    // The tray menu's first item does the same.
    form->N3->trigger();
    EXPECT_FALSE(form->isVisible());
    form->N3->trigger();
    EXPECT_TRUE(form->isVisible());

    // A double click is two clicks: the window ends where it started.
    auto *native = form->TrayIcon1->findChild<QSystemTrayIcon *>();
    emit native->activated(QSystemTrayIcon::Trigger);
    emit native->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->windowShown);
}

TEST_F(TrayAlertTest, TheMinimiseButtonSendsTheWindowToTheTrayWhenThereIsOne)
{
    FTrayAvailable = true;
    auto form = OpenWindow();
    form->show();
    form->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(WaitUntil([&] { return !form->isVisible(); }));
    EXPECT_FALSE(form->windowShown);

    form->TrayIcon1Click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->windowShown);
}

TEST_F(TrayAlertTest, WithoutATrayTheMinimiseButtonMinimisesAsUsual)
{
    FTrayAvailable = false;
    auto form = OpenWindow();
    form->show();
    form->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_TRUE(form->windowShown);
}

TEST_F(TrayAlertTest, TheTaskbarButtonIsHiddenOnlyWithTheSettingAndATray)
{
    struct Case {
        bool setting;
        bool tray;
    };
    MakeFolder("velmo");
    for (const Case c : {Case{false, false}, Case{false, true}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "setting " << c.setting << ", tray " << c.tray);
        FDir.write("velmo/globaloptions.velmo",
                   std::string("[interface]\r\ntaskbar=") + (c.setting ? "1" : "0") + "\r\n");
        FTrayAvailable = c.tray;
        auto form = OpenWindow();
        auto *hint = form->findChild<TaskbarHint *>();
        ASSERT_NE(hint, nullptr);
        const bool hidden = c.setting && c.tray;
        EXPECT_EQ(hint->SkipTaskbar(), hidden);

        // Taken up again at every restore and activation.
        form->hideTaskbarButton = !c.setting;
        form->TrayIcon1Restore();
        EXPECT_EQ(hint->SkipTaskbar(), !c.setting && c.tray);
        form->hideTaskbarButton = c.setting;
        form->FormActivate();
        EXPECT_EQ(hint->SkipTaskbar(), hidden);
    }
}

TEST_F(TrayAlertTest, TheTrayMenuAndItsExit)
{
    auto form = OpenWindow();
    const QList<QAction *> items = form->PopupMenu2->actions();
    ASSERT_EQ(items.size(), 5);
    const std::vector<QAction *> named = {form->N3, form->N7, form->N12, form->N11, form->N10};
    const std::vector<QString> captions = {QStringLiteral("Открыть\\Закрыть"), QString(),
                                           QStringLiteral("Пометить как прочитанные все"),
                                           QString(), QStringLiteral("Выход")};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i], named[i]);
        EXPECT_EQ(items[i]->isSeparator(), captions[i].isEmpty());
        EXPECT_EQ(items[i]->text(), captions[i]);
    }

    form->show();
    QTimer::singleShot(0, form.get(), [&] { form->N10->trigger(); });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    bound.start(30000);
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
