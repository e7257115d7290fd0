#include "CheckTestSupport.h"
#include "GateServer.h"

namespace {

ScriptedPop3Server::Script TwoNewLetters()
{
    return Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK 2 uid-b", "+OK 1 uid-a", "+OK bye"});
}

TEST_F(CheckTest, MarkReadIsRefusedWhileACheckRuns)
{
    FServer.setScript(TwoNewLetters());
    mailInfo info = Info();
    info.letter = "0";
    MailThread *thread = Start(info);
    // Connected, and its hand-overs cannot run before this thread processes
    // events: the check is in progress.
    ASSERT_TRUE(FServer.waitForConnections(1, kLimit));
    EXPECT_FALSE(thread->MarkRead());
    EXPECT_EQ(thread->CurrentLetter(), "0");

    ASSERT_TRUE(WaitParkedAt(0));
    ASSERT_EQ(FSink.Calls().size(), 3u);
    EXPECT_EQ(FSink.Calls()[0], SinkCall::State(thread->ThreadID(), 2));
    EXPECT_TRUE(thread->MarkRead());
    EXPECT_EQ(thread->CurrentLetter(), "uid-b");

    // The row of the next check shows the mark: no new letters.
    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_EQ(FSink.Calls()[3], SinkCall::Row(1, CheckingText(), 0, 2, "Box"));
    // And the next check compares with the marked letter.
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(FSink.Calls()[4], SinkCall::State(thread->ThreadID(), 0));
}

// The gate holds the first check before its greeting, so the new settings
// arrive while it runs and before it has sent USER.
TEST_F(CheckTest, SettingsAppliedDuringACheckTakeEffectAtTheNextCheck)
{
    GateServer gate;
    mailInfo info = Info();
    info.port = gate.port();
    info.user = "olduser";
    MailThread *thread = Start(info);
    ASSERT_TRUE(gate.Accept(kLimit));

    info.user = "newuser";
    thread->ApplySettings(info, false);
    EXPECT_FALSE(thread->MarkRead());

    ASSERT_TRUE(gate.Send("+OK ready\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "USER olduser\r\n");
    ASSERT_TRUE(gate.Send("+OK\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "PASS secret\r\n");
    ASSERT_TRUE(gate.Send("-ERR invalid password\r\n"));
    ASSERT_TRUE(WaitParkedAt(0));
    EXPECT_EQ(thread->LastCode(), 1012);

    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(gate.Accept(kLimit));
    ASSERT_TRUE(gate.Send("+OK ready\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "USER newuser\r\n");
    ASSERT_TRUE(gate.Send("+OK\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "PASS secret\r\n");
    // Halfway through, the last code is still that of the finished check.
    EXPECT_EQ(thread->LastCode(), 1012);
    ASSERT_TRUE(gate.Send("+OK\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "STAT\r\n");
    ASSERT_TRUE(gate.Send("+OK 0 0\r\n"));
    EXPECT_EQ(gate.ReadLine(kLimit), "QUIT\r\n");
    ASSERT_TRUE(gate.Send("+OK bye\r\n"));
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(thread->LastCode(), 0);
}

// An edit that changes the account: the session's counts go to 0 and a check
// follows after one step, with the new account.
TEST_F(CheckTest, AccountChangeZeroesCountsAndChecksAfterOneStep)
{
    FServer.setScript(TwoNewLetters());
    mailInfo info = Info();
    info.letter = "0";
    MailThread *thread = Start(info);
    ASSERT_TRUE(WaitParkedAt(0));
    ASSERT_EQ(FSink.Calls()[1], SinkCall::Row(1, CheckedText(), 2, 2, "Box"));

    info.user = "other";
    thread->ApplySettings(info, true);
    EXPECT_EQ(thread->CurrentLetter(), "0");
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_EQ(FSink.Calls()[3], SinkCall::Row(1, CheckingText(), 0, 0, "Box"));
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(FServer.received(1).substr(0, 12), "USER other\r\n");
}

// The session's letter after an account change is the one passed in ("0"),
// even through a mark-as-read before the new account has been checked; once
// a check has seen the new account's letters, a mark takes its newest.
TEST_F(CheckTest, MarkReadAfterAnAccountChangeKeepsTheLetterPassedIn)
{
    FServer.setScript(TwoNewLetters());
    mailInfo info = Info();
    info.letter = "0";
    MailThread *thread = Start(info);
    ASSERT_TRUE(WaitParkedAt(0));

    info.user = "other";
    thread->ApplySettings(info, true);
    EXPECT_TRUE(thread->MarkRead());
    EXPECT_EQ(thread->CurrentLetter(), "0");

    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_TRUE(thread->MarkRead());
    EXPECT_EQ(thread->CurrentLetter(), "uid-b");
}

}  // namespace
