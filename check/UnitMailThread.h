#pragma once

#include "HandOver.h"
#include "MailThreadSink.h"
#include "MailInfo.h"
#include "Pop3.h"
#include "StepWaiter.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct MailThreadOptions {
    // The step of the wait between checks; null: real one-second steps.
    std::shared_ptr<StepWaiter> step;
};

// The check thread of one mailbox: checks it with its own POP3 session, hands
// the result to the window (SyncState, SyncRow, SyncTotals, run on the GUI
// thread while this thread waits), waits out the polling interval in steps
// and checks again, until Stop().
//
// Made with new on the GUI thread; the worker (a detached std::thread) starts
// once the object is complete. The object frees itself when its loop ends,
// which happens only after Stop(); nothing joins or deletes it from outside.
// Every public operation is for the GUI thread and never waits for the network.
class MailThread final {
public:
    MailThread(int32_t row, const mailInfo &info, MailThreadSink &sink,
               std::shared_ptr<HandOverQueue> queue, MailThreadOptions options = {});
    MailThread(const MailThread &) = delete;
    MailThread &operator=(const MailThread &) = delete;

    // Ends the current wait at the end of its step; during a check, the wait
    // after it ends after its first step.
    void CheckNow();
    // Refused (false) while a check and its hand-overs run; otherwise the
    // session's new-letter count goes to 0 and its letter to the newest
    // unique id seen, and true. After an account change the letter stays as
    // passed in until a check has seen the new account's newest letter.
    bool MarkRead();
    // The session's letter (the newest unique id marked as read).
    std::string CurrentLetter();
    // Result code of the last check step: during a check, that of the step
    // reached so far; 0 before the first.
    int32_t LastCode() const;
    // The table row the next row hand-over writes, also one already requested.
    void SetRow(int32_t row);
    // New settings, for the thread's own copy at once: the wait looks at the
    // interval again at its next step. The session takes them at once between
    // checks, or at the end of a running check, so the next check uses them.
    // accountChanged also zeroes the session's counts, keeps the letter passed
    // in and asks for a check (within one step).
    void ApplySettings(const mailInfo &info, bool accountChanged);
    // From its return: no check starts, no hand-over reaches the sink (not
    // even one already requested), a blocked check or wait is cut; the worker
    // then frees the object. The pointer must not be used afterwards.
    void Stop();

    // Unique among all thread objects of the process; known from construction.
    uint32_t ThreadID() const { return FThreadId; }

    // Thread objects not yet freed, in the whole process.
    static int LiveCount();

private:
    ~MailThread();

    static void ThreadMain(MailThread *self);
    void Execute();
    bool BeginCheck();
    void CheckMail();
    void TakeResult();
    void EndCheck();
    bool Wait();
    void ReadCounts();
    bool HandOver(std::function<void()> work);
    bool SyncState();
    bool SyncRow();
    bool SyncTotals();
    void ApplyPendingToSession();

    const uint32_t FThreadId;
    MailThreadSink *const FSink;
    const std::shared_ptr<HandOverQueue> FQueue;
    const std::shared_ptr<StepWaiter> FStep;

    // Guards the settings, the flags and the session between checks. The
    // worker holds it only for bookkeeping, never across network I/O, a step
    // or a hand-over.
    std::mutex FLock;
    mailInfo FInfo;                               // under FLock
    TPOP3 FPop;                                   // used by a check alone while FBusy
    bool FCheckNow = false;                       // under FLock
    bool FBusy = false;                           // under FLock
    bool FIntervalChanged = false;                // under FLock
    int32_t FOldInterval = 0;                     // under FLock
    std::optional<mailInfo> FPendingSession;      // settings for the session; under FLock
    bool FPendingAccountReset = false;            // under FLock
    bool FNewestUidStale = false;                 // under FLock: see ApplyPendingToSession
    std::atomic<int32_t> FLastCode{0};
    std::atomic<int32_t> FRow{0};                 // read by the row hand-over on the GUI thread
    std::atomic<bool> FStopped{false};            // set under FLock by Stop()

    // The worker's own view of the last check.
    std::string FStatus;
    int32_t FNewCount = 0;
    int32_t FCount = 0;
    int32_t FState = 0;
};
