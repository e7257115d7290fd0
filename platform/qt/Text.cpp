#include "Text.h"

#include "CodePage.h"

#include <stdexcept>

QString fromCp1251(const std::string &text)
{
    return QString::fromStdString(codepage::cp1251ToUtf8(text));
}

std::optional<std::string> toCp1251(const QString &text)
{
    return codepage::utf8ToCp1251(text.toStdString());
}

std::string cp1251(std::string_view utf8)
{
    std::optional<std::string> bytes = codepage::utf8ToCp1251(utf8);
    if (!bytes)
        throw std::logic_error("text has no Windows-1251 form: " + std::string(utf8));
    return *bytes;
}
