#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reading POP3 replies. A reply is what one receive returned, at most 100
// bytes of any shape: every function here takes any text and never reads past it.
namespace pop3reply {

// The text without leading and trailing spaces and control characters (bytes up to 0x20).
std::string Trim(std::string_view text);

// 0 for a reply beginning "+OK", 101 for one beginning "-ER", 100 for any
// other (a reply shorter than 3 bytes included); case-sensitive.
int32_t Status(std::string_view reply);

struct StatCounts {
    int32_t count = 0;
    int32_t size = 0;
};
// The counts of a trimmed STAT reply: after its first 4 bytes ("+OK "), the
// text before the first space is the count and the text after it the size;
// with no space, both are read from the whole rest ("+OK 5" is 5 and 5). Each
// must be a plain decimal number of at most 2147483647; otherwise nothing.
std::optional<StatCounts> ParseStat(std::string_view reply);

// The unique id of a trimmed UIDL reply: after its first 4 bytes ("+OK "),
// the text after the first space (the message number goes), trimmed; with no
// space, the whole rest, trimmed.
std::string UniqueId(std::string_view reply);

// Compares as unsigned bytes; when one text begins the other, the shorter is the smaller.
bool UidLess(std::string_view a, std::string_view b);

}  // namespace pop3reply
