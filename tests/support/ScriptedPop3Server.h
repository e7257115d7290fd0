#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A POP3 peer for tests that answers from a script, over real TCP sockets.
//
// The server listens on an address of the loopback range (127.0.0.1 unless
// told otherwise) on a port chosen by the kernel, and serves any number of
// connections, one after another or at the same time, each on its own thread.
//
// A script is a list of actions. The first action is performed as soon as a
// connection is accepted (the greeting); every later action is performed when
// one more command line has arrived (bytes up to and including "\n"). So for
// a full check the script is: greeting, reply to USER, to PASS, to STAT, to
// each UIDL, to QUIT. What happens at the edges:
//   - a command line that finds no action left closes the connection in good
//     order (as the close action does);
//   - after the last action the connection stays open, recording what comes,
//     until the client closes it or the server stops;
//   - the client closing its end ends the connection at any point.
//
// Every byte a client sends is recorded, per connection in the order the
// connections were accepted, so tests can assert the exact bytes sent.
//
// Which script a connection runs: the scripts queued with queueScript(), first
// in first out, one per connection; when none is queued, the current default
// script (constructor, setScript()). Both may be changed at any time from any
// thread; a change affects connections accepted afterwards.
//
// stop() (also run by the destructor) wakes every wait of the server at once,
// silence included, closes every socket and joins every thread. A client that
// never reads, never writes or never closes cannot hold the server up.
class ScriptedPop3Server {
public:
    struct Action {
        enum class Kind {
            Send,     // one send() per piece, with `pause` between pieces
            Silence,  // say nothing more; keep the connection open until the client closes or stop()
            Close,    // orderly close: FIN (shutdown for writing), then wait for the client's close
            Reset,    // abortive close: SO_LINGER 0 and close, so the client sees a reset
        };
        Kind kind = Kind::Send;
        std::vector<std::string> pieces;
        std::chrono::milliseconds pause{0};
    };
    using Script = std::vector<Action>;

    // Sends the bytes as they are, in one send(); the caller writes the "\r\n".
    static Action reply(std::string bytes);
    // Sends each piece with its own send(), waiting `pause` after every piece
    // but the last, so that a client blocked in recv() gets the first piece on
    // its own.
    static Action split(std::vector<std::string> pieces,
                        std::chrono::milliseconds pause = std::chrono::milliseconds(100));
    static Action silence();
    static Action close();
    static Action reset();

    // Starts listening at once; throws std::runtime_error when it cannot.
    explicit ScriptedPop3Server(Script script, const std::string &bindAddress = "127.0.0.1");
    ~ScriptedPop3Server();
    ScriptedPop3Server(const ScriptedPop3Server &) = delete;
    ScriptedPop3Server &operator=(const ScriptedPop3Server &) = delete;

    const std::string &address() const { return FAddress; }
    uint16_t port() const { return FPort; }

    void setScript(Script script);
    void queueScript(Script script);

    // Connections accepted so far.
    std::size_t connectionCount() const;
    // Connections accepted and not yet ended (by either side or by stop()).
    std::size_t openConnections() const;
    // Bytes received on the given connection (0 = the first accepted); empty
    // for a connection not (yet) accepted.
    std::string received(std::size_t connection) const;
    // Bytes received, one string per accepted connection.
    std::vector<std::string> transcripts() const;

    // Bounded waits on the server's own state; true when the condition holds.
    bool waitForConnections(std::size_t count, std::chrono::milliseconds limit) const;
    bool waitUntilOpenAtMost(std::size_t count, std::chrono::milliseconds limit) const;
    bool waitUntilIdle(std::chrono::milliseconds limit) const { return waitUntilOpenAtMost(0, limit); }

    // Ends every connection and the listening socket, joins all threads.
    // Idempotent; the recorded bytes and counts stay readable.
    void stop();

private:
    struct Connection {
        std::thread thread;
        bool finished = false;  // under FLock
    };
    enum class Wait { Ready, Stopped, TimedOut };

    void acceptLoop();
    void serve(int fd, std::size_t index, const Script &script);
    bool perform(int fd, std::size_t index, const Action &action);
    bool sendAll(int fd, const std::string &bytes);
    bool readMore(int fd, std::size_t index, std::string &pending);
    void drainUntilClosed(int fd, std::size_t index);
    Wait waitFor(int fd, short events, int timeoutMs) const;
    void reapFinished();

    std::string FAddress;
    uint16_t FPort = 0;
    int FListen = -1;
    int FWake[2] = {-1, -1};  // a byte written to [1] wakes every poll for stop()

    mutable std::mutex FLock;
    mutable std::condition_variable FChanged;
    Script FScript;
    std::deque<Script> FQueued;
    std::vector<std::string> FReceived;
    std::size_t FOpen = 0;
    std::list<Connection> FConnections;

    std::mutex FStopLock;  // serialises stop()
    std::thread FAcceptor;
};

// A script that answers with these lines (CR LF added), one per command; the
// first is the greeting.
ScriptedPop3Server::Script Replies(std::initializer_list<std::string> lines);
