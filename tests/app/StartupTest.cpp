// The main window's start-up: the settings folder, the program settings and
// the mailbox list loaded from the mailbox folders.

#include "AppFixture.h"
#include "Interval.h"
#include "ModalBoxWatcher.h"
#include "StringGrid.h"
#include "Text.h"
#include "UnitMailThread.h"
#include "UnitVelmo.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

namespace {

using StartupTest = InTempDir;

std::string Options(const std::string &keys)
{
    return "[user]\r\n" + keys;
}

std::vector<std::string> Names(const TForm1 &form)
{
    std::vector<std::string> names;
    for (const auto &entry : form.mailList)
        names.push_back(entry->info.namemail);
    return names;
}

}  // namespace

TEST_F(StartupTest, MailboxFoldersBecomeRowsInTheOrderOfTheirNames)
{
    // Made out of order; the folder "b" names its mailbox differently.
    MakeMailbox("c", Options("host=pop.c.example\r\nport=995\r\nuser=carl\r\npassword= p w \r\n"
                             "time=5\r\nletter=UID-77\r\nnamemail=c\r\n"));
    MakeMailbox("a", Options("namemail=a\r\n"));
    MakeMailbox("b", Options("namemail=\xc1\xee\xf0\xe8\xf1\r\n"));  // "Борис"
    MakeFolder("velmo/a-no-options");
    FDir.write("velmo/plain-file", "[user]\r\nnamemail=file\r\n");
    FDir.write("velmo/globaloptions.velmo", "[interface]\r\ntaskbar=1\r\n");

    ModalBoxWatcher watcher;
    TForm1 form;

    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(form.mailCount, 3);
    ASSERT_EQ(form.mailList.size(), 3u);
    EXPECT_EQ(Names(form), (std::vector<std::string>{"a", "\xc1\xee\xf0\xe8\xf1", "c"}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TForm1::threadList &entry = *form.mailList[i];
        EXPECT_EQ(entry.row, i + 1);
        EXPECT_EQ(entry.state, 0);
        ASSERT_NE(entry.thread, nullptr);
        EXPECT_EQ(entry.threadId, entry.thread->ThreadID());
        EXPECT_EQ(form.StringGrid1->Cells(0, i + 1), entry.info.namemail);
        EXPECT_EQ(form.StringGrid1->Cells(1, i + 1), "");
        EXPECT_EQ(form.IndexOfRow(i + 1), i);
    }
    EXPECT_EQ(form.StringGrid1->RowCount(), 4);
    EXPECT_EQ(form.StringGrid1->item(1, 0)->text(), QStringLiteral("Борис"));
    // One check thread per mailbox, each with its own id.
    EXPECT_NE(form.mailList[0]->threadId, form.mailList[1]->threadId);
    EXPECT_NE(form.mailList[1]->threadId, form.mailList[2]->threadId);
    EXPECT_NE(form.mailList[0]->threadId, form.mailList[2]->threadId);

    mailInfo c;
    c.host = "pop.c.example";
    c.port = 995;
    c.user = "carl";
    c.password = "p w";
    c.interval = 5 * 60000;
    c.letter = "UID-77";
    c.namemail = "c";
    c.timeout = 30000;
    EXPECT_EQ(form.mailList[2]->info, c);

    // The header row is written after the mailboxes, in its place.
    EXPECT_EQ(form.StringGrid1->Cells(0, 0), cp1251("Название ящика"));
}

TEST_F(StartupTest, IndexOfRowIsMinusOneOutsideTheMailboxRows)
{
    MakeMailbox("a", Options("namemail=a\r\n"));
    MakeMailbox("b", Options("namemail=b\r\n"));
    TForm1 form;

    ASSERT_EQ(form.mailCount, 2);
    for (int row : {0, -1, INT_MIN, 3, 4, INT_MAX}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(form.IndexOfRow(row), -1);
    }
    EXPECT_EQ(form.IndexOfRow(2), 1);
}

TEST_F(StartupTest, SetThreadStateGoesToTheEntryOfThatThreadOnly)
{
    MakeMailbox("a", Options("namemail=a\r\n"));
    MakeMailbox("b", Options("namemail=b\r\n"));
    MakeMailbox("c", Options("namemail=c\r\n"));
    TForm1 form;
    ASSERT_EQ(form.mailCount, 3);
    form.mailList[0]->threadId = 101;
    form.mailList[1]->threadId = 102;
    form.mailList[2]->threadId = 103;

    form.SetThreadState(102, 2);
    form.SetThreadState(103, 1);
    EXPECT_EQ(form.mailList[0]->state, 0);
    EXPECT_EQ(form.mailList[1]->state, 2);
    EXPECT_EQ(form.mailList[2]->state, 1);

    // A thread whose mailbox is gone: nothing changes.
    form.SetThreadState(999, 1);
    form.SetThreadState(0, 1);
    EXPECT_EQ(form.mailList[0]->state, 0);
    EXPECT_EQ(form.mailList[1]->state, 2);
    EXPECT_EQ(form.mailList[2]->state, 1);
}

TEST_F(StartupTest, OptionsFileWithOnlyItsSectionLoadsTheDefaults)
{
    MakeMailbox("bare", "[user]\r\n");
    TForm1 form;

    ASSERT_EQ(form.mailCount, 1);
    mailInfo defaults;
    defaults.port = 110;
    defaults.interval = 600000;
    defaults.letter = "0";
    defaults.timeout = 30000;
    EXPECT_EQ(form.mailList[0]->info, defaults);
    EXPECT_EQ(form.StringGrid1->Cells(0, 1), "");
    EXPECT_EQ(form.StringGrid1->RowCount(), 2);
}

TEST_F(StartupTest, NumbersInTheOptionsFile)
{
    struct Case {
        std::string keys;
        int32_t port;
        int32_t interval;
    };
    const std::vector<Case> cases = {
        {"time=0\r\n", 110, 0},
        {"port=0x6E\r\n", 110, 600000},
        {"port=abc\r\ntime=x\r\n", 110, 600000},
        {"port=995\r\ntime=1\r\n", 995, 60000},
        {"time=35791\r\n", 110, 35791 * 60000},
        // Milliseconds beyond 32 bits stop at the largest interval that fits.
        {"time=35792\r\n", 110, INT32_MAX},
        {"time=2147483647\r\n", 110, INT32_MAX},
        {"time=-1\r\n", 110, -60000},
        {"time=-2147483648\r\n", 110, INT32_MIN},
    };
    for (size_t i = 0; i < cases.size(); ++i)
        MakeMailbox("box" + std::to_string(i), Options(cases[i].keys));

    TForm1 form;

    ASSERT_EQ(form.mailList.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].keys);
        EXPECT_EQ(form.mailList[i]->info.port, cases[i].port);
        EXPECT_EQ(form.mailList[i]->info.interval, cases[i].interval);
    }
}

TEST(IntervalTest, MinutesToMillisecondsClampedTo32Bits)
{
    EXPECT_EQ(IntervalFromMinutes(0), 0);
    EXPECT_EQ(IntervalFromMinutes(10), 600000);
    EXPECT_EQ(IntervalFromMinutes(35791), 2147460000);
    EXPECT_EQ(IntervalFromMinutes(35792), INT32_MAX);
    EXPECT_EQ(IntervalFromMinutes(INT32_MAX), INT32_MAX);
    EXPECT_EQ(IntervalFromMinutes(-35791), -2147460000);
    EXPECT_EQ(IntervalFromMinutes(-35792), INT32_MIN);
    EXPECT_EQ(IntervalFromMinutes(INT32_MIN), INT32_MIN);
}

TEST_F(StartupTest, NoSettingsFolderIsCreatedAndTheTableKeepsOneEmptyRow)
{
    ModalBoxWatcher watcher;
    TForm1 form;

    EXPECT_TRUE(IsFolder("velmo"));
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(form.mailCount, 0);
    EXPECT_TRUE(form.mailList.empty());
    EXPECT_EQ(form.StringGrid1->RowCount(), 2);
    EXPECT_EQ(form.StringGrid1->Cells(0, 1), "");
    EXPECT_EQ(form.IndexOfRow(1), -1);
    EXPECT_FALSE(form.hideTaskbarButton);
    EXPECT_TRUE(form.blinkOnError);
    EXPECT_FALSE(form.windowShown);
    EXPECT_EQ(form.StringGrid1->RowHeight(0), 18);
}

TEST_F(StartupTest, AFileNamedVelmoCountsAsTheSettingsFolder)
{
    FDir.write("velmo", "not a folder");
    ModalBoxWatcher watcher;
    TForm1 form;

    EXPECT_TRUE(IsFile("velmo"));
    EXPECT_EQ(FDir.read("velmo"), "not a folder");
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(form.mailCount, 0);
    EXPECT_EQ(form.StringGrid1->RowCount(), 2);
    EXPECT_FALSE(form.hideTaskbarButton);
    EXPECT_TRUE(form.blinkOnError);
}

TEST_F(StartupTest, OnlyVelmoAndVelmoCapitalisedCountAsTheSettingsFolder)
{
    // "VELMO" does not count: "velmo" is created beside it and its mailbox is not loaded.
    MakeFolder("VELMO/box");
    FDir.write("VELMO/box/options.velmo", Options("namemail=box\r\n"));
    {
        ModalBoxWatcher watcher;
        TForm1 form;
        EXPECT_TRUE(IsFolder("velmo"));
        EXPECT_TRUE(watcher.Boxes().empty());
        EXPECT_EQ(form.mailCount, 0);
    }
    std::filesystem::remove(FDir.file("velmo"));

    // "Velmo" counts as found, so nothing is created; on a file system that
    // tells case apart, "velmo" is then missing and no mailbox loads.
    std::filesystem::rename(FDir.file("VELMO"), FDir.file("Velmo"));
    ModalBoxWatcher watcher;
    TForm1 form;
    EXPECT_FALSE(std::filesystem::exists(FDir.file("velmo")));
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(form.mailCount, 0);
}

TEST_F(StartupTest, ProgramSettings)
{
    struct Case {
        std::string file;
        bool hideTaskbarButton;
        bool blinkOnError;
    };
    const std::vector<Case> cases = {
        {"", false, true},
        {"[interface]\r\n", false, true},
        {"[interface]\r\ntaskbar=1\r\niconerror=0\r\n", true, false},
        {"[Interface]\r\nTaskbar=7\r\nIconError=1\r\n", true, true},
        {"[interface]\r\ntaskbar=abc\r\niconerror=abc\r\n", false, true},
        {"[other]\r\ntaskbar=1\r\niconerror=0\r\n", false, true},
    };
    MakeFolder("velmo");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        if (c.file.empty())
            std::filesystem::remove(FDir.file("velmo/globaloptions.velmo"));
        else
            FDir.write("velmo/globaloptions.velmo", c.file);
        TForm1 form;
        EXPECT_EQ(form.hideTaskbarButton, c.hideTaskbarButton);
        EXPECT_EQ(form.blinkOnError, c.blinkOnError);
    }
}

TEST_F(StartupTest, LoadGlobalOptionsReadsTheGivenFolder)
{
    MakeFolder("elsewhere");
    FDir.write("elsewhere/globaloptions.velmo", "[interface]\r\ntaskbar=1\r\niconerror=0\r\n");
    TForm1 form;
    ASSERT_FALSE(form.hideTaskbarButton);

    form.LoadGlobalOptions(FDir.file("elsewhere"));
    EXPECT_TRUE(form.hideTaskbarButton);
    EXPECT_FALSE(form.blinkOnError);

    form.LoadGlobalOptions(FDir.file("missing"));
    EXPECT_FALSE(form.hideTaskbarButton);
    EXPECT_TRUE(form.blinkOnError);
}

TEST_F(StartupTest, OddEntriesOfTheSettingsFolderLoadOrAreSkippedWithoutHarm)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
    MakeMailbox("garbage", garbage);
    MakeMailbox("bad-\xff\xfe-name", Options("namemail=odd\r\n"));
    MakeMailbox("\xc1\xee\xf0\xe8\xf1", Options("namemail=cp1251 folder\r\n"));
    std::filesystem::create_symlink("loop", FDir.file("velmo/loop"));
    std::filesystem::create_symlink("missing-target", FDir.file("velmo/dangling"));
    MakeFolder("velmo/.hidden");
    FDir.write("velmo/.hidden/options.velmo", Options("namemail=hidden\r\n"));

    ModalBoxWatcher watcher;
    TForm1 form;

    EXPECT_TRUE(watcher.Boxes().empty());
    // Every folder with an options file is a mailbox, whatever the file holds;
    // a hidden folder is not listed.
    std::vector<std::string> names = Names(form);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "odd");
    EXPECT_EQ(names[2], "cp1251 folder");
    EXPECT_EQ(form.mailList[1]->info.timeout, 30000);
    EXPECT_EQ(form.StringGrid1->RowCount(), 4);
}

TEST_F(StartupTest, DotEntriesAreHandedToTheLoaderLikeAnyOther)
{
    // The walk does not filter names: "." stands for the settings folder itself
    // and ".." for the current directory.
    MakeFolder("velmo");
    FDir.write("velmo/options.velmo", Options("namemail=dot\r\n"));
    FDir.write("options.velmo", Options("namemail=dotdot\r\n"));
    MakeMailbox("a", Options("namemail=a\r\n"));

    TForm1 form;

    EXPECT_EQ(Names(form), (std::vector<std::string>{"dot", "dotdot", "a"}));
}

TEST_F(StartupTest, RefusedSettingsFolderIsReportedAndStartUpGoesOn)
{
    // Nobody, not even root, may make a folder in /proc.
    CurrentDirectory proc("/proc");
    ModalBoxWatcher watcher;
    TForm1 form;

    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].text, QStringLiteral("Не удалось создать каталог"));
    EXPECT_EQ(watcher.Boxes()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(form.mailCount, 0);
    EXPECT_EQ(form.StringGrid1->RowCount(), 2);
    EXPECT_FALSE(form.hideTaskbarButton);
    EXPECT_TRUE(form.blinkOnError);
    EXPECT_EQ(form.StringGrid1->RowHeight(0), 18);
}
