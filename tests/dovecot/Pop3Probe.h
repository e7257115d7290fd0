#pragma once

#include <cstdint>
#include <string>

// A plain POP3 conversation of its own, to see what the server holds without
// going through the client under test. Logs in when made, quits when destroyed;
// every failure throws std::runtime_error.
class Pop3Probe {
public:
    Pop3Probe(int32_t port, const std::string &user, const std::string &password);
    ~Pop3Probe();
    Pop3Probe(const Pop3Probe &) = delete;
    Pop3Probe &operator=(const Pop3Probe &) = delete;

    // Sends one command and returns the "+OK" line without its CR LF; a
    // multi-line reply comes whole, its lines joined by LF, without the final ".".
    std::string command(const std::string &line, bool multiLine = false);
    // The unique id of message number n (UIDL n).
    std::string uid(int n);

private:
    std::string readLine();

    int FSocket = -1;
    std::string FPending;  // bytes received after the last line returned
};
