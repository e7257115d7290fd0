#include "CheckTestSupport.h"

namespace {

// Interval 10 minutes everywhere here (Info()).

TEST_F(CheckTest, CheckNowDuringAWaitChecksAtTheEndOfTheStep)
{
    MailThread *thread = Start(Info());
    ASSERT_TRUE(WaitParkedAt(0));
    EXPECT_EQ(GrantSteps(3), After::Parked);
    EXPECT_EQ(FServer.connectionCount(), 1u);

    thread->CheckNow();
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_TRUE(FServer.waitForConnections(2, kLimit));
    EXPECT_TRUE(WaitParkedAt(4));
}

TEST_F(CheckTest, CheckNowDuringACheckGivesExactlyOneMoreCheck)
{
    MailThread *thread = Start(Info());
    // Connected, and no hand-over has run yet: the check is in progress.
    ASSERT_TRUE(FServer.waitForConnections(1, kLimit));
    thread->CheckNow();
    ASSERT_TRUE(WaitParkedAt(0));

    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    ASSERT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(FServer.connectionCount(), 2u);

    EXPECT_EQ(GrantSteps(10), After::Parked);
    EXPECT_EQ(FServer.connectionCount(), 2u);
    EXPECT_EQ(FSink.RowsWithStatus(CheckingText()), 1u);
}

struct IntervalCase {
    const char *name;
    int32_t minutes;           // the interval applied after 7 minutes of a 10-minute wait
    int applications;          // how often it is applied within that step
    uint64_t stepsAfterChange; // steps granted after the change until the next check begins
};

void PrintTo(const IntervalCase &param, std::ostream *out)
{
    *out << param.name;
}

class IntervalChangeTest : public CheckTest, public ::testing::WithParamInterface<IntervalCase> {};

// The change is made while the thread is in its 421st step; that step sees it.
// Shorter than the 421 s waited: the wait starts over there and lasts the
// whole new interval. Longer: the wait ends when the new interval is reached.
TEST_P(IntervalChangeTest, NextCheckComesByTheNewInterval)
{
    mailInfo info = Info();
    MailThread *thread = Start(info);
    ASSERT_TRUE(WaitParkedAt(0));
    ASSERT_EQ(GrantSteps(420), After::Parked);

    info.interval = GetParam().minutes * 60000;
    for (int i = 0; i < GetParam().applications; ++i)
        thread->ApplySettings(info, false);
    if (GetParam().stepsAfterChange > 1) {
        EXPECT_EQ(GrantSteps(GetParam().stepsAfterChange - 1), After::Parked);
    }
    EXPECT_EQ(FServer.connectionCount(), 1u);
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_TRUE(FServer.waitForConnections(2, kLimit));
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, IntervalChangeTest,
    ::testing::Values(IntervalCase{"FiveMinutesStartsOver", 5, 1, 1 + 300},
                      IntervalCase{"ThreeMinutesStartsOver", 3, 1, 1 + 180},
                      IntervalCase{"EightMinutesEndsAtEight", 8, 1, 60},
                      IntervalCase{"SameIntervalGoesOn", 10, 1, 180},
                      // The step compares with the interval before the last
                      // change only: applied twice, 5 minutes looks unchanged,
                      // and 7 minutes waited are past it.
                      IntervalCase{"FiveMinutesTwiceInOneStepEndsTheWait", 5, 2, 1}),
    [](const ::testing::TestParamInfo<IntervalCase> &param) { return std::string(param.param.name); });

TEST_F(CheckTest, IntervalZeroChecksAgainAfterOneStep)
{
    mailInfo info = Info();
    info.interval = 0;
    Start(info);
    ASSERT_TRUE(WaitParkedAt(0));
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_TRUE(WaitParkedAt(1));
    EXPECT_EQ(GrantSteps(1), After::CheckBegun);
    EXPECT_TRUE(WaitParkedAt(2));
    EXPECT_EQ(FServer.connectionCount(), 3u);
}

}  // namespace
