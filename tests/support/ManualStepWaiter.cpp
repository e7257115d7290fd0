#include "ManualStepWaiter.h"

void ManualStepWaiter::SleepStep()
{
    std::unique_lock lock(FLock);
    FParked = true;
    FChanged.wait(lock, [this] { return FGranted > FTaken || FCancelled; });
    FParked = false;
    if (!FCancelled)
        ++FTaken;
}

void ManualStepWaiter::Cancel()
{
    std::lock_guard lock(FLock);
    FCancelled = true;
    FChanged.notify_all();
}

void ManualStepWaiter::Grant(uint64_t count)
{
    std::lock_guard lock(FLock);
    FGranted += count;
    FChanged.notify_all();
}

uint64_t ManualStepWaiter::Taken() const
{
    std::lock_guard lock(FLock);
    return FTaken;
}

bool ManualStepWaiter::IsParkedAt(uint64_t taken) const
{
    std::lock_guard lock(FLock);
    return FParked && FTaken == taken && FGranted == FTaken;
}
