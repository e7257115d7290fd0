#pragma once

#include <chrono>
#include <functional>

// Bound of every wait on a condition; only a failing test waits this long.
inline constexpr std::chrono::milliseconds kLimit{20000};

// Processes the main thread's events (so check threads' hand-overs run) until
// `condition` holds; false when it does not within `limit`.
bool WaitUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit = kLimit);
// The same without processing events: hand-overs stay queued meanwhile.
bool PollUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit = kLimit);
