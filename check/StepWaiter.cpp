#include "StepWaiter.h"

TimedStepWaiter::TimedStepWaiter(std::chrono::milliseconds length) : FLength(length) {}

void TimedStepWaiter::SleepStep()
{
    std::unique_lock lock(FLock);
    FWake.wait_for(lock, FLength, [this] { return FCancelled; });
}

void TimedStepWaiter::Cancel()
{
    std::lock_guard lock(FLock);
    FCancelled = true;
    FWake.notify_all();
}
