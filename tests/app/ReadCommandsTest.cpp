// Check now, check all, mark as read and mark all as read, against scripted
// POP3 peers and the mailboxes' options files.

#include "IniFile.h"
#include "ModalBoxWatcher.h"
#include "StatusBar.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A check that finds letters a5, a6 and a7 (the newest) on the server.
ScriptedPop3Server::Script ThreeLetters()
{
    return Replies({"+OK ready", "+OK", "+OK", "+OK 3 300", "+OK 3 a7", "+OK 2 a6", "+OK 1 a5",
                    "+OK bye"});
}

class ReadCommandsTest : public WindowTest {
protected:
    std::string StoredLetter(const std::string &name) const
    {
        return IniFile(FDir.file("velmo/" + name + "/options.velmo")).ReadString("user", "letter", "");
    }
    // Whether any pixel of row `row`'s name cell has this colour.
    static bool RowShows(TForm1 &form, int row, const QColor &colour)
    {
        TStringGrid &grid = *form.StringGrid1;
        const QImage image = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.model()->index(row - 1, 0));
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }
};

TEST_F(ReadCommandsTest, MarkAsReadStoresTheNewestIdAndTurnsTheRowBlack)
{
    ScriptedPop3Server server(ThreeLetters());
    MakeServerMailbox("box", server.port(), "a4");
    MakeQuietMailbox("other");
    auto form = OpenWindow();
    form->show();
    ASSERT_TRUE(WaitUntil([&] { return form->StatusBar1->PanelText(1) == Cp("Новых: 3"); }));
    ASSERT_TRUE(WaitUntilWaiting("box"));
    ASSERT_EQ(form->mailList[0]->state, 2);
    form->StringGrid1->SetRow(2);
    EXPECT_TRUE(RowShows(*form, 1, QColor(31, 131, 1)));

    form->StringGrid1->SetRow(1);
    form->PopReadLetter->trigger();

    EXPECT_EQ(StoredLetter("box"), "a7");
    EXPECT_EQ(form->mailList[0]->info.letter, "a7");
    EXPECT_EQ(form->mailList[0]->state, 0);
    EXPECT_EQ(form->StringGrid1->Cells(2, 1), "0");
    EXPECT_EQ(form->StringGrid1->Cells(1, 1), "3");
    EXPECT_EQ(form->StringGrid1->Cells(3, 1), Checked());
    EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: 0"));
    EXPECT_FALSE(form->Timer1->isActive());
    EXPECT_EQ(StoredLetter("other"), "0");

    form->StringGrid1->SetRow(2);
    EXPECT_TRUE(RowShows(*form, 1, QColor(0, 0, 0)));
    EXPECT_FALSE(RowShows(*form, 1, QColor(31, 131, 1)));
}

TEST_F(ReadCommandsTest, MarkAsReadOfAFailedMailboxKeepsItsState)
{
    ScriptedPop3Server server(
        Replies({"+OK ready", "+OK", "+OK", "+OK 3 300", "+OK 3 a7", "+OK 2 a6", "-ERR gone"}));
    MakeServerMailbox("box", server.port(), "a4");
    auto form = OpenWindow();
    ASSERT_TRUE(WaitForStatus(*form, 1, Failed(1014)));
    ASSERT_TRUE(WaitUntilWaiting("box"));
    ASSERT_EQ(form->StringGrid1->Cells(2, 1), "2");

    form->ItemReadLetterClick();
    EXPECT_EQ(form->mailList[0]->state, 1);
    EXPECT_EQ(form->StringGrid1->Cells(2, 1), "0");
    EXPECT_EQ(StoredLetter("box"), "a7");
}

// The middle mailbox is in its second check, held by its silent server.
TEST_F(ReadCommandsTest, MarkAllPassesOverTheMailboxBeingChecked)
{
    ScriptedPop3Server first(ThreeLetters());
    ScriptedPop3Server busy({ScriptedPop3Server::reply("+OK ready\r\n"), ScriptedPop3Server::silence()});
    busy.queueScript(ThreeLetters());
    ScriptedPop3Server third(ThreeLetters());
    MakeServerMailbox("a", first.port(), "a4");
    MakeServerMailbox("b", busy.port(), "a4");
    MakeServerMailbox("c", third.port(), "a4");
    auto form = OpenWindow();
    ASSERT_TRUE(WaitUntil([&] { return form->StatusBar1->PanelText(1) == Cp("Новых: 9"); }));
    for (const char *name : {"a", "b", "c"})
        ASSERT_TRUE(WaitUntilWaiting(name)) << name;

    form->StringGrid1->SetRow(2);
    form->PopCheckNow->trigger();
    Steps("b").Grant(1);
    // The thread shows "Проверка" through the GUI thread before it connects.
    ASSERT_TRUE(WaitUntil([&] { return busy.connectionCount() == 2; }));
    ASSERT_TRUE(WaitForStatus(*form, 2, Checking()));

    // Refused while checking, silently.
    ModalBoxWatcher watcher;
    form->ItemReadLetterClick();
    EXPECT_EQ(form->StringGrid1->Cells(2, 2), "3");
    EXPECT_EQ(StoredLetter("b"), "a4");

    form->N12->trigger();
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(StoredLetter("a"), "a7");
    EXPECT_EQ(StoredLetter("b"), "a4");
    EXPECT_EQ(StoredLetter("c"), "a7");
    EXPECT_EQ(form->StringGrid1->Cells(2, 1), "0");
    EXPECT_EQ(form->StringGrid1->Cells(2, 2), "3");
    EXPECT_EQ(form->StringGrid1->Cells(2, 3), "0");
    EXPECT_EQ(form->mailList[0]->state, 0);
    EXPECT_EQ(form->mailList[1]->state, 2);
    EXPECT_EQ(form->mailList[2]->state, 0);
    EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: 3"));
}

TEST_F(ReadCommandsTest, CheckNowChecksTheCurrentMailboxAndCheckAllEveryOne)
{
    ScriptedPop3Server first(ThreeLetters());
    ScriptedPop3Server second(ThreeLetters());
    MakeServerMailbox("a", first.port(), "a4");
    MakeServerMailbox("b", second.port(), "a4");
    auto form = OpenWindow();
    ASSERT_TRUE(WaitUntil([&] { return form->StatusBar1->PanelText(0) == Cp("Всего: 6"); }));

    form->StringGrid1->SetRow(2);
    form->ItemCheckNowClick();
    Steps("a").Grant(1);
    Steps("b").Grant(1);
    // Only the current mailbox ends its wait; the other goes on waiting.
    ASSERT_TRUE(WaitUntil([&] { return second.connectionCount() == 2; }));
    EXPECT_TRUE(WaitUntil([&] { return Steps("a").IsParkedAt(1) && Steps("b").IsParkedAt(1); }));
    EXPECT_EQ(first.connectionCount(), 1u);
    ASSERT_TRUE(WaitForStatus(*form, 2, Checked()));

    form->ItemCheckAllClick();
    Steps("a").Grant(1);
    Steps("b").Grant(1);
    EXPECT_TRUE(WaitUntil([&] { return first.connectionCount() == 2 && second.connectionCount() == 3; }));
}

TEST_F(ReadCommandsTest, WithoutMailboxesTheCommandsDoNothing)
{
    ModalBoxWatcher watcher;
    auto form = OpenWindow();
    form->ItemCheckNowClick();
    form->ItemCheckAllClick();
    form->ItemReadLetterClick();
    form->ItemReadLetterAllClick();
    EXPECT_TRUE(watcher.Boxes().empty());
    EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: "));
    EXPECT_EQ(form->StringGrid1->Cells(2, 1), "");
}

// The options file is found by the mailbox's name; a folder named otherwise
// leaves nowhere to write, and the write error reaches the caller.
TEST_F(ReadCommandsTest, ARefusedWriteEndsTheCommandWithItsError)
{
    ScriptedPop3Server server(ThreeLetters());
    MakeMailbox("folder", "[user]\r\nhost=127.0.0.1\r\nport=" + std::to_string(server.port())
                              + "\r\nletter=a4\r\nnamemail=named\r\n");
    auto form = OpenWindow();
    ASSERT_TRUE(WaitUntil([&] { return form->StatusBar1->PanelText(1) == Cp("Новых: 3"); }));
    ASSERT_TRUE(WaitUntilWaiting("named"));

    try {
        form->ItemReadLetterAllClick();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write to " + FDir.file("velmo/named/options.velmo"));
    }
    // What was changed in memory stays; the recount did not happen.
    EXPECT_EQ(form->mailList[0]->info.letter, "a7");
    EXPECT_EQ(form->StringGrid1->Cells(2, 1), "0");
    EXPECT_EQ(form->StatusBar1->PanelText(1), Cp("Новых: 3"));
    EXPECT_EQ(StoredLetter("folder"), "a4");
    EXPECT_FALSE(IsFolder("velmo/named"));
}

}  // namespace
