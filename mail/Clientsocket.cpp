#include "Clientsocket.h"

#include "WsaError.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

namespace {
const char kNothingReceived[] = "0";
}

TClientSocks::~TClientSocks()
{
    std::lock_guard lock(FSocketLock);
    if (FSocket >= 0)
        ::close(FSocket);
}

bool TClientSocks::Connect(int32_t port, const char *host, int32_t timeoutMs)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int socketError = errno;
    if (!adoptSocket(fd))
        return fail(kAborted);
    if (fd < 0)
        return failFromErrno(socketError);

    const auto timeout = static_cast<uint32_t>(timeoutMs);
    const timeval receiveTimeout{static_cast<time_t>(timeout / 1000),
                                 static_cast<suseconds_t>(timeout % 1000 * 1000)};
    if (::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout) != 0)
        return failFromErrno(errno);

    FAddress = sockaddr_in{};
    FAddress.sin_family = AF_INET;
    FAddress.sin_port = htons(static_cast<uint16_t>(port & 0xFFFF));

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int resolved = ::getaddrinfo(host ? host : "", nullptr, &hints, &found);
    if (resolved != 0) {
        // The thread's last error takes the resolver's number, as with
        // gethostbyname(); the check itself reports 102.
        wsa::SetLastError(wsa::FromResolver(resolved, errno));
        FError = kHostNotResolved;
        return false;
    }
    FAddress.sin_addr = reinterpret_cast<const sockaddr_in *>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);

    // Abort() cannot cut short a connect that has not begun (shutdown() of an
    // unconnected socket does nothing), so look once more right before it.
    if (aborted())
        return fail(kAborted);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&FAddress), sizeof FAddress) != 0)
        return failFromErrno(errno);
    return true;
}

bool TClientSocks::SendData(const char *data, int32_t length)
{
    if (length < 0)
        return fail(wsa::kFault);
    ssize_t sent;
    while ((sent = ::send(FSocket, data, static_cast<size_t>(length), MSG_NOSIGNAL)) < 0
           && errno == EINTR) {
    }
    if (sent < 0)
        return failFromErrno(errno);
    return true;
}

const char *TClientSocks::ReceiveData()
{
    ssize_t received;
    while ((received = ::recv(FSocket, FBuffer, sizeof FBuffer, 0)) < 0 && errno == EINTR) {
    }
    FReceived = static_cast<int32_t>(received);
    if (received > 0)
        return FBuffer;
    if (received < 0)
        failFromErrno(errno);
    else if (aborted())  // Abort()'s shutdown looks like an orderly close
        fail(kAborted);
    else
        FError = wsa::LastError();
    return kNothingReceived;
}

void TClientSocks::Abort()
{
    std::lock_guard lock(FSocketLock);
    FAborted = true;
    if (FSocket >= 0)
        ::shutdown(FSocket, SHUT_RDWR);
}

// Makes fd (possibly -1) the current socket and closes the previous one, unless
// Abort() came first: then fd is closed too and the answer is false.
bool TClientSocks::adoptSocket(int fd)
{
    std::lock_guard lock(FSocketLock);
    if (FSocket >= 0)
        ::close(FSocket);
    FSocket = -1;
    if (FAborted) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    FSocket = fd;
    return true;
}

bool TClientSocks::aborted()
{
    std::lock_guard lock(FSocketLock);
    return FAborted;
}

bool TClientSocks::fail(int32_t error)
{
    FError = error;
    wsa::SetLastError(error);
    return false;
}

bool TClientSocks::failFromErrno(int error)
{
    return fail(aborted() ? kAborted : wsa::FromErrno(error));
}
