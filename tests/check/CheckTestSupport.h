#pragma once

#include "EventWait.h"
#include "HandOver.h"
#include "ManualStepWaiter.h"
#include "RecordingSink.h"
#include "ScriptedPop3Server.h"
#include "UnitMailThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Windows-1251 form of a UTF-8 literal.
std::string Cp1251(const std::string &utf8);
// The status texts the thread hands over.
std::string CheckedText();            // "Проверен"
std::string CheckingText();           // "Проверка"
std::string ErrorText(int32_t code);  // "Ошибка: <code>"

// A window's worth of check machinery: a hand-over queue with its pump on the
// main thread, a recording sink, a manual step and a scripted POP3 server.
// Every thread a test starts is stopped at the end, and the test waits until
// every thread object has freed itself.
class CheckTest : public ::testing::Test {
protected:
    enum class After { Parked, CheckBegun, TimedOut };

    void TearDown() override;

    // Settings for the scripted server: user "user", password "secret",
    // name "Box", interval 10 minutes, letter "uid-b" (the newest letter of
    // the default script, so a check finds 2 letters and none new).
    mailInfo Info() const;
    // Starts a thread on the shared queue and sink; with the manual step
    // unless other options are given.
    MailThread *Start(const mailInfo &info, int32_t row = 1);
    MailThread *Start(const mailInfo &info, int32_t row, MailThreadOptions options);
    void StopThread(MailThread *thread);

    // Grants `count` steps and processes events until the thread either
    // blocks in its wait again or hands over the "Проверка" row of a new check.
    After GrantSteps(uint64_t count);
    // Processes events until the thread blocks in its wait after `taken` steps.
    bool WaitParkedAt(uint64_t taken);

    std::shared_ptr<HandOverQueue> FQueue = std::make_shared<HandOverQueue>();
    HandOverPump FPump{FQueue};
    RecordingSink FSink;
    std::shared_ptr<ManualStepWaiter> FSteps = std::make_shared<ManualStepWaiter>();
    ScriptedPop3Server FServer{
        Replies({"+OK ready", "+OK", "+OK", "+OK 2 200", "+OK 2 uid-b", "+OK bye"})};

private:
    std::vector<MailThread *> FRunning;
};
