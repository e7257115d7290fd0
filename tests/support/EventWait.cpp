#include "EventWait.h"

#include <QCoreApplication>

#include <thread>

namespace {

bool Poll(const std::function<bool()> &condition, std::chrono::milliseconds limit,
          bool processEvents)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (processEvents)
            QCoreApplication::processEvents();
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

bool WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit)
{
    return Poll(condition, limit, true);
}

bool PollUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit)
{
    return Poll(condition, limit, false);
}
