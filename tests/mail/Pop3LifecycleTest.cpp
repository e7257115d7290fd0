// A session over many checks and from other threads: descriptors, the
// thread's last error, Abort().
#include "Clientsocket.h"
#include "MailTestSupport.h"
#include "Pop3.h"
#include "ScriptedPop3Server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <string>
#include <thread>

using namespace std::chrono_literals;
using S = ScriptedPop3Server;

namespace {

// Far longer than any step against the loopback takes, far shorter than a hang.
constexpr auto kBound = 20s;

S::Script OneNewLetter()
{
    return {S::reply("+OK ready\r\n"), S::reply("+OK\r\n"), S::reply("+OK\r\n"),
            S::reply("+OK 1 10\r\n"), S::reply("+OK 1 u1\r\n"), S::reply("+OK bye\r\n")};
}

TEST(Pop3Lifecycle, AThousandChecksLeaveNoDescriptorBehind)
{
    S server(OneNewLetter());
    const int before = OpenDescriptorCount();
    {
        TPOP3 pop;
        pop.SetSettings(MailboxOn(server));
        int failed = 0;
        for (int i = 0; i < 1000; ++i)
            failed += RunCheck(pop).code != 0;
        EXPECT_EQ(failed, 0);
        EXPECT_EQ(pop.LetterCount(), 1);
        EXPECT_EQ(pop.NewCount(), 1);
        EXPECT_EQ(server.connectionCount(), 1000u);
        // Only the last check's socket is open, and the server's end of it.
        ASSERT_TRUE(server.waitUntilOpenAtMost(1, kBound));
        EXPECT_EQ(server.openConnections(), 1u);
        EXPECT_EQ(OpenDescriptorCount(), before + 2);
    }
    ASSERT_TRUE(server.waitUntilIdle(kBound));
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(Pop3Lifecycle, AnOrderlyCloseReportsTheLastFailureOfTheThread)
{
    // The same thread, the same session: a time-out in one check, then a
    // server that closes after the greeting. Nothing fails in the second
    // check, so its code is the number recorded by the first.
    S silent({S::silence()});
    S closing({S::reply("+OK\r\n"), S::close()});
    OnFreshThread([&] {
        TPOP3 pop;
        pop.SetSettings(MailboxOn(silent, "0", 200));
        EXPECT_EQ(RunCheck(pop).code, 10060);
        pop.SetSettings(MailboxOn(closing));
        const CheckOutcome outcome = RunCheck(pop);
        EXPECT_EQ(outcome.code, 10060);
        EXPECT_EQ(outcome.steps, 2);
    });
}

TEST(Pop3Lifecycle, AFailedCheckKeepsTheCountsOfTheLastCheckThatReachedThem)
{
    S server(OneNewLetter());
    server.queueScript(OneNewLetter());
    server.queueScript({S::reply("+OK\r\n"), S::reply("-ERR\r\n")});
    server.queueScript({S::reply("+OK\r\n"), S::reply("+OK\r\n"), S::reply("+OK\r\n"),
                        S::reply("+OK 7 x\r\n")});
    OnFreshThread([&] {
        TPOP3 pop;
        pop.SetSettings(MailboxOn(server));
        EXPECT_EQ(RunCheck(pop).code, 0);
        EXPECT_EQ(RunCheck(pop).code, 1011);
        EXPECT_EQ(pop.LetterCount(), 1);
        EXPECT_EQ(pop.NewCount(), 1);
        EXPECT_EQ(RunCheck(pop).code, 100);  // garbage counts
        EXPECT_EQ(pop.LetterCount(), 1);
        EXPECT_EQ(pop.NewCount(), 1);
        pop.ClearCount();
        EXPECT_EQ(pop.LetterCount(), 0);
    });
}

TEST(Pop3Lifecycle, MarkReadNeverMovesTheLetterBackwards)
{
    // The newest id seen is "b5"; letters set by the window before marking.
    struct Case {
        std::string letter, afterMark;
    };
    const Case cases[] = {
        {"0", "b5"}, {"a9", "b5"}, {"b4", "b5"}, {"b5", "b5"}, {"b6", "b6"}, {"c", "c"}, {"b50", "b50"},
    };
    S server(OneNewLetter());
    server.setScript({S::reply("+OK\r\n"), S::reply("+OK\r\n"), S::reply("+OK\r\n"),
                      S::reply("+OK 1 10\r\n"), S::reply("+OK 1 b5\r\n"), S::reply("+OK\r\n")});
    TPOP3 pop;
    pop.SetSettings(MailboxOn(server, "0"));
    ASSERT_EQ(RunCheck(pop).code, 0);
    ASSERT_EQ(pop.NewCount(), 1);
    for (const Case &c : cases) {
        pop.SetSettings(MailboxOn(server, c.letter));
        pop.MarkRead();
        EXPECT_EQ(pop.NewCount(), 0);
        EXPECT_EQ(pop.GetSettings().letter, c.afterMark) << c.letter;
    }
    // The newest id stays that of the last check that found the newest letter
    // new; a check that finds it old leaves it alone.
    pop.SetSettings(MailboxOn(server, "b9"));
    ASSERT_EQ(RunCheck(pop).code, 0);
    EXPECT_EQ(pop.NewCount(), 0);
    pop.SetSettings(MailboxOn(server, "a"));
    pop.MarkRead();
    EXPECT_EQ(pop.GetSettings().letter, "b5");
}

TEST(Pop3Lifecycle, AFreshSessionMarksNothing)
{
    TPOP3 pop;
    EXPECT_EQ(pop.GetSettings().letter, "0");
    EXPECT_EQ(pop.LetterCount(), 0);
    EXPECT_EQ(pop.NewCount(), 0);
    pop.MarkRead();
    EXPECT_EQ(pop.GetSettings().letter, "0");
}

TEST(Pop3Lifecycle, AbortCutsAWaitOnASilentServerShort)
{
    S server({S::reply("+OK\r\n"), S::reply("+OK\r\n"), S::silence()});
    TPOP3 pop;
    pop.SetSettings(MailboxOn(server));  // the full 30-second receive time-out
    auto check = std::async(std::launch::async, [&] { return RunCheck(pop); });
    ASSERT_TRUE(server.waitForConnections(1, kBound));
    pop.Abort();
    ASSERT_EQ(check.wait_for(kBound), std::future_status::ready);
    const CheckOutcome outcome = check.get();
    EXPECT_EQ(outcome.code, TClientSocks::kAborted);
    EXPECT_LE(outcome.steps, 3);
    // Every later check fails at once, without a connection.
    EXPECT_EQ(RunCheck(pop).code, TClientSocks::kAborted);
    EXPECT_EQ(server.connectionCount(), 1u);
}

TEST(Pop3Lifecycle, AbortBeforeConnectMeansNoConnectionAttempt)
{
    // A connection attempt would be refused with 10061.
    RefusingPort refusing;
    TClientSocks client;
    client.Abort();
    EXPECT_FALSE(client.Connect(refusing.port(), "127.0.0.1", 30000));
    EXPECT_EQ(client.ErrorCode(), TClientSocks::kAborted);
}

// Whether a socket of this process is in SYN_SENT towards the port (/proc/net/tcp).
bool ConnectPendingTo(uint16_t port)
{
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // header
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        const auto colon = remote.find(':');
        if (colon != std::string::npos && std::stoul(remote.substr(colon + 1), nullptr, 16) == port
            && state == "02")
            return true;
    }
    return false;
}

TEST(Pop3Lifecycle, AbortCutsAPendingConnectShort)
{
    // A listener with a full accept queue drops new SYNs, so connect() waits.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length), 0);
    const uint16_t port = ntohs(address.sin_port);
    const int filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(filler, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);

    TClientSocks client;
    auto connecting = std::async(std::launch::async, [&] {
        const bool connected = client.Connect(port, "127.0.0.1", 30000);
        return std::pair{connected, client.ErrorCode()};
    });
    bool pending = false;
    for (auto until = std::chrono::steady_clock::now() + kBound;
         !(pending = ConnectPendingTo(port)) && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(pending) << "the connect never waited; the test proves nothing";
    client.Abort();
    ASSERT_EQ(connecting.wait_for(kBound), std::future_status::ready);
    const auto [connected, error] = connecting.get();
    EXPECT_FALSE(connected);
    EXPECT_EQ(error, TClientSocks::kAborted);
    ::close(filler);
    ::close(listener);
}

}  // namespace
