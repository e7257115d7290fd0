#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The one crossing between the core's Windows-1251 byte strings and Qt's text.
QString fromCp1251(const std::string &text);
// nullopt when the text holds a character that Windows-1251 cannot represent.
std::optional<std::string> toCp1251(const QString &text);

// One of the program's own texts, written in UTF-8 in the source, as the
// core's Windows-1251 bytes. Throws std::logic_error when a character has no
// Windows-1251 form, which can only be a mistake in the source.
std::string cp1251(std::string_view utf8);
