#include "IniFile.h"

#include "CodePage.h"
#include "StrToInt.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kDefaultLineEnd = "\r\n";  // Windows text files

// One line of the file: its text and its own line end ("\r\n", "\n", or
// nothing for a last line without one), so that it can be written back as it was.
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> splitLines(std::string_view bytes)
{
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const size_t newline = bytes.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({std::string(bytes), ""});
            break;
        }
        const size_t textLength = newline > 0 && bytes[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back({std::string(bytes.substr(0, textLength)),
                         std::string(bytes.substr(textLength, newline + 1 - textLength))});
        bytes.remove_prefix(newline + 1);
    }
    return lines;
}

std::string joinLines(const std::vector<Line> &lines)
{
    std::string bytes;
    for (const Line &line : lines)
        bytes += line.text + line.end;
    return bytes;
}

// New lines follow the file's own line end; a file without one gets CRLF.
std::string lineEndOf(const std::vector<Line> &lines)
{
    for (const Line &line : lines) {
        if (!line.end.empty())
            return line.end;
    }
    return std::string(kDefaultLineEnd);
}

std::string_view trimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "[name]" with blanks allowed around the line and the name; nothing else.
std::optional<std::string_view> sectionName(std::string_view line)
{
    const std::string_view text = trimBlanks(line);
    const size_t close = text.rfind(']');
    if (text.empty() || text[0] != '[' || close == std::string_view::npos)
        return std::nullopt;
    return trimBlanks(text.substr(1, close - 1));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// "key=value" with blanks allowed around both; a line starting with ";" is a
// comment and a line without "=" holds no key.
std::optional<KeyValue> keyLine(std::string_view line)
{
    const std::string_view text = trimBlanks(line);
    const size_t equals = text.find('=');
    if (text.empty() || text[0] == ';' || equals == std::string_view::npos)
        return std::nullopt;
    return KeyValue{trimBlanks(text.substr(0, equals)), trimBlanks(text.substr(equals + 1))};
}

// Where a key stands in a file: the first section of that name, the first
// line of that key in it, and the section's last key line (the section line
// itself when it holds no key yet).
struct Location {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t lastKeyLine = 0;
};

Location locate(const std::vector<Line> &lines, const std::string &section, const std::string &key)
{
    Location where;
    size_t i = 0;
    for (; i < lines.size() && !where.section; ++i) {
        const auto name = sectionName(lines[i].text);
        if (name && codepage::equalsNoCase(*name, section))
            where.section = i;
    }
    if (!where.section)
        return where;

    where.lastKeyLine = *where.section;
    for (; i < lines.size() && !sectionName(lines[i].text); ++i) {
        const auto entry = keyLine(lines[i].text);
        if (!entry)
            continue;
        where.lastKeyLine = i;
        if (!where.key && codepage::equalsNoCase(entry->key, key))
            where.key = i;
    }
    return where;
}

bool isBlank(const Line &line)
{
    return trimBlanks(line.text).empty();
}

// The file's bytes with the key set to value: the key's line rewritten in
// place, or a new line after the section's last key line, or a new section at
// the end of the file (after one blank line, when the file has text).
std::string withValue(std::string_view bytes, const std::string &section, const std::string &key,
                      const std::string &value)
{
    std::vector<Line> lines = splitLines(bytes);
    const std::string lineEnd = lineEndOf(lines);
    const std::string text = key + "=" + value;
    const Location where = locate(lines, section, key);

    if (where.key) {
        lines[*where.key].text = text;
    } else if (where.section) {
        Line &previous = lines[where.lastKeyLine];
        if (previous.end.empty())
            previous.end = lineEnd;  // a last line without its line end gets one
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(where.lastKeyLine) + 1, {text, lineEnd});
    } else {
        if (!lines.empty()) {
            if (lines.back().end.empty())
                lines.back().end = lineEnd;
            if (!isBlank(lines.back()))
                lines.push_back({"", lineEnd});
        }
        lines.push_back({"[" + section + "]", lineEnd});
        lines.push_back({text, lineEnd});
    }
    return joinLines(lines);
}

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> readFile(const std::string &path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            if (n < 0)
                return std::nullopt;
            return bytes;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file beside path, opened for writing, that no one else has made.
std::optional<std::pair<std::string, int>> createTempFile(const std::string &path, mode_t mode)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = path + ".tmp" + std::to_string(random() % 1000000000u);
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0)
            return std::make_pair(name, fd);
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

// Replaces the file at path by bytes at one stroke: a complete, flushed temp
// file in the same folder is renamed over it, so a crash leaves the old file or
// the new one, never half of one. chmodTo: the mode the file gets, or nullopt
// to leave the creation mode (less the umask).
bool replaceFile(const std::string &path, std::string_view bytes, mode_t createMode,
                 std::optional<mode_t> chmodTo)
{
    const auto temp = createTempFile(path, createMode);
    if (!temp)
        return false;
    const auto &[tempPath, fd] = *temp;
    bool written = writeAll(fd, bytes) && (!chmodTo || fchmod(fd, *chmodTo) == 0) && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || rename(tempPath.c_str(), path.c_str()) != 0) {
        unlink(tempPath.c_str());
        return false;
    }

    // Make the rename itself durable; the new file is in place either way.
    const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

}  // namespace

IniFile::IniFile(std::string path, bool privateFile) : FPath(std::move(path)), FPrivate(privateFile) {}

std::string IniFile::ReadString(const std::string &section, const std::string &key,
                                const std::string &defaultValue) const
{
    const auto bytes = readFile(FPath);
    if (!bytes)
        return defaultValue;
    const std::vector<Line> lines = splitLines(*bytes);
    const Location where = locate(lines, section, key);
    if (!where.key)
        return defaultValue;
    const std::string_view value = keyLine(lines[*where.key].text)->value;
    return std::string(value.substr(0, kMaxValueLength));
}

// The whole trimmed value must be an integer, read by the rules of StrToInt
// ("0x", "x" and "$" give hexadecimal): "12abc" is not a number and gives the
// default, as the settings reader treats any value that is not an integer.
int32_t IniFile::ReadInteger(const std::string &section, const std::string &key,
                             int32_t defaultValue) const
{
    return TryStrToInt(ReadString(section, key, "")).value_or(defaultValue);
}

bool IniFile::ReadBool(const std::string &section, const std::string &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string &section, const std::string &key, const std::string &value)
{
    const std::runtime_error refused("Unable to write to " + FPath);

    // A file whose owner may not write is refused like a read-only file on
    // Windows, although a rename could replace it. The mode bits decide, not
    // access(), which says yes to root for every file.
    struct stat st;
    const bool exists = stat(FPath.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        throw refused;
    if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0))
        throw refused;

    std::string bytes;
    if (exists) {
        auto old = readFile(FPath);
        if (!old)
            throw refused;
        bytes = std::move(*old);
    }

    // An existing file keeps its mode; a new options file is for its owner alone.
    const mode_t createMode = exists || FPrivate ? 0600 : 0666;
    std::optional<mode_t> chmodTo;
    if (exists)
        chmodTo = st.st_mode & 07777;
    else if (FPrivate)
        chmodTo = 0600;

    if (!replaceFile(FPath, withValue(bytes, section, key, value), createMode, chmodTo))
        throw refused;
}

void IniFile::WriteInteger(const std::string &section, const std::string &key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
