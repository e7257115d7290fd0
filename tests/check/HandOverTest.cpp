#include "CheckTestSupport.h"
#include "HandOver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

// A worker thread that hands one piece of work over and keeps Run's answer.
class Worker {
public:
    Worker(HandOverQueue &queue, std::function<void()> work)
        : FThread([this, &queue, work = std::move(work)] {
              FResult = queue.Run(work, FStopped);
              FDone = true;
          })
    {
    }
    ~Worker() { FThread.join(); }

    void Stop() { FStopped = true; }
    bool Done() const { return FDone; }
    bool Result() const { return FResult; }

private:
    std::atomic<bool> FStopped{false};
    std::atomic<bool> FDone{false};
    std::atomic<bool> FResult{false};
    std::thread FThread;
};

TEST(HandOverTest, RunsTheWorkOnTheGuiThreadAndWaitsForIt)
{
    auto queue = std::make_shared<HandOverQueue>();
    HandOverPump pump(queue);
    const auto mainThread = std::this_thread::get_id();
    std::string written;  // by the worker, read on the main thread
    std::thread::id ranOn;
    std::string seen;
    const std::atomic<bool> stopped{false};
    std::atomic<bool> afterRun{false};
    std::thread worker([&] {
        written = "from the worker";
        EXPECT_TRUE(queue->Run([&] { ranOn = std::this_thread::get_id(); seen = written; }, stopped));
        // Run returned: the work has run, and what it wrote is visible here.
        EXPECT_EQ(seen, "from the worker");
        afterRun = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return afterRun.load(); }));
    worker.join();
    EXPECT_EQ(ranOn, mainThread);
    EXPECT_EQ(queue->PendingCount(), 0u);
}

// A piece of work that opens a modal loop: hand-overs keep running inside it.
TEST(HandOverTest, RunsInsideANestedEventLoop)
{
    auto queue = std::make_shared<HandOverQueue>();
    HandOverPump pump(queue);
    std::vector<std::string> order;
    std::atomic<bool> outerStarted{false};
    std::unique_ptr<Worker> inner;
    Worker outer(*queue, [&] {
        order.push_back("outer begins");
        outerStarted = true;
        inner = std::make_unique<Worker>(*queue, [&] { order.push_back("inner"); });
        // A modal loop, as a message box would run it, until the inner work has run.
        QEventLoop modal;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &modal, [&] {
            if (inner->Done())
                modal.quit();
        });
        poll.start(1);
        QTimer::singleShot(kLimit, &modal, &QEventLoop::quit);
        modal.exec();
        EXPECT_TRUE(inner->Done());
        order.push_back("outer ends");
    });
    EXPECT_TRUE(WaitUntil([&] { return outer.Done(); }));
    EXPECT_TRUE(outer.Result());
    ASSERT_TRUE(inner);
    EXPECT_TRUE(inner->Result());
    EXPECT_EQ(order, (std::vector<std::string>{"outer begins", "inner", "outer ends"}));
}

// A stop drops work already queued: woken at once when told, and in any case
// the GUI thread looks at the flag before running it.
TEST(HandOverTest, StoppedWorkIsNeverRun)
{
    for (const bool notify : {true, false}) {
        SCOPED_TRACE(notify ? "worker woken by NotifyStopped" : "flag seen by the pump");
        auto queue = std::make_shared<HandOverQueue>();
        HandOverPump pump(queue);
        bool ran = false;
        Worker worker(*queue, [&] { ran = true; });
        ASSERT_TRUE(PollUntil([&] { return queue->PendingCount() == 1; }));
        worker.Stop();
        if (notify) {
            queue->NotifyStopped();
            EXPECT_TRUE(PollUntil([&] { return worker.Done(); }));
            EXPECT_EQ(queue->PendingCount(), 0u);
        }
        EXPECT_TRUE(WaitUntil([&] { return worker.Done(); }));
        QCoreApplication::processEvents();
        EXPECT_FALSE(worker.Result());
        EXPECT_FALSE(ran);
    }
}

TEST(HandOverTest, WorkIsDroppedOnceThePumpIsGone)
{
    auto queue = std::make_shared<HandOverQueue>();
    auto pump = std::make_unique<HandOverPump>(queue);
    bool ran = false;
    {
        Worker queued(*queue, [&] { ran = true; });
        ASSERT_TRUE(PollUntil([&] { return queue->PendingCount() == 1; }));
        pump.reset();
        EXPECT_TRUE(PollUntil([&] { return queued.Done(); }));
        EXPECT_FALSE(queued.Result());
    }
    {
        Worker late(*queue, [&] { ran = true; });
        EXPECT_TRUE(PollUntil([&] { return late.Done(); }));
        EXPECT_FALSE(late.Result());
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_EQ(queue->PendingCount(), 0u);
}

}  // namespace
