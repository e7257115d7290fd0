#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// A POP3 peer that the test drives by hand, line by line, over a real socket
// on 127.0.0.1. It holds a check at an exact point (say, before the greeting)
// for as long as the test needs, which a scripted server cannot do.
// Used from one thread only.
class GateServer {
public:
    GateServer();
    ~GateServer();
    GateServer(const GateServer &) = delete;
    GateServer &operator=(const GateServer &) = delete;

    uint16_t port() const { return FPort; }

    // Takes the next connection (closing the previous one); false when none
    // arrives within `limit`.
    bool Accept(std::chrono::milliseconds limit);
    bool Send(const std::string &bytes);
    // The next line the client sends, "\r\n" included; empty when none
    // arrives within `limit` or the client closed.
    std::string ReadLine(std::chrono::milliseconds limit);

private:
    void CloseConnection();

    int FListen = -1;
    int FConnection = -1;
    uint16_t FPort = 0;
    std::string FPending;
};
