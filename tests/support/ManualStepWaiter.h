#pragma once

#include "StepWaiter.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

// A wait step that the test grants one at a time: the check thread blocks in
// SleepStep until a step is granted, so a test counts exactly how many steps
// a wait took.
class ManualStepWaiter final : public StepWaiter {
public:
    void SleepStep() override;
    void Cancel() override;

    // Lets the thread finish `count` more steps.
    void Grant(uint64_t count);
    // Steps finished so far.
    uint64_t Taken() const;
    // True while the thread is blocked in a step with no grant left, after
    // exactly `taken` finished steps.
    bool IsParkedAt(uint64_t taken) const;

private:
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    uint64_t FGranted = 0;
    uint64_t FTaken = 0;
    bool FParked = false;
    bool FCancelled = false;
};
