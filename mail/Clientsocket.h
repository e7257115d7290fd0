#pragma once

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <mutex>

// A small blocking TCP client (IPv4) with a receive time-out. One object serves
// every check of one mailbox: each Connect makes a new socket and closes the one
// of the previous check. Failures are kept as Windows Sockets error numbers
// (or 102 for a host that does not resolve) and read with ErrorCode().
class TClientSocks {
public:
    static constexpr int kReceiveBufferSize = 100;
    static constexpr int kHostNotResolved = 102;

    TClientSocks();
    ~TClientSocks();
    TClientSocks(const TClientSocks &) = delete;
    TClientSocks &operator=(const TClientSocks &) = delete;

    bool Connect(int32_t port, const char *host, int32_t timeoutMs);
    bool SendData(const char *data, int32_t length);
    // Returns the received bytes (ReceivedLength() of them are valid), or the
    // constant text "0" when nothing was received.
    const char *ReceiveData();
    int32_t ReceivedLength() const { return FReceived; }
    int32_t ErrorCode() const { return FError; }

    // Cuts a blocking call of the owning thread short, from any thread: the
    // socket is shut down, so a pending connect/recv returns at once, and every
    // later Connect fails. Used when a mailbox's checks are stopped for good.
    void Abort();

private:
    void closeSocket();

    sockaddr_in FAddress{};
    std::mutex FSocketLock;  // guards FSocket against Abort(); never held while blocking
    int FSocket = -1;
    bool FAborted = false;   // under FSocketLock
    int32_t FResult = 0;
    int32_t FError = 0;
    char FBuffer[kReceiveBufferSize]{};
    int32_t FReceived = 0;
};
