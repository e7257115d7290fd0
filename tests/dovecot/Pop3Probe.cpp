#include "Pop3Probe.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

std::runtime_error probeError(const std::string &what)
{
    return std::runtime_error("Pop3Probe: " + what);
}

}  // namespace

Pop3Probe::Pop3Probe(int32_t port, const std::string &user, const std::string &password)
{
    FSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (FSocket < 0)
        throw probeError(std::string("socket: ") + std::strerror(errno));
    const timeval timeout{10, 0};  // a silent server fails the probe instead of hanging the test
    ::setsockopt(FSocket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(FSocket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        const int error = errno;
        ::close(FSocket);
        throw probeError(std::string("connect: ") + std::strerror(error));
    }
    try {
        if (readLine().rfind("+OK", 0) != 0)
            throw probeError("no greeting");
        command("USER " + user);
        command("PASS " + password);
    } catch (...) {
        ::close(FSocket);
        throw;
    }
}

Pop3Probe::~Pop3Probe()
{
    try {
        command("QUIT");
    } catch (const std::exception &) {
        // The probe's findings are already taken; a failed goodbye changes nothing.
    }
    ::close(FSocket);
}

std::string Pop3Probe::command(const std::string &line, bool multiLine)
{
    const std::string bytes = line + "\r\n";
    if (::send(FSocket, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size()))
        throw probeError("send failed for " + line);
    std::string reply = readLine();
    if (reply.rfind("+OK", 0) != 0)
        throw probeError(line + " answered " + reply);
    if (!multiLine)
        return reply;
    for (std::string next = readLine(); next != "."; next = readLine())
        reply += "\n" + (next.rfind("..", 0) == 0 ? next.substr(1) : next);
    return reply;
}

std::string Pop3Probe::uid(int n)
{
    const std::string reply = command("UIDL " + std::to_string(n));
    return reply.substr(reply.rfind(' ') + 1);
}

std::string Pop3Probe::readLine()
{
    for (;;) {
        const size_t end = FPending.find("\r\n");
        if (end != std::string::npos) {
            std::string line = FPending.substr(0, end);
            FPending.erase(0, end + 2);
            return line;
        }
        char buffer[4096];
        const ssize_t n = ::recv(FSocket, buffer, sizeof buffer, 0);
        if (n <= 0)
            throw probeError("connection ended or timed out");
        FPending.append(buffer, static_cast<size_t>(n));
    }
}
