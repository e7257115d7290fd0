#include "Pop3Reply.h"

#include <algorithm>
#include <limits>

namespace pop3reply {

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// What follows the status word and its space ("+OK ").
std::string_view afterStatus(std::string_view reply)
{
    return reply.substr(std::min<std::size_t>(4, reply.size()));
}

std::optional<int32_t> parseDecimal(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

std::string Trim(std::string_view text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

int32_t Status(std::string_view reply)
{
    const std::string_view head = reply.substr(0, 3);
    if (head == "+OK")
        return 0;
    if (head == "-ER")
        return 101;
    return 100;
}

std::optional<StatCounts> ParseStat(std::string_view reply)
{
    const std::string_view rest = afterStatus(reply);
    const std::size_t space = rest.find(' ');
    const std::string_view count = rest.substr(0, space);
    const std::string_view size = space == std::string_view::npos ? rest : rest.substr(space + 1);
    const auto countValue = parseDecimal(count);
    const auto sizeValue = parseDecimal(size);
    if (!countValue || !sizeValue)
        return std::nullopt;
    return StatCounts{*countValue, *sizeValue};
}

std::string UniqueId(std::string_view reply)
{
    const std::string_view rest = afterStatus(reply);
    const std::size_t space = rest.find(' ');
    return Trim(space == std::string_view::npos ? rest : rest.substr(space + 1));
}

bool UidLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

}  // namespace pop3reply
