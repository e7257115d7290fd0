#include "HandOver.h"

#include <algorithm>
#include <utility>

bool HandOverQueue::Run(std::function<void()> work, const std::atomic<bool> &stopped)
{
    Request request{std::move(work), &stopped};
    std::unique_lock lock(FLock);
    if (stopped || FPump == nullptr)
        return false;
    FQueued.push_back(&request);
    // Emitted under FLock: the pump cannot be detached and destroyed meanwhile.
    emit FPump->wake();
    FChanged.wait(lock, [&] {
        return request.state == State::Ran || request.state == State::Dropped
            || (request.state == State::Queued && stopped);
    });
    if (request.state == State::Queued)
        FQueued.erase(std::find(FQueued.begin(), FQueued.end(), &request));
    return request.state == State::Ran;
}

void HandOverQueue::NotifyStopped()
{
    std::lock_guard lock(FLock);
    FChanged.notify_all();
}

std::size_t HandOverQueue::PendingCount() const
{
    std::lock_guard lock(FLock);
    return FQueued.size();
}

void HandOverQueue::Attach(HandOverPump *pump)
{
    std::lock_guard lock(FLock);
    FPump = pump;
}

void HandOverQueue::Detach()
{
    std::lock_guard lock(FLock);
    FPump = nullptr;
    for (Request *request : FQueued)
        request->state = State::Dropped;
    FQueued.clear();
    FChanged.notify_all();
}

void HandOverQueue::RunPending()
{
    std::unique_lock lock(FLock);
    while (!FQueued.empty()) {
        Request &request = *FQueued.front();
        FQueued.pop_front();
        if (*request.stopped) {
            request.state = State::Dropped;
            FChanged.notify_all();
            continue;
        }
        request.state = State::Running;
        lock.unlock();
        try {
            request.work();
        } catch (...) {
            Finish(request, State::Dropped);
            throw;
        }
        Finish(request, State::Ran);
        lock.lock();
    }
}

// After this the request may be gone: its thread returns from Run.
void HandOverQueue::Finish(Request &request, State state)
{
    std::lock_guard lock(FLock);
    request.state = state;
    FChanged.notify_all();
}

HandOverPump::HandOverPump(std::shared_ptr<HandOverQueue> queue, QObject *parent)
    : QObject(parent), FQueue(std::move(queue))
{
    connect(this, &HandOverPump::wake, this, &HandOverPump::runPending, Qt::QueuedConnection);
    FQueue->Attach(this);
}

HandOverPump::~HandOverPump()
{
    FQueue->Detach();
}

void HandOverPump::runPending()
{
    FQueue->RunPending();
}
