#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1251 <-> UTF-8, through glibc's iconv.
namespace codepage {

// Every Windows-1251 byte has a UTF-8 form (an undefined byte such as 0x98
// becomes U+FFFD), so this never fails.
std::string cp1251ToUtf8(std::string_view text);

// nullopt when the text is not valid UTF-8 or holds a character that
// Windows-1251 cannot represent: such text must never reach a file silently.
std::optional<std::string> utf8ToCp1251(std::string_view text);

// Case-insensitive equality of two Windows-1251 texts (Latin and Cyrillic
// letters alike), as the profile functions compare section and key names.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace codepage
