#include "StrToInt.h"

#include <stdexcept>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(const std::string &text)
{
    size_t i = 0;
    // Blanks are the space and every control character below it; NUL is not.
    while (i < text.size() && text[i] != '\0' && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }

    if (i == text.size())
        return std::nullopt;  // no digits at all

    // Hexadecimal fills 32 bits and may wrap to negative; decimal must fit the
    // signed range, whose negative end is one larger than its positive end.
    const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    const unsigned base = hex ? 16 : 10;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * base + static_cast<unsigned>(digit);
        if (value > limit)
            return std::nullopt;
    }

    uint32_t bits = static_cast<uint32_t>(value);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

int32_t StrToInt(const std::string &text)
{
    if (const auto value = TryStrToInt(text))
        return *value;
    throw std::runtime_error("'" + text + "' is not a valid integer value");
}
