#pragma once

#include <cstdint>
#include <string>

// A settings file in the Windows profile (INI) format, Windows-1251 text.
// Each call opens the file anew; nothing is cached. Section and key names match
// without regard to case; values come back trimmed of blanks. A write replaces
// the value in place or appends the key at the end of its section (creating the
// section and the file, never the folder) and keeps every other line byte for
// byte; it replaces the file atomically. A refused write throws
// std::runtime_error("Unable to write to <path>").
class IniFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    // path: the file's path on disk (UTF-8). privateFile: create the file with
    // mode 0600 (options files hold a password); otherwise 0644 less the umask.
    explicit IniFile(std::string path, bool privateFile = false);

    const std::string &FileName() const { return FPath; }

    std::string ReadString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default for anything else.
    int32_t ReadInteger(const std::string &section, const std::string &key,
                        int32_t defaultValue) const;
    // An integer read with default 1 or 0; any value but 0 is true.
    bool ReadBool(const std::string &section, const std::string &key, bool defaultValue) const;

    void WriteString(const std::string &section, const std::string &key, const std::string &value);
    void WriteInteger(const std::string &section, const std::string &key, int32_t value);
    void WriteBool(const std::string &section, const std::string &key, bool value);

private:
    std::string FPath;
    bool FPrivate;
};
