#include "CheckTestSupport.h"
#include "GateServer.h"

#include <string>
#include <utility>
#include <vector>

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

// Plays the server's side through the gate: sends each reply (CR LF added),
// then expects the client's next line (CR LF added); an empty line expects nothing.
void Converse(GateServer &gate, const std::vector<std::pair<std::string, std::string>> &turns)
{
    for (const auto &[reply, line] : turns) {
        ASSERT_TRUE(gate.Send(reply + "\r\n"));
        if (!line.empty()) {
            EXPECT_EQ(gate.ReadLine(kLimit), line + "\r\n");
        }
    }
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

    Converse(gate, {{"+OK ready", "USER olduser"}, {"+OK", "PASS secret"}, {"-ERR invalid password", ""}});
    ASSERT_TRUE(WaitParkedAt(0));
    EXPECT_EQ(thread->LastCode(), 1012);

    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(gate.Accept(kLimit));
    Converse(gate, {{"+OK ready", "USER newuser"}, {"+OK", "PASS secret"}});
    // Halfway through, the last code is that of the step reached so far.
    EXPECT_EQ(thread->LastCode(), 0);
    Converse(gate, {{"+OK", "STAT"}, {"+OK 0 0", "QUIT"}, {"+OK bye", ""}});
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(thread->LastCode(), 0);
}

// A check that finds new letters takes the session's settings, except those
// applied while it ran: the row shows the new name, and the wait the new interval.
TEST_F(CheckTest, SettingsAppliedDuringACheckWithNewLettersAreKept)
{
    GateServer gate;
    mailInfo info = Info();
    info.port = gate.port();
    info.letter = "0";
    MailThread *thread = Start(info);
    ASSERT_TRUE(gate.Accept(kLimit));

    info.namemail = "Renamed";
    info.interval = 2000;
    thread->ApplySettings(info, false);
    Converse(gate, {{"+OK ready", "USER user"}, {"+OK", "PASS secret"}, {"+OK", "STAT"},
                    {"+OK 1 100", "UIDL 1"}, {"+OK 1 uid-z", "QUIT"}, {"+OK bye", ""}});
    ASSERT_TRUE(WaitParkedAt(0));
    ASSERT_EQ(FSink.Calls().size(), 3u);
    EXPECT_EQ(FSink.Calls()[0], SinkCall::State(thread->ThreadID(), 2));
    EXPECT_EQ(FSink.Calls()[1], SinkCall::Row(1, CheckedText(), 1, 1, "Renamed"));
    EXPECT_EQ(GrantSteps(1), After::Parked);
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
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
