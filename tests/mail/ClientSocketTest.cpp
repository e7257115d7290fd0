#include "Clientsocket.h"
#include "MailTestSupport.h"
#include "ScriptedPop3Server.h"
#include "WsaError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace std::chrono_literals;
using S = ScriptedPop3Server;

namespace {

constexpr int32_t kTimeout = 30000;

std::string Received(TClientSocks &client)
{
    const char *bytes = client.ReceiveData();
    return client.ReceivedLength() > 0 ? std::string(bytes, client.ReceivedLength()) : std::string(bytes);
}

TEST(ClientSocket, AReplyLongerThanOneHundredBytesComesInTwoReceives)
{
    const std::string greeting = "+OK " + std::string(140, 'g') + "\r\n";
    S server({S::reply(greeting)});
    TClientSocks client;
    ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", kTimeout));
    EXPECT_EQ(Received(client), greeting.substr(0, 100));
    EXPECT_EQ(client.ReceivedLength(), 100);
    EXPECT_EQ(Received(client), greeting.substr(100));
    EXPECT_EQ(client.ReceivedLength(), 46);
}

TEST(ClientSocket, SendsTheBytesItIsGiven)
{
    S server({S::reply("+OK\r\n"), S::reply("+OK\r\n")});
    {
        TClientSocks client;
        ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", kTimeout));
        EXPECT_EQ(Received(client), "+OK\r\n");
        const std::string bytes("USER \xe8\0x\r\n", 10);
        ASSERT_TRUE(client.SendData(bytes.data(), static_cast<int32_t>(bytes.size())));
        ASSERT_TRUE(client.SendData("", 0));
        EXPECT_EQ(Received(client), "+OK\r\n");
    }
    ASSERT_TRUE(server.waitUntilIdle(10s));
    EXPECT_EQ(server.received(0), std::string("USER \xe8\0x\r\n", 10));
}

TEST(ClientSocket, HostsAreNamesOrDottedAddressesAndThePortKeepsItsLow16Bits)
{
    S one({S::reply("+OK one\r\n")});
    S two({S::reply("+OK two\r\n")}, "127.0.0.2");
    struct Case {
        const char *host;
        int32_t port;
        const S &server;
        std::string greeting;
    };
    const Case cases[] = {
        {"127.0.0.1", one.port(), one, "+OK one\r\n"},
        {"localhost", one.port(), one, "+OK one\r\n"},
        {"127.0.0.2", two.port(), two, "+OK two\r\n"},
        {"127.0.0.1", 65536 + one.port(), one, "+OK one\r\n"},
        {"127.0.0.2", 3 * 65536 + two.port(), two, "+OK two\r\n"},
    };
    for (const Case &c : cases) {
        TClientSocks client;
        ASSERT_TRUE(client.Connect(c.port, c.host, kTimeout)) << c.host << ":" << c.port;
        EXPECT_EQ(Received(client), c.greeting) << c.host << ":" << c.port;
    }
    EXPECT_EQ(one.connectionCount(), 3u);
    EXPECT_EQ(two.connectionCount(), 2u);
}

TEST(ClientSocket, AHostThatDoesNotResolveFailsWith102BeforeAnyConnection)
{
    for (const char *host : {"nonexistent.invalid", "bad host name", "", static_cast<const char *>(nullptr)}) {
        OnFreshThread([&] {
            TClientSocks client;
            EXPECT_FALSE(client.Connect(110, host, kTimeout));
            EXPECT_EQ(client.ErrorCode(), 102);
            // The thread's last error is the resolver's own number, as after gethostbyname().
            EXPECT_EQ(wsa::LastError(), wsa::kHostNotFound);
        });
    }
}

TEST(ClientSocket, ARefusedConnectionIs10061)
{
    RefusingPort refusing;
    TClientSocks client;
    EXPECT_FALSE(client.Connect(refusing.port(), "127.0.0.1", kTimeout));
    EXPECT_EQ(client.ErrorCode(), 10061);
}

TEST(ClientSocket, NothingReceivedGivesTheTextZeroWithTheCause)
{
    struct Case {
        const char *name;
        S::Script script;
        int32_t timeoutMs;
        int32_t length;
        int32_t error;
    };
    const Case cases[] = {
        {"orderly close", {S::close()}, kTimeout, 0, 0},
        {"reset", {S::reset()}, kTimeout, -1, 10054},
        {"silence", {S::silence()}, 200, -1, 10060},
    };
    for (const Case &c : cases) {
        S server(c.script);
        OnFreshThread([&] {
            TClientSocks client;
            ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", c.timeoutMs)) << c.name;
            EXPECT_STREQ(client.ReceiveData(), "0") << c.name;
            EXPECT_EQ(client.ReceivedLength(), c.length) << c.name;
            EXPECT_EQ(client.ErrorCode(), c.error) << c.name;
        });
    }
}

TEST(ClientSocket, AnOrderlyCloseReportsTheThreadsLastFailure)
{
    RefusingPort refusing;
    S server({S::close()});
    OnFreshThread([&] {
        TClientSocks failing;
        EXPECT_FALSE(failing.Connect(refusing.port(), "127.0.0.1", kTimeout));
        TClientSocks client;  // another object, the same thread
        ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", kTimeout));
        EXPECT_STREQ(client.ReceiveData(), "0");
        EXPECT_EQ(client.ReceivedLength(), 0);
        EXPECT_EQ(client.ErrorCode(), 10061);
    });
}

TEST(ClientSocket, TheLastFailureOutlivesLaterSuccesses)
{
    RefusingPort refusing;
    S server({S::reply("+OK\r\n"), S::reply("+OK\r\n")});
    TClientSocks client;
    EXPECT_FALSE(client.Connect(refusing.port(), "127.0.0.1", kTimeout));
    ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", kTimeout));
    EXPECT_EQ(Received(client), "+OK\r\n");
    ASSERT_TRUE(client.SendData("X\r\n", 3));
    EXPECT_EQ(Received(client), "+OK\r\n");
    EXPECT_EQ(client.ErrorCode(), 10061);
}

TEST(ClientSocket, SendingOnAConnectionTheServerResetIs10054)
{
    S server({S::reply("+OK\r\n"), S::reset()});
    TClientSocks client;
    ASSERT_TRUE(client.Connect(server.port(), "127.0.0.1", kTimeout));
    EXPECT_EQ(Received(client), "+OK\r\n");
    ASSERT_TRUE(client.SendData("USER x\r\n", 8));
    EXPECT_STREQ(client.ReceiveData(), "0");  // the reset, reported once by the system...
    EXPECT_EQ(client.ErrorCode(), 10054);
    EXPECT_FALSE(client.SendData("PASS y\r\n", 8));  // ...and then as a broken pipe
    EXPECT_EQ(client.ErrorCode(), 10054);
}

TEST(ClientSocket, CallsWithoutAConnectionFailWithoutHarm)
{
    TClientSocks client;
    EXPECT_FALSE(client.SendData("QUIT\r\n", 6));
    EXPECT_EQ(client.ErrorCode(), 10009);
    EXPECT_STREQ(client.ReceiveData(), "0");
    EXPECT_EQ(client.ReceivedLength(), -1);
    EXPECT_FALSE(client.SendData("x", -1));
    EXPECT_EQ(client.ErrorCode(), wsa::kFault);
}

}  // namespace
