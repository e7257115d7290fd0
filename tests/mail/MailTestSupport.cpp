#include "MailTestSupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

mailInfo MailboxOn(const ScriptedPop3Server &server, const std::string &letter, int32_t timeoutMs)
{
    mailInfo info;
    info.namemail = "test";
    info.host = server.address();
    info.port = server.port();
    info.user = "bob";
    info.password = "secret";
    info.letter = letter;
    info.interval = 600000;
    info.timeout = timeoutMs;
    return info;
}

CheckOutcome RunCheck(TPOP3 &pop)
{
    CheckOutcome outcome;
    outcome.code = 0;
    for (int32_t (TPOP3::*step)() : {&TPOP3::Connect, &TPOP3::User, &TPOP3::Pass, &TPOP3::Stat, &TPOP3::Quit}) {
        ++outcome.steps;
        outcome.code = (pop.*step)();
        if (outcome.code != 0)
            break;
    }
    outcome.letterCount = pop.LetterCount();
    outcome.newCount = pop.NewCount();
    return outcome;
}

void OnFreshThread(const std::function<void()> &work)
{
    std::thread(work).join();
}

CheckOutcome RunCheckOnFreshThread(const mailInfo &settings, bool newestFirst)
{
    CheckOutcome outcome;
    OnFreshThread([&] {
        TPOP3 pop;
        pop.SetSettings(settings);
        pop.SetNewestFirst(newestFirst);
        outcome = RunCheck(pop);
        pop.MarkRead();
        outcome.letterAfterMark = pop.GetSettings().letter;
    });
    return outcome;
}

RefusingPort::RefusingPort()
{
    FFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (FFd < 0 || ::bind(FFd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::getsockname(FFd, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (FFd >= 0)
            ::close(FFd);
        throw std::runtime_error("RefusingPort: cannot bind a loopback port");
    }
    FPort = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort()
{
    ::close(FFd);
}

int OpenDescriptorCount()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}
