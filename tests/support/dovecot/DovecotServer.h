#pragma once

#include "TempDir.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

// A private Dovecot POP3 server on 127.0.0.1, run from a config in a temp folder
// by dovecot_fixture.py. The constructor starts it and returns once it greets;
// the destructor stops it (about two seconds) and removes the folder, so a test
// program starts one per purpose and shares it between its tests.
class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer &) = delete;
    DovecotServer &operator=(const DovecotServer &) = delete;

    static constexpr const char *kHost = "127.0.0.1";
    int32_t port() const { return FPort; }

    // Adds a user with a plain-text password and an empty Maildir.
    void addUser(const std::string &user, const std::string &password);
    // Writes count letters into the user's Maildir, each newer than every letter
    // before it, so that the server numbers them in delivery order.
    void deliver(const std::string &user, int count);

    // The server's log, for messages when a test fails.
    std::string log() const { return FDir.read("dovecot.log"); }

private:
    // Runs dovecot_fixture.py with these arguments; returns what it printed.
    std::string runScript(std::vector<std::string> args) const;
    void deliverOne(const std::string &user, const std::string &maildir, int64_t number,
                    uid_t owner, gid_t group);

    TempDir FDir;
    int32_t FPort = 0;
    int64_t FStartTime = 0;  // the time part of every letter's file name
    int64_t FDelivered = 0;  // letters written so far, across all users
    std::map<std::string, std::string> FMaildirs;  // user -> Maildir path
};
