#pragma once

#include <cstdint>
#include <string>

// Text to a 32-bit integer: leading blanks, an optional sign, decimal digits or
// hexadecimal after "$", "x" or "0x". Anything else, or a value outside the
// 32-bit range, throws std::runtime_error("'<text>' is not a valid integer value").
int32_t StrToInt(const std::string &text);
