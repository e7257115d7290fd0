#include "RecordingSink.h"

#include "CodePage.h"

#include <algorithm>
#include <ostream>
#include <utility>

SinkCall SinkCall::State(uint32_t threadId, int32_t state)
{
    SinkCall call;
    call.kind = Kind::State;
    call.threadId = threadId;
    call.state = state;
    return call;
}

SinkCall SinkCall::Row(int32_t row, std::string status, int32_t newCount, int32_t count,
                       std::string namemail)
{
    SinkCall call;
    call.kind = Kind::Row;
    call.row = row;
    call.status = std::move(status);
    call.newCount = newCount;
    call.count = count;
    call.namemail = std::move(namemail);
    return call;
}

SinkCall SinkCall::Totals()
{
    SinkCall call;
    call.kind = Kind::Totals;
    return call;
}

// The thread a call ran on is checked on its own, not compared here.
bool SinkCall::operator==(const SinkCall &other) const
{
    return kind == other.kind && threadId == other.threadId && state == other.state
        && row == other.row && status == other.status && newCount == other.newCount
        && count == other.count && namemail == other.namemail;
}

void PrintTo(const SinkCall &call, std::ostream *out)
{
    switch (call.kind) {
    case SinkCall::Kind::State:
        *out << "SyncState(" << call.threadId << ", " << call.state << ")";
        break;
    case SinkCall::Kind::Row:
        *out << "SyncRow(" << call.row << ", \"" << codepage::cp1251ToUtf8(call.status) << "\", "
             << call.newCount << ", " << call.count << ", \""
             << codepage::cp1251ToUtf8(call.namemail) << "\")";
        break;
    case SinkCall::Kind::Totals:
        *out << "SyncTotals()";
        break;
    }
}

void RecordingSink::SyncState(uint32_t threadId, int32_t state)
{
    Record(SinkCall::State(threadId, state));
}

void RecordingSink::SyncRow(int32_t row, const std::string &status, int32_t newCount,
                            int32_t count, const std::string &namemail)
{
    Record(SinkCall::Row(row, status, newCount, count, namemail));
}

void RecordingSink::SyncTotals()
{
    Record(SinkCall::Totals());
}

std::size_t RecordingSink::RowsWithStatus(const std::string &status) const
{
    return static_cast<std::size_t>(std::count_if(FCalls.begin(), FCalls.end(), [&](const SinkCall &call) {
        return call.kind == SinkCall::Kind::Row && call.status == status;
    }));
}

void RecordingSink::Record(SinkCall call)
{
    call.onMainThread = std::this_thread::get_id() == FMainThread;
    FCalls.push_back(std::move(call));
}
