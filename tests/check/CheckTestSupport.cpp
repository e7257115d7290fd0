#include "CheckTestSupport.h"

#include "CodePage.h"

#include <algorithm>

std::string Cp1251(const std::string &utf8)
{
    return codepage::utf8ToCp1251(utf8).value();
}

std::string CheckedText()
{
    return Cp1251("Проверен");
}

std::string CheckingText()
{
    return Cp1251("Проверка");
}

std::string ErrorText(int32_t code)
{
    return Cp1251("Ошибка: ") + std::to_string(code);
}

void CheckTest::TearDown()
{
    for (MailThread *thread : FRunning)
        thread->Stop();
    FRunning.clear();
    // Nothing to process: stopped threads drop their hand-overs by themselves.
    EXPECT_TRUE(PollUntil([] { return MailThread::LiveCount() == 0; }))
        << MailThread::LiveCount() << " thread objects still alive";
    for (const SinkCall &call : FSink.Calls())
        EXPECT_TRUE(call.onMainThread) << ::testing::PrintToString(call) << " ran off the main thread";
}

mailInfo CheckTest::Info() const
{
    mailInfo info;
    info.password = "secret";
    info.user = "user";
    info.namemail = "Box";
    info.host = "127.0.0.1";
    info.port = FServer.port();
    info.letter = "uid-b";
    info.interval = 10 * 60000;
    info.timeout = kMailTimeoutMs;
    return info;
}

MailThread *CheckTest::Start(const mailInfo &info, int32_t row)
{
    return Start(info, row, MailThreadOptions{FSteps});
}

MailThread *CheckTest::Start(const mailInfo &info, int32_t row, MailThreadOptions options)
{
    auto *thread = new MailThread(row, info, FSink, FQueue, std::move(options));
    FRunning.push_back(thread);
    return thread;
}

void CheckTest::StopThread(MailThread *thread)
{
    thread->Stop();
    FRunning.erase(std::find(FRunning.begin(), FRunning.end(), thread));
}

CheckTest::After CheckTest::GrantSteps(uint64_t count)
{
    const std::size_t checking = FSink.RowsWithStatus(CheckingText());
    const uint64_t target = FSteps->Taken() + count;
    FSteps->Grant(count);
    After after = After::TimedOut;
    WaitUntil([&] {
        if (FSink.RowsWithStatus(CheckingText()) > checking)
            after = After::CheckBegun;
        else if (FSteps->IsParkedAt(target))
            after = After::Parked;
        return after != After::TimedOut;
    });
    return after;
}

bool CheckTest::WaitParkedAt(uint64_t taken)
{
    return WaitUntil([&] { return FSteps->IsParkedAt(taken); });
}

