#pragma once

#include "MailInfo.h"
#include "Pop3.h"
#include "ScriptedPop3Server.h"

#include <cstdint>
#include <functional>
#include <string>

// Settings of a mailbox on the given server: user "bob", password "secret".
mailInfo MailboxOn(const ScriptedPop3Server &server, const std::string &letter = "0",
                   int32_t timeoutMs = kMailTimeoutMs);

// What one check left behind.
struct CheckOutcome {
    int32_t code = -1;       // the first step code that is not 0, or 0
    int steps = 0;           // steps run, the failing one included (5 for a full check)
    int32_t letterCount = -1;
    int32_t newCount = -1;
    std::string letterAfterMark;  // GetSettings().letter after MarkRead()
};

// One check as the check thread runs it: Connect, User, Pass, Stat, Quit,
// stopping at the first code that is not 0.
CheckOutcome RunCheck(TPOP3 &pop);

// A fresh session and one check on a thread of its own, so that no earlier
// socket failure of the calling thread shows through as "the thread's last
// error"; then MarkRead. The session is gone (its socket closed) on return.
CheckOutcome RunCheckOnFreshThread(const mailInfo &settings, bool newestFirst = false);

// Runs the function on a new thread and waits for it.
void OnFreshThread(const std::function<void()> &work);

// A loopback TCP port that is bound but not listening, so a connection to it is
// refused; held for the object's life, so nobody else can take the port.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort &) = delete;
    RefusingPort &operator=(const RefusingPort &) = delete;
    uint16_t port() const { return FPort; }

private:
    int FFd = -1;
    uint16_t FPort = 0;
};

// Entries of /proc/self/fd: the process's open descriptors.
int OpenDescriptorCount();
