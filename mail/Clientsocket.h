#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <mutex>

// A small blocking TCP client (IPv4) with a receive time-out. One object serves
// every check of one mailbox: each Connect makes a new socket and closes the one
// of the previous check; the destructor closes the last one. Failures are kept
// as Windows Sockets error numbers (or 102 for a host that does not resolve)
// and read with ErrorCode(); a success leaves the number of the last failure.
class TClientSocks {
public:
    static constexpr int kReceiveBufferSize = 100;
    static constexpr int32_t kHostNotResolved = 102;
    // The failure of every call cut short by Abort() and of every Connect after
    // it: WSAEINTR, "a blocking call was interrupted".
    static constexpr int32_t kAborted = 10004;

    TClientSocks() = default;
    ~TClientSocks();
    TClientSocks(const TClientSocks &) = delete;
    TClientSocks &operator=(const TClientSocks &) = delete;

    // Makes a socket with a receive time-out of timeoutMs milliseconds (read
    // as an unsigned number, 0 = none), resolves host (IPv4 only) and connects
    // to the low 16 bits of port. A host that does not resolve fails with 102
    // before any connection attempt; a null host is an empty text.
    bool Connect(int32_t port, const char *host, int32_t timeoutMs);
    // One send of length bytes; a partial send counts as sent.
    bool SendData(const char *data, int32_t length);
    // One receive of at most kReceiveBufferSize bytes. Returns the received
    // bytes (ReceivedLength() of them are valid, no terminator is added), or the
    // constant text "0" when nothing was received: then ReceivedLength() is 0
    // when the peer closed the connection in good order (ErrorCode() takes this
    // thread's last failure, 0 when none) and -1 on a failure or time-out.
    const char *ReceiveData();
    int32_t ReceivedLength() const { return FReceived; }
    int32_t ErrorCode() const { return FError; }

    // Cuts a blocking call of the owning thread short, from any thread: the
    // socket is shut down, so a pending connect/recv returns at once, and every
    // later Connect fails. Used when a mailbox's checks are stopped for good.
    void Abort();

private:
    bool adoptSocket(int fd);
    bool aborted();
    bool fail(int32_t error);
    bool failFromErrno(int error);

    sockaddr_in FAddress{};
    std::mutex FSocketLock;  // guards FSocket's swap and close against Abort(); never held while blocking
    int FSocket = -1;        // written by the owning thread only, always under FSocketLock
    bool FAborted = false;   // under FSocketLock
    int32_t FError = 0;
    char FBuffer[kReceiveBufferSize]{};
    int32_t FReceived = 0;
};
