// Taking a mailbox out of the list: its thread stops at once and hands
// nothing more to the window, the rows below move up and their threads write
// to their new rows.

#include "GateServer.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A window that records the row hand-overs it gets.
class RecordingForm : public TForm1 {
public:
    using TForm1::TForm1;

    struct Row {
        int32_t row;
        std::string namemail;
        std::string status;
    };

    void SyncState(uint32_t threadId, int32_t state) override
    {
        stateIds.push_back(threadId);
        TForm1::SyncState(threadId, state);
    }
    void SyncRow(int32_t row, const std::string &status, int32_t newCount, int32_t count,
                 const std::string &namemail) override
    {
        rows.push_back({row, namemail, status});
        TForm1::SyncRow(row, status, newCount, count, namemail);
    }

    std::vector<uint32_t> stateIds;
    std::vector<Row> rows;
};

std::vector<std::string> Column(const TStringGrid &grid, int col)
{
    std::vector<std::string> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.push_back(grid.Cells(col, row));
    return cells;
}

class MailboxRemovalTest : public WindowTest {
protected:
    ScriptedPop3Server FServer{
        Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK 2 u2", "+OK bye"})};
};

// "b", in the middle, is held by a server the test drives by hand: either it
// never answers the greeting, or its whole check has been answered and its
// hand-overs are on their way while the GUI thread takes no events.
TEST_F(MailboxRemovalTest, ARemovedMailboxsThreadStopsAtOnceAndTheOthersMoveUp)
{
    for (const bool answered : {false, true}) {
        SCOPED_TRACE(answered ? "check answered" : "silent server");
        GateServer gate;
        MakeServerMailbox("a", FServer.port(), "u2");
        MakeServerMailbox("b", gate.port());
        MakeServerMailbox("c", FServer.port(), "u2");
        auto form = std::make_unique<RecordingForm>(Options());
        ASSERT_TRUE(WaitForStatus(*form, 1, Checked()));
        ASSERT_TRUE(WaitForStatus(*form, 3, Checked()));
        const uint32_t removedId = form->mailList[1]->threadId;
        ASSERT_TRUE(gate.Accept(kLimit));
        if (answered) {
            gate.Send("+OK ready\r\n");
            for (const char *reply : {"+OK\r\n", "+OK\r\n", "+OK 1 100\r\n", "+OK 1 x1\r\n", "+OK bye\r\n"}) {
                ASSERT_FALSE(gate.ReadLine(kLimit).empty());
                gate.Send(reply);
            }
        }
        ASSERT_EQ(MailThread::LiveCount(), 3);

        form->RemoveMailbox(1);
        // The stopped thread lets go of its connection and frees itself, at once.
        EXPECT_EQ(gate.ReadLine(kLimit), "");
        EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 2; }));

        EXPECT_EQ(form->mailCount, 2);
        ASSERT_EQ(form->mailList.size(), 2u);
        EXPECT_EQ(form->mailList[1]->info.namemail, "c");
        EXPECT_EQ(form->mailList[1]->row, 2);
        EXPECT_EQ(form->IndexOfRow(2), 1);
        EXPECT_EQ(form->IndexOfRow(3), -1);
        EXPECT_EQ(Column(*form->StringGrid1, 0), (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(Column(*form->StringGrid1, 3), (std::vector<std::string>{Checked(), Checked()}));

        // The former row 3 now reports to row 2.
        const size_t before = form->rows.size();
        form->StringGrid1->SetRow(2);
        form->ItemCheckNowClick();
        Steps("c").Grant(1);
        ASSERT_TRUE(WaitUntil([&] { return form->rows.size() == before + 2; }));
        EXPECT_EQ(form->rows[before].row, 2);
        EXPECT_EQ(form->rows[before].status, Checking());
        EXPECT_EQ(form->rows[before + 1].row, 2);
        EXPECT_EQ(form->rows[before + 1].status, Checked());
        EXPECT_EQ(form->StringGrid1->Cells(0, 2), "c");

        // Nothing from "b" ever reached the window.
        for (const RecordingForm::Row &row : form->rows)
            EXPECT_NE(row.namemail, "b");
        EXPECT_EQ(std::count(form->stateIds.begin(), form->stateIds.end(), removedId), 0);

        form.reset();
        ASSERT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }));
        std::filesystem::remove_all(FDir.file("velmo"));
    }
}

TEST_F(MailboxRemovalTest, TheTableShrinksOrClearsItsLastRow)
{
    struct Case {
        std::vector<std::string> mailboxes;
        int index;
        std::vector<std::string> names;  // column 0 after
        int rowCount;
    };
    const std::vector<Case> cases = {
        {{"a", "b", "c"}, 0, {"b", "c"}, 3},
        {{"a", "b", "c"}, 2, {"a", "b"}, 3},
        {{"a"}, 0, {""}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.mailboxes.size() << " mailboxes, position " << c.index);
        for (const std::string &name : c.mailboxes)
            MakeQuietMailbox(name);
        auto form = OpenWindow();
        const int live = MailThread::LiveCount();
        form->RemoveMailbox(c.index);

        EXPECT_EQ(form->mailCount, static_cast<int>(c.mailboxes.size()) - 1);
        EXPECT_EQ(form->StringGrid1->RowCount(), c.rowCount);
        EXPECT_EQ(Column(*form->StringGrid1, 0), c.names);
        for (size_t i = 0; i < form->mailList.size(); ++i)
            EXPECT_EQ(form->mailList[i]->row, static_cast<int>(i) + 1);
        EXPECT_TRUE(PollUntil([&] { return MailThread::LiveCount() == live - 1; }));
        form.reset();
        ASSERT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }));
        std::filesystem::remove_all(FDir.file("velmo"));
    }
}

TEST_F(MailboxRemovalTest, ANewMailboxShowsOnlyItsNameUntilItsFirstCheckEnds)
{
    MakeQuietMailbox("a");
    auto form = OpenWindow();
    ASSERT_TRUE(FQuiet.waitForConnections(1, kLimit));

    mailInfo info = form->mailList[0]->info;
    info.namemail = "added";
    TForm1::threadList &entry = form->AppendMailbox(info);
    EXPECT_EQ(entry.row, 2);
    EXPECT_NE(entry.thread, nullptr);
    EXPECT_EQ(entry.threadId, entry.thread->ThreadID());
    EXPECT_NE(entry.threadId, form->mailList[0]->threadId);
    // It runs at once: its check is under way, held by the silent server.
    EXPECT_TRUE(FQuiet.waitForConnections(2, kLimit));
    EXPECT_EQ(form->StringGrid1->Cells(0, 2), "added");
    for (int col = 1; col < 5; ++col)
        EXPECT_EQ(form->StringGrid1->Cells(col, 2), "") << col;
}

}  // namespace
