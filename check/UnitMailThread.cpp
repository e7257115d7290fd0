#include "UnitMailThread.h"

#include "NewestFirst.h"

#include <stdexcept>
#include <system_error>
#include <thread>
#include <utility>

namespace {

std::atomic<uint32_t> gNextThreadId{1};
std::atomic<int> gLiveCount{0};

// Status texts in Windows-1251.
const std::string kChecked = "\xCF\xF0\xEE\xE2\xE5\xF0\xE5\xED";  // "Проверен"
const std::string kError = "\xCE\xF8\xE8\xE1\xEA\xE0: ";           // "Ошибка: "
const std::string kChecking = "\xCF\xF0\xEE\xE2\xE5\xF0\xEA\xE0";  // "Проверка"

// One check: these steps in order, up to the first that does not return 0.
using CheckStep = int32_t (TPOP3::*)();
constexpr CheckStep kCheckSteps[] = {&TPOP3::Connect, &TPOP3::User, &TPOP3::Pass, &TPOP3::Stat,
                                     &TPOP3::Quit};

constexpr uint32_t kStepMs = 1000;  // what one step of the wait counts for

}  // namespace

MailThread::MailThread(int32_t row, const mailInfo &info, MailThreadSink &sink,
                       std::shared_ptr<HandOverQueue> queue, MailThreadOptions options)
    : FThreadId(gNextThreadId++),
      FSink(&sink),
      FQueue(std::move(queue)),
      FStep(options.step ? std::move(options.step) : std::make_shared<TimedStepWaiter>())
{
    ApplySettings(info, false);
    FRow = row;
    FIntervalChanged = false;
    FCheckNow = false;
    ++gLiveCount;
    try {
        std::thread(&MailThread::ThreadMain, this).detach();
    } catch (const std::system_error &error) {
        --gLiveCount;
        throw std::runtime_error(std::string("Thread creation error: ") + error.what());
    }
}

MailThread::~MailThread() = default;

int MailThread::LiveCount()
{
    return gLiveCount;
}

void MailThread::ThreadMain(MailThread *self)
{
    self->Execute();
    // Execute returns only after a stop, and Stop() does all its work under
    // FLock: once the lock is free, nobody else touches the object.
    { std::lock_guard lock(self->FLock); }
    delete self;
    --gLiveCount;
}

void MailThread::Execute()
{
    while (BeginCheck()) {
        CheckMail();
        if (FStopped)
            return;
        TakeResult();
        // Fixed order: the totals read the state and the row.
        SyncState();
        SyncRow();
        SyncTotals();
        EndCheck();
        if (!Wait())
            return;
        ReadCounts();
        FStatus = kChecking;
        SyncRow();
        if (FStopped)
            return;
    }
}

bool MailThread::BeginCheck()
{
    std::lock_guard lock(FLock);
    if (FStopped)
        return false;
    FBusy = true;
    return true;
}

// Each step's code goes to FLastCode as soon as the step ends, so a click on
// the row during a check shows the step reached so far.
void MailThread::CheckMail()
{
    for (CheckStep step : kCheckSteps) {
        FLastCode = (FPop.*step)();
        if (FLastCode != 0)
            return;
    }
}

void MailThread::TakeResult()
{
    std::lock_guard lock(FLock);
    // Read after failed checks too: they show the counts the session last reached.
    FNewCount = FPop.NewCount();
    FCount = FPop.LetterCount();
    const int32_t code = FLastCode;
    if (code == 0) {
        FStatus = kChecked;
        FState = 0;
    } else {
        FStatus = kError + std::to_string(code);
        FState = 1;
    }
    // New letters mean the walk found the newest letter new and took its id.
    if (FNewCount > 0)
        FNewestUidStale = false;
    if (FNewCount > 0 && code == 0) {
        // Settings applied during this check are newer than the session's.
        if (!FPendingSession)
            FInfo = FPop.GetSettings();
        FState = 2;
    }
}

void MailThread::EndCheck()
{
    std::lock_guard lock(FLock);
    FBusy = false;
    ApplyPendingToSession();
}

// The wait counts steps, not clock time; the comparisons are unsigned 32-bit.
bool MailThread::Wait()
{
    uint32_t waited = 0;
    for (;;) {
        FStep->SleepStep();
        if (FStopped)
            return false;
        waited += kStepMs;
        std::lock_guard lock(FLock);
        const auto interval = static_cast<uint32_t>(FInfo.interval);
        if (FIntervalChanged) {
            FIntervalChanged = false;
            if (interval != static_cast<uint32_t>(FOldInterval) && interval < waited)
                waited = 0;
        }
        if (FCheckNow) {
            FCheckNow = false;
            return true;
        }
        if (waited >= interval)
            return true;
    }
}

// A mark-as-read made during the wait shows as 0 new letters.
void MailThread::ReadCounts()
{
    std::lock_guard lock(FLock);
    FNewCount = FPop.NewCount();
    FCount = FPop.LetterCount();
}

bool MailThread::HandOver(std::function<void()> work)
{
    return FQueue->Run(std::move(work), FStopped);
}

bool MailThread::SyncState()
{
    return HandOver([sink = FSink, id = FThreadId, state = FState] { sink->SyncState(id, state); });
}

bool MailThread::SyncRow()
{
    std::string namemail;
    {
        std::lock_guard lock(FLock);
        namemail = FInfo.namemail;
    }
    // The row is read when the hand-over runs: a SetRow made meanwhile counts.
    return HandOver([this, status = FStatus, newCount = FNewCount, count = FCount,
                     namemail = std::move(namemail)] {
        FSink->SyncRow(FRow, status, newCount, count, namemail);
    });
}

bool MailThread::SyncTotals()
{
    return HandOver([sink = FSink] { sink->SyncTotals(); });
}

void MailThread::CheckNow()
{
    std::lock_guard lock(FLock);
    FCheckNow = true;
}

bool MailThread::MarkRead()
{
    // Test and mark are one step: no check can start while FLock is held.
    std::lock_guard lock(FLock);
    if (FBusy)
        return false;
    if (FNewestUidStale) {
        // The session's newest id still belongs to the account before the
        // last change: the letter stays as it was passed in.
        const mailInfo kept = FPop.GetSettings();
        FPop.MarkRead();
        FPop.SetSettings(kept);
    } else {
        FPop.MarkRead();
    }
    return true;
}

std::string MailThread::CurrentLetter()
{
    std::lock_guard lock(FLock);
    // Settings waiting for the end of a check already carry the newest letter.
    if (!FPendingSession)
        FInfo = FPop.GetSettings();
    return FInfo.letter;
}

int32_t MailThread::LastCode() const
{
    return FLastCode;
}

void MailThread::SetRow(int32_t row)
{
    FRow = row;
}

void MailThread::ApplySettings(const mailInfo &info, bool accountChanged)
{
    std::lock_guard lock(FLock);
    FOldInterval = FInfo.interval;
    FInfo = info;
    FPendingSession = info;
    FPendingAccountReset = FPendingAccountReset || accountChanged;
    if (accountChanged)
        FCheckNow = true;
    else
        FIntervalChanged = true;
    // A running check keeps the settings it started with.
    if (!FBusy)
        ApplyPendingToSession();
}

// Under FLock, between checks.
void MailThread::ApplyPendingToSession()
{
    if (!FPendingSession)
        return;
    if (FPendingAccountReset) {
        // Zeroed before the new settings go in, so the session keeps the
        // letter passed in ("0" after an account change) rather than the
        // newest id of the previous account.
        FPop.MarkRead();
        FPop.ClearCount();
        FNewestUidStale = true;
    }
    FPop.SetSettings(*FPendingSession);
    FPop.SetNewestFirst(IsNewestFirstHost(FPendingSession->host));
    FPendingSession.reset();
    FPendingAccountReset = false;
}

void MailThread::Stop()
{
    // All of it under FLock: the worker frees the object only after taking
    // FLock once more, so nothing here can touch a freed object.
    std::lock_guard lock(FLock);
    FStopped = true;
    FPop.Abort();
    FStep->Cancel();
    FQueue->NotifyStopped();
}
