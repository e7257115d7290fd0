#include "CheckTestSupport.h"
#include "NewestFirst.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<SinkCall>;

TEST_F(CheckTest, ChecksAtOnceThenShowsCheckingWhenTheWaitEnds)
{
    mailInfo info = Info();
    info.namemail = Cp1251("Рабочий ящик");
    info.interval = 2000;   // two steps
    MailThread *thread = Start(info, 3);
    const uint32_t id = thread->ThreadID();

    ASSERT_TRUE(WaitParkedAt(0));
    const Calls firstCheck{SinkCall::State(id, 0), SinkCall::Row(3, CheckedText(), 0, 2, info.namemail),
                           SinkCall::Totals()};
    EXPECT_EQ(FSink.Calls(), firstCheck);
    EXPECT_EQ(FServer.connectionCount(), 1u);

    EXPECT_EQ(GrantSteps(1), After::Parked);
    EXPECT_EQ(FSink.Calls().size(), 3u);

    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(WaitParkedAt(2));
    Calls expected = firstCheck;
    expected.push_back(SinkCall::Row(3, CheckingText(), 0, 2, info.namemail));
    expected.insert(expected.end(), firstCheck.begin(), firstCheck.end());
    EXPECT_EQ(FSink.Calls(), expected);
    EXPECT_EQ(FServer.connectionCount(), 2u);
}

struct ResultCase {
    const char *name;
    ScriptedPop3Server::Script script;
    std::string letter;
    std::string status;
    int32_t state;
    int32_t newCount;
    int32_t count;
    int32_t code;
};

void PrintTo(const ResultCase &param, std::ostream *out)
{
    *out << param.name;
}

class CheckResultTest : public CheckTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(CheckResultTest, HandsOverStatusStateAndCounts)
{
    const ResultCase &result = GetParam();
    FServer.setScript(result.script);
    mailInfo info = Info();
    info.letter = result.letter;
    MailThread *thread = Start(info);

    ASSERT_TRUE(WaitParkedAt(0));
    const Calls expected{SinkCall::State(thread->ThreadID(), result.state),
                         SinkCall::Row(1, result.status, result.newCount, result.count, "Box"),
                         SinkCall::Totals()};
    EXPECT_EQ(FSink.Calls(), expected);
    EXPECT_EQ(thread->LastCode(), result.code);
}

INSTANTIATE_TEST_SUITE_P(
    Results, CheckResultTest,
    ::testing::Values(
        ResultCase{"NoNewLetters",
                   Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK 2 uid-b", "+OK bye"}),
                   "uid-b", CheckedText(), 0, 0, 2, 0},
        ResultCase{"NewLetters",
                   Replies({"+OK ready", "+OK", "+OK", "+OK 3 300", "+OK 3 c", "+OK 2 b", "+OK 1 a",
                            "+OK bye"}),
                   "a", CheckedText(), 2, 2, 3, 0},
        ResultCase{"PasswordRefused", Replies({"+OK ready", "+OK", "-ERR invalid password"}), "0",
                   ErrorText(1012), 1, 0, 0, 1012},
        // The session counted before the walk failed: the row shows that count.
        ResultCase{"UidlRefusedAfterStat",
                   Replies({"+OK ready", "+OK", "+OK", "+OK 4 400", "-ERR no such message"}), "0",
                   ErrorText(1014), 1, 0, 4, 1014}),
    [](const ::testing::TestParamInfo<ResultCase> &param) { return std::string(param.param.name); });

TEST_F(CheckTest, RowHandOverWritesTheRowSetLast)
{
    MailThread *thread = Start(Info(), 1);
    // The state hand-over is requested and not run yet: the row follows it.
    ASSERT_TRUE(PollUntil([&] { return FQueue->PendingCount() == 1; }));
    thread->SetRow(4);
    ASSERT_TRUE(WaitParkedAt(0));
    ASSERT_EQ(FSink.Calls().size(), 3u);
    EXPECT_EQ(FSink.Calls()[1], SinkCall::Row(4, CheckedText(), 0, 2, "Box"));

    thread->SetRow(2);
    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_EQ(FSink.Calls()[3], SinkCall::Row(2, CheckingText(), 0, 2, "Box"));
}

TEST_F(CheckTest, ThreadsOfOneWindowHandOverWithTheirOwnIdsAndRows)
{
    auto secondSteps = std::make_shared<ManualStepWaiter>();
    MailThread *first = Start(Info(), 1);
    mailInfo secondInfo = Info();
    secondInfo.namemail = "Other";
    MailThread *second = Start(secondInfo, 2, MailThreadOptions{secondSteps});
    EXPECT_NE(first->ThreadID(), second->ThreadID());

    ASSERT_TRUE(WaitUntil([&] { return FSteps->IsParkedAt(0) && secondSteps->IsParkedAt(0); }));
    const Calls &calls = FSink.Calls();
    ASSERT_EQ(calls.size(), 6u);
    auto has = [&](const SinkCall &wanted) { return std::count(calls.begin(), calls.end(), wanted) == 1; };
    EXPECT_TRUE(has(SinkCall::State(first->ThreadID(), 0)));
    EXPECT_TRUE(has(SinkCall::State(second->ThreadID(), 0)));
    EXPECT_TRUE(has(SinkCall::Row(1, CheckedText(), 0, 2, "Box")));
    EXPECT_TRUE(has(SinkCall::Row(2, CheckedText(), 0, 2, "Other")));
}

struct HostCase {
    const char *name;
    std::string host;
    std::string uidls;  // the UIDL commands the server sees, in order
};

void PrintTo(const HostCase &param, std::ostream *out)
{
    *out << param.name;
}

class NewestFirstHostTest : public CheckTest, public ::testing::WithParamInterface<HostCase> {};

// Three letters, all new: the walk asks for every one of them, in the order
// the host's numbering gives.
TEST_P(NewestFirstHostTest, HostDecidesTheOrderOfTheWalk)
{
    FServer.setScript(Replies({"+OK ready", "+OK", "+OK", "+OK 3 300", "+OK x u3", "+OK x u2",
                               "+OK x u1", "+OK bye"}));
    mailInfo info = Info();
    info.host = GetParam().host;
    info.letter = "0";
    MailThread *thread = Start(info);
    ASSERT_TRUE(WaitParkedAt(0));
    EXPECT_EQ(thread->LastCode(), 0);
    EXPECT_EQ(FServer.received(0), "USER user\r\nPASS secret\r\nSTAT\r\n" + GetParam().uidls + "QUIT\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, NewestFirstHostTest,
    ::testing::Values(
        HostCase{"TheProvider", std::string(kNewestFirstPop3Host), "UIDL 1\r\nUIDL 2\r\nUIDL 3\r\n"},
        HostCase{"TheProviderInCapitals", "POP.NEWESTFIRST-MAIL.EXAMPLE",
                 "UIDL 3\r\nUIDL 2\r\nUIDL 1\r\n"},
        HostCase{"AnotherHost", "127.0.0.1", "UIDL 3\r\nUIDL 2\r\nUIDL 1\r\n"}),
    [](const ::testing::TestParamInfo<HostCase> &param) { return std::string(param.param.name); });

TEST_F(CheckTest, ChangingTheHostSwitchesTheOrderAtTheNextCheck)
{
    FServer.setScript(Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK x u2", "+OK x u1", "+OK bye"}));
    mailInfo info = Info();
    info.letter = "0";
    MailThread *thread = Start(info);
    ASSERT_TRUE(WaitParkedAt(0));
    info.host = std::string(kNewestFirstPop3Host);
    thread->ApplySettings(info, false);
    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(FServer.transcripts(),
              (std::vector<std::string>{"USER user\r\nPASS secret\r\nSTAT\r\nUIDL 2\r\nUIDL 1\r\nQUIT\r\n",
                                        "USER user\r\nPASS secret\r\nSTAT\r\nUIDL 1\r\nUIDL 2\r\nQUIT\r\n"}));
}

}  // namespace
