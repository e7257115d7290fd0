#pragma once

#include <string>
#include <string_view>

// The POP3 host of the one provider whose maildrops number the newest letter 1.
inline constexpr std::string_view kNewestFirstPop3Host = "pop.newestfirst-mail.example";

// Byte for byte and case-sensitive: any other spelling walks from the highest number down.
inline bool IsNewestFirstHost(const std::string &host)
{
    return host == kNewestFirstPop3Host;
}
