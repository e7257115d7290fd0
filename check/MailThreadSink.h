#pragma once

#include <cstdint>
#include <string>

// What a check thread hands over to the window. Every call runs on the GUI
// thread, while the check thread waits for it to finish.
class MailThreadSink {
public:
    // The result of the last check (0 checked, 1 failed, 2 new letters) for
    // the list entry whose thread id matches.
    virtual void SyncState(uint32_t threadId, int32_t state) = 0;
    // The five cells of table row `row`, written in the order column 4 (the
    // current time, from the window's own clock), 3 status, 2 new letters,
    // 1 letters, 0 name. Texts are Windows-1251 bytes.
    virtual void SyncRow(int32_t row, const std::string &status, int32_t newCount,
                         int32_t count, const std::string &namemail) = 0;
    // Recount of totals, status bar, tray tip and alert.
    virtual void SyncTotals() = 0;

protected:
    ~MailThreadSink() = default;
};
