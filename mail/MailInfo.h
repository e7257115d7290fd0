#pragma once

#include <cstdint>
#include <string>

// A mailbox's settings, passed and stored by value: every holder (the window's
// list entry, the check thread, the POP3 session) keeps its own copy.
// Texts are Windows-1251 byte strings.
struct mailInfo {
    std::string password;
    std::string user;
    std::string namemail;   // display name, also the name of the mailbox folder
    std::string host;
    int32_t port = 0;
    std::string letter;     // unique id of the newest letter marked as read; "0" when none
    int32_t interval = 0;   // polling interval in milliseconds
    int32_t timeout = 0;    // receive time-out in milliseconds; always 30000 when filled

    bool operator==(const mailInfo &) const = default;
};

// The receive time-out every filled mailInfo carries.
inline constexpr int32_t kMailTimeoutMs = 30000;
