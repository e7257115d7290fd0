#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// One step of a check thread's wait between checks. The thread counts steps,
// not clock time, so tests can drive the wait step by step.
class StepWaiter {
public:
    virtual ~StepWaiter() = default;
    // Blocks for one step; returns early only once Cancel() has been called.
    virtual void SleepStep() = 0;
    // Ends the running SleepStep and makes every later one return at once.
    // Called from the GUI thread when the check thread is stopped.
    virtual void Cancel() = 0;
};

// A step of fixed length: one second in the program.
class TimedStepWaiter final : public StepWaiter {
public:
    explicit TimedStepWaiter(std::chrono::milliseconds length = std::chrono::seconds(1));

    void SleepStep() override;
    void Cancel() override;

private:
    const std::chrono::milliseconds FLength;
    std::mutex FLock;
    std::condition_variable FWake;
    bool FCancelled = false;  // under FLock
};
