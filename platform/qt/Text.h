#pragma once

#include <QString>

#include <optional>
#include <string>

// The one crossing between the core's Windows-1251 byte strings and Qt's text.
QString fromCp1251(const std::string &text);
// nullopt when the text holds a character that Windows-1251 cannot represent.
std::optional<std::string> toCp1251(const QString &text);
