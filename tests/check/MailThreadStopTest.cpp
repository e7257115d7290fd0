#include "CheckTestSupport.h"

#include <QCoreApplication>

namespace {

TEST_F(CheckTest, StopCutsACheckOnASilentServer)
{
    FServer.setScript({ScriptedPop3Server::silence()});
    MailThread *thread = Start(Info());  // 30-second receive time-out
    ASSERT_TRUE(FServer.waitForConnections(1, kLimit));

    StopThread(thread);
    EXPECT_TRUE(FServer.waitUntilIdle(kLimit));
    EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(FSink.Calls().empty());
    EXPECT_EQ(FServer.connectionCount(), 1u);
}

// The state hand-over is already queued when the stop comes, and the main
// thread has not looked at its events yet: it must never reach the sink.
TEST_F(CheckTest, StopDropsAHandOverAlreadyRequested)
{
    MailThread *thread = Start(Info());
    ASSERT_TRUE(PollUntil([&] { return FQueue->PendingCount() == 1; }));

    StopThread(thread);
    EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }));
    EXPECT_EQ(FQueue->PendingCount(), 0u);
    QCoreApplication::processEvents();
    EXPECT_TRUE(FSink.Calls().empty());
}

// Steps of an hour: only the stop can end this wait in time.
TEST_F(CheckTest, StopCutsTheWait)
{
    auto hourSteps = std::make_shared<TimedStepWaiter>(std::chrono::hours(1));
    MailThread *thread = Start(Info(), 1, MailThreadOptions{hourSteps});
    ASSERT_TRUE(WaitUntil([&] { return FSink.Calls().size() == 3; }));

    StopThread(thread);
    EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(FSink.Calls().size(), 3u);
    EXPECT_EQ(FServer.connectionCount(), 1u);
}

// The step in the program: one second, cut short by a stop only.
TEST(TimedStepWaiterTest, CancelEndsTheStepAndEveryLaterOne)
{
    TimedStepWaiter step(std::chrono::hours(1));
    std::atomic<int> steps{0};
    std::thread sleeper([&] {
        step.SleepStep();
        ++steps;
        step.SleepStep();
        ++steps;
    });
    step.Cancel();
    EXPECT_TRUE(PollUntil([&] { return steps == 2; }));
    sleeper.join();
}

}  // namespace
