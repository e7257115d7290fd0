#include "ScriptedPop3Server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

ScriptedPop3Server::Script Replies(std::initializer_list<std::string> lines)
{
    ScriptedPop3Server::Script script;
    for (const std::string &line : lines)
        script.push_back(ScriptedPop3Server::reply(line + "\r\n"));
    return script;
}

ScriptedPop3Server::Action ScriptedPop3Server::reply(std::string bytes)
{
    return Action{Action::Kind::Send, {std::move(bytes)}, std::chrono::milliseconds(0)};
}

ScriptedPop3Server::Action ScriptedPop3Server::split(std::vector<std::string> pieces,
                                                     std::chrono::milliseconds pause)
{
    return Action{Action::Kind::Send, std::move(pieces), pause};
}

ScriptedPop3Server::Action ScriptedPop3Server::silence()
{
    return Action{Action::Kind::Silence, {}, std::chrono::milliseconds(0)};
}

ScriptedPop3Server::Action ScriptedPop3Server::close()
{
    return Action{Action::Kind::Close, {}, std::chrono::milliseconds(0)};
}

ScriptedPop3Server::Action ScriptedPop3Server::reset()
{
    return Action{Action::Kind::Reset, {}, std::chrono::milliseconds(0)};
}

ScriptedPop3Server::ScriptedPop3Server(Script script, const std::string &bindAddress)
    : FAddress(bindAddress), FScript(std::move(script))
{
    auto fail = [this](const std::string &what) {
        const std::string reason = what + ": " + std::strerror(errno);
        for (int fd : {FListen, FWake[0], FWake[1]})
            if (fd >= 0)
                ::close(fd);
        throw std::runtime_error("ScriptedPop3Server: " + reason);
    };
    if (::pipe2(FWake, O_CLOEXEC) != 0)
        fail("pipe2");
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FListen < 0)
        fail("socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = 0;
    if (::inet_pton(AF_INET, bindAddress.c_str(), &address.sin_addr) != 1) {
        errno = EINVAL;
        fail("address " + bindAddress);
    }
    if (::bind(FListen, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        fail("bind " + bindAddress);
    if (::listen(FListen, SOMAXCONN) != 0)
        fail("listen");
    socklen_t length = sizeof address;
    if (::getsockname(FListen, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        fail("getsockname");
    FPort = ntohs(address.sin_port);
    FAcceptor = std::thread(&ScriptedPop3Server::acceptLoop, this);
}

ScriptedPop3Server::~ScriptedPop3Server()
{
    stop();
    ::close(FWake[0]);
    ::close(FWake[1]);
}

void ScriptedPop3Server::stop()
{
    std::lock_guard stopping(FStopLock);
    if (!FAcceptor.joinable())
        return;
    const char byte = 0;
    while (::write(FWake[1], &byte, 1) < 0 && errno == EINTR) {
    }
    FAcceptor.join();
    ::close(FListen);
    FListen = -1;
}

void ScriptedPop3Server::setScript(Script script)
{
    std::lock_guard lock(FLock);
    FScript = std::move(script);
}

void ScriptedPop3Server::queueScript(Script script)
{
    std::lock_guard lock(FLock);
    FQueued.push_back(std::move(script));
}

std::size_t ScriptedPop3Server::connectionCount() const
{
    std::lock_guard lock(FLock);
    return FReceived.size();
}

std::size_t ScriptedPop3Server::openConnections() const
{
    std::lock_guard lock(FLock);
    return FOpen;
}

std::string ScriptedPop3Server::received(std::size_t connection) const
{
    std::lock_guard lock(FLock);
    return connection < FReceived.size() ? FReceived[connection] : std::string();
}

std::vector<std::string> ScriptedPop3Server::transcripts() const
{
    std::lock_guard lock(FLock);
    return FReceived;
}

bool ScriptedPop3Server::waitForConnections(std::size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(FLock);
    return FChanged.wait_for(lock, limit, [&] { return FReceived.size() >= count; });
}

bool ScriptedPop3Server::waitUntilOpenAtMost(std::size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(FLock);
    return FChanged.wait_for(lock, limit, [&] { return FOpen <= count; });
}

ScriptedPop3Server::Wait ScriptedPop3Server::waitFor(int fd, short events, int timeoutMs) const
{
    // A negative fd is ignored by poll(): then only the stop pipe and the time-out count.
    pollfd fds[2] = {{fd, events, 0}, {FWake[0], POLLIN, 0}};
    int ready;
    while ((ready = ::poll(fds, 2, timeoutMs)) < 0 && errno == EINTR) {
    }
    if (ready < 0 || fds[1].revents != 0)
        return Wait::Stopped;
    return ready == 0 ? Wait::TimedOut : Wait::Ready;
}

void ScriptedPop3Server::acceptLoop()
{
    while (waitFor(FListen, POLLIN, -1) == Wait::Ready) {
        const int fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;  // the client gave up between poll() and accept4()
        // Every send goes out at once, not held back until the last one is acknowledged.
        const int noDelay = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        std::lock_guard lock(FLock);
        reapFinished();
        Script script = FScript;
        if (!FQueued.empty()) {
            script = std::move(FQueued.front());
            FQueued.pop_front();
        }
        const std::size_t index = FReceived.size();
        FReceived.emplace_back();
        ++FOpen;
        Connection &connection = FConnections.emplace_back();
        connection.thread = std::thread([this, fd, index, &connection, script = std::move(script)] {
            serve(fd, index, script);
            std::lock_guard done(FLock);
            connection.finished = true;
            --FOpen;
            FChanged.notify_all();
        });
        FChanged.notify_all();
    }
    std::list<Connection> remaining;
    {
        std::lock_guard lock(FLock);
        remaining.swap(FConnections);
    }
    for (Connection &connection : remaining)
        connection.thread.join();
}

// Called under FLock: the threads that have finished need nothing more than a join.
void ScriptedPop3Server::reapFinished()
{
    for (auto it = FConnections.begin(); it != FConnections.end();) {
        if (it->finished) {
            it->thread.join();
            it = FConnections.erase(it);
        } else {
            ++it;
        }
    }
}

void ScriptedPop3Server::serve(int fd, std::size_t index, const Script &script)
{
    std::string pending;  // bytes received and not yet taken as a command line
    bool open = true;
    std::size_t next = 0;
    if (!script.empty())
        open = perform(fd, index, script[next++]);
    while (open) {
        const std::size_t lineEnd = pending.find('\n');
        if (lineEnd == std::string::npos) {
            open = readMore(fd, index, pending);
            continue;
        }
        pending.erase(0, lineEnd + 1);
        open = next < script.size() ? perform(fd, index, script[next++])
                                    : perform(fd, index, close());
    }
    ::close(fd);
}

// Performs one action; false when the connection is to be closed now.
bool ScriptedPop3Server::perform(int fd, std::size_t index, const Action &action)
{
    switch (action.kind) {
    case Action::Kind::Send:
        for (std::size_t i = 0; i < action.pieces.size(); ++i) {
            if (!sendAll(fd, action.pieces[i]))
                return false;
            if (i + 1 < action.pieces.size()
                && waitFor(-1, 0, static_cast<int>(action.pause.count())) == Wait::Stopped)
                return false;
        }
        return true;
    case Action::Kind::Silence:
        drainUntilClosed(fd, index);
        return false;
    case Action::Kind::Close:
        ::shutdown(fd, SHUT_WR);
        // Closing with unread bytes would send a reset; read until the client closes.
        drainUntilClosed(fd, index);
        return false;
    case Action::Kind::Reset: {
        const linger abortive{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        return false;
    }
    }
    return false;
}

bool ScriptedPop3Server::sendAll(int fd, const std::string &bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (waitFor(fd, POLLOUT, -1) != Wait::Ready)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// Waits for bytes from the client and records them; false when the client has
// closed, the connection failed or the server stops.
bool ScriptedPop3Server::readMore(int fd, std::size_t index, std::string &pending)
{
    if (waitFor(fd, POLLIN, -1) != Wait::Ready)
        return false;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    if (n == 0)
        return false;
    pending.append(buffer, static_cast<std::size_t>(n));
    std::lock_guard lock(FLock);
    FReceived[index].append(buffer, static_cast<std::size_t>(n));
    return true;
}

void ScriptedPop3Server::drainUntilClosed(int fd, std::size_t index)
{
    std::string ignored;
    while (readMore(fd, index, ignored))
        ignored.clear();
}
