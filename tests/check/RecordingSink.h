#pragma once

#include "MailThreadSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

// One hand-over as the window would have seen it.
struct SinkCall {
    enum class Kind { State, Row, Totals };
    Kind kind = Kind::Totals;
    uint32_t threadId = 0;  // State
    int32_t state = 0;      // State
    int32_t row = 0;        // Row
    std::string status;     // Row
    int32_t newCount = 0;   // Row
    int32_t count = 0;      // Row
    std::string namemail;   // Row
    bool onMainThread = false;

    static SinkCall State(uint32_t threadId, int32_t state);
    static SinkCall Row(int32_t row, std::string status, int32_t newCount, int32_t count,
                        std::string namemail);
    static SinkCall Totals();
    bool operator==(const SinkCall &other) const;
};

void PrintTo(const SinkCall &call, std::ostream *out);

// Records every hand-over, with whether it ran on the test's main thread (the
// GUI thread of these tests). Used on the main thread only.
class RecordingSink final : public MailThreadSink {
public:
    void SyncState(uint32_t threadId, int32_t state) override;
    void SyncRow(int32_t row, const std::string &status, int32_t newCount, int32_t count,
                 const std::string &namemail) override;
    void SyncTotals() override;

    const std::vector<SinkCall> &Calls() const { return FCalls; }
    // Row hand-overs carrying this status.
    std::size_t RowsWithStatus(const std::string &status) const;

private:
    void Record(SinkCall call);

    const std::thread::id FMainThread = std::this_thread::get_id();
    std::vector<SinkCall> FCalls;
};
