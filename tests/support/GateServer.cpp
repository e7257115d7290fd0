#include "GateServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

// Waits for POLLIN on fd until the deadline; false on time-out.
bool Readable(int fd, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0)
            return false;
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

}  // namespace

GateServer::GateServer()
{
    FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (FListen < 0 || ::bind(FListen, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(FListen, 4) != 0
        || ::getsockname(FListen, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        if (FListen >= 0)
            ::close(FListen);
        throw std::runtime_error("GateServer: cannot listen on 127.0.0.1");
    }
    FPort = ntohs(address.sin_port);
}

GateServer::~GateServer()
{
    CloseConnection();
    ::close(FListen);
}

bool GateServer::Accept(std::chrono::milliseconds limit)
{
    CloseConnection();
    if (!Readable(FListen, std::chrono::steady_clock::now() + limit))
        return false;
    FConnection = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    return FConnection >= 0;
}

bool GateServer::Send(const std::string &bytes)
{
    return ::send(FConnection, bytes.data(), bytes.size(), MSG_NOSIGNAL)
        == static_cast<ssize_t>(bytes.size());
}

std::string GateServer::ReadLine(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const auto end = FPending.find('\n');
        if (end != std::string::npos) {
            std::string line = FPending.substr(0, end + 1);
            FPending.erase(0, end + 1);
            return line;
        }
        if (!Readable(FConnection, deadline))
            return {};
        char buffer[256];
        const ssize_t received = ::recv(FConnection, buffer, sizeof buffer, 0);
        if (received <= 0)
            return {};
        FPending.append(buffer, static_cast<std::size_t>(received));
    }
}

void GateServer::CloseConnection()
{
    if (FConnection >= 0)
        ::close(FConnection);
    FConnection = -1;
    FPending.clear();
}
