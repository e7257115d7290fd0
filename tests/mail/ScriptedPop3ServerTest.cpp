// The scripted server is itself a test fixture others rely on: these tests pin
// down what it does with a raw client socket.
#include "ScriptedPop3Server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

using namespace std::chrono_literals;
using S = ScriptedPop3Server;

namespace {

// A raw blocking client with a 10-second receive time-out, so a broken server
// fails the test instead of hanging it.
class RawClient {
public:
    RawClient(const std::string &address, uint16_t port)
    {
        FFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval limit{10, 0};
        ::setsockopt(FFd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        ::inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
        FConnected = ::connect(FFd, reinterpret_cast<const sockaddr *>(&peer), sizeof peer) == 0;
    }
    ~RawClient() { ::close(FFd); }

    bool connected() const { return FConnected; }
    void send(const std::string &bytes) { ASSERT_EQ(::send(FFd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size())); }
    // One recv(): the bytes, or "<eof>" / "<errno N>".
    std::string receiveOnce()
    {
        char buffer[1024];
        const ssize_t n = ::recv(FFd, buffer, sizeof buffer, 0);
        if (n > 0)
            return std::string(buffer, static_cast<std::size_t>(n));
        return n == 0 ? "<eof>" : "<errno " + std::to_string(errno) + ">";
    }
    // Reads until the peer closes (or fails); all bytes.
    std::string receiveAll()
    {
        std::string all;
        for (std::string piece = receiveOnce(); piece != "<eof>" && piece.rfind("<errno", 0) != 0;
             piece = receiveOnce())
            all += piece;
        return all;
    }

private:
    int FFd = -1;
    bool FConnected = false;
};

TEST(ScriptedPop3Server, AnswersEachCommandLineWithTheNextActionAndRecordsEveryByte)
{
    S server({S::reply("+OK hello\r\n"), S::reply("+OK user\r\n"), S::reply("+OK pass\r\n")});
    RawClient client(server.address(), server.port());
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.receiveOnce(), "+OK hello\r\n");
    client.send("USER a\r\n");
    EXPECT_EQ(client.receiveOnce(), "+OK user\r\n");
    client.send("PASS b\r\n");
    EXPECT_EQ(client.receiveOnce(), "+OK pass\r\n");
    // The script is used up: one more line closes the connection in good order.
    client.send("STAT\r\n");
    EXPECT_EQ(client.receiveOnce(), "<eof>");
    EXPECT_EQ(server.received(0), "USER a\r\nPASS b\r\nSTAT\r\n");
    EXPECT_EQ(server.connectionCount(), 1u);
}

TEST(ScriptedPop3Server, TakesLinesThatArriveTogetherOneByOne)
{
    S server({S::reply("+OK\r\n"), S::reply("1\r\n"), S::reply("2\r\n"), S::silence()});
    RawClient client(server.address(), server.port());
    EXPECT_EQ(client.receiveOnce(), "+OK\r\n");
    client.send("A\r\nB\r\n");
    std::string both;
    while (both.size() < 6)
        both += client.receiveOnce();
    EXPECT_EQ(both, "1\r\n2\r\n");
}

TEST(ScriptedPop3Server, SplitSendsThePiecesApart)
{
    S server({S::split({"+O", "K split\r\n"}, 300ms)});
    RawClient client(server.address(), server.port());
    EXPECT_EQ(client.receiveOnce(), "+O");
    EXPECT_EQ(client.receiveOnce(), "K split\r\n");
}

TEST(ScriptedPop3Server, CloseIsOrderlyAndResetIsAbortive)
{
    S closing({S::reply("+OK\r\n"), S::close()});
    RawClient first(closing.address(), closing.port());
    EXPECT_EQ(first.receiveOnce(), "+OK\r\n");
    first.send("USER x\r\n");
    EXPECT_EQ(first.receiveOnce(), "<eof>");

    S resetting({S::reply("+OK\r\n"), S::reset()});
    RawClient second(resetting.address(), resetting.port());
    EXPECT_EQ(second.receiveOnce(), "+OK\r\n");
    second.send("USER x\r\n");
    EXPECT_EQ(second.receiveOnce(), "<errno " + std::to_string(ECONNRESET) + ">");
}

TEST(ScriptedPop3Server, QueuedScriptsGoFirstThenTheDefaultScriptEachTime)
{
    S server({S::reply("+OK default\r\n")});
    server.queueScript({S::reply("+OK one\r\n")});
    server.queueScript({S::reply("+OK two\r\n")});
    for (const char *expected : {"+OK one\r\n", "+OK two\r\n", "+OK default\r\n"}) {
        RawClient client(server.address(), server.port());
        EXPECT_EQ(client.receiveOnce(), expected);
    }
    server.setScript({S::reply("+OK changed\r\n")});
    RawClient client(server.address(), server.port());
    EXPECT_EQ(client.receiveOnce(), "+OK changed\r\n");
    EXPECT_EQ(server.connectionCount(), 4u);
}

TEST(ScriptedPop3Server, ListensOnTheAddressItIsGiven)
{
    S server({S::reply("+OK two\r\n")}, "127.0.0.2");
    EXPECT_EQ(server.address(), "127.0.0.2");
    RawClient client("127.0.0.2", server.port());
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.receiveOnce(), "+OK two\r\n");
}

TEST(ScriptedPop3Server, ConnectionsEndWhenTheClientCloses)
{
    S server({S::reply("+OK\r\n")});
    {
        RawClient a(server.address(), server.port());
        RawClient b(server.address(), server.port());
        ASSERT_TRUE(server.waitForConnections(2, 10s));
        EXPECT_EQ(a.receiveOnce(), "+OK\r\n");
        EXPECT_EQ(b.receiveOnce(), "+OK\r\n");
    }
    EXPECT_TRUE(server.waitUntilIdle(10s));
    EXPECT_EQ(server.openConnections(), 0u);
}

TEST(ScriptedPop3Server, StopEndsSilenceAndAClientThatNeverReads)
{
    // 8 MB is far more than the socket buffers hold, so the server is stuck in
    // sending to a client that does not read, while another waits in silence.
    S server({S::reply(std::string(8 << 20, 'x'))});
    server.queueScript({S::reply("+OK\r\n"), S::silence()});
    RawClient silent(server.address(), server.port());
    EXPECT_EQ(silent.receiveOnce(), "+OK\r\n");
    silent.send("USER x\r\n");
    RawClient stuffed(server.address(), server.port());
    ASSERT_TRUE(server.waitForConnections(2, 10s));
    server.stop();  // returns: a hang here is the failure
    EXPECT_EQ(server.openConnections(), 0u);
    EXPECT_EQ(server.received(0), "USER x\r\n");
    server.stop();  // a second stop does nothing
}

}  // namespace
