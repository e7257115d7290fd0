#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Text to a 32-bit integer: leading blanks, an optional sign, decimal digits or
// hexadecimal after "$", "x" or "0x". Anything else, or a value outside the
// 32-bit range, throws std::runtime_error("'<text>' is not a valid integer value").
// Hexadecimal values from 0x80000000 to 0xFFFFFFFF wrap to negative numbers.
int32_t StrToInt(const std::string &text);

// The same rules without the exception: nullopt where StrToInt would throw.
std::optional<int32_t> TryStrToInt(const std::string &text);
