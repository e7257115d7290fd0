#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class HandOverPump;

// The blocking hand-over from check threads to the GUI thread: a check thread
// queues a piece of work and waits until the GUI thread has run it. Every
// byte of the work passes under FLock, a std::mutex that ThreadSanitizer sees;
// Qt only carries a data-free wake-up to the pump, because its own locks are
// invisible to the sanitizer.
//
// One queue serves all check threads of a window and is shared with them
// (std::shared_ptr), so a thread that outlives the window can still leave it.
class HandOverQueue {
public:
    HandOverQueue() = default;
    HandOverQueue(const HandOverQueue &) = delete;
    HandOverQueue &operator=(const HandOverQueue &) = delete;

    // Check-thread side. Queues `work`, wakes the pump and blocks until the
    // work has run on the GUI thread (true) or will never run (false): its
    // thread's `stopped` flag is set (the GUI thread looks at it right before
    // running the work, so a stop made on the GUI thread is exact), or no pump
    // is attached. A stop ends the wait at once unless the work is running.
    bool Run(std::function<void()> work, const std::atomic<bool> &stopped);

    // Wakes every thread waiting in Run so that it sees its stop flag; called
    // right after a stop flag has been set.
    void NotifyStopped();

    // Work queued and not yet taken by the pump.
    std::size_t PendingCount() const;

private:
    friend class HandOverPump;

    enum class State { Queued, Running, Ran, Dropped };
    struct Request {
        std::function<void()> work;
        const std::atomic<bool> *stopped;
        State state = State::Queued;
    };

    void Attach(HandOverPump *pump);
    void Detach();
    // GUI-thread side: runs everything queued, one piece at a time, never
    // holding FLock while a piece runs (it may open a modal loop that runs
    // further hand-overs).
    void RunPending();
    void Finish(Request &request, State state);

    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<Request *> FQueued;     // each lives on its waiting thread's stack
    HandOverPump *FPump = nullptr;
};

// Lives on the GUI thread and runs the queue's work there: check threads emit
// wake(), which reaches runPending() through the GUI thread's event loop,
// modal loops included. Attaches itself to the queue for its whole life; once
// it is destroyed, queued and later work is dropped.
class HandOverPump final : public QObject {
    Q_OBJECT

public:
    explicit HandOverPump(std::shared_ptr<HandOverQueue> queue, QObject *parent = nullptr);
    ~HandOverPump() override;

signals:
    void wake();

private:
    void runPending();

    std::shared_ptr<HandOverQueue> FQueue;
};
