#pragma once

#include <cstdint>
#include <string>

// A settings file in the Windows profile (INI) format, Windows-1251 text.
// Each call opens the file anew; nothing is cached. Section and key names match
// without regard to case (Cyrillic too) and may have blanks around them; values
// come back trimmed of spaces and tabs. Lines starting with ";" are comments.
// Where a name appears twice, the first section and the first key count.
//
// A write replaces the value in place (the line becomes "key=value", keeping
// its own line end) or adds "key=value" after the last key line of the section
// (so blank lines and comments that close the section stay below it), or
// appends "[section]" and the key at the end of the file, after one blank line
// when the file has text. New lines take the file's first line end; a new file,
// or one without any line end, gets CRLF. The file is created when missing,
// never the folder; every other line keeps its bytes (a last line without line
// end gets one only when a line is added after it). The file is replaced
// atomically: a temp file in the same folder, flushed, renamed over it.
// A refused write (missing folder, a file whose owner may not write, a failed
// write) throws std::runtime_error("Unable to write to <path>") and leaves the
// old file as it was and no temp file behind.
class IniFile {
public:
    static constexpr size_t kMaxValueLength = 2047;

    // path: the file's path on disk (UTF-8), also the <path> of the error text.
    // privateFile: create the file with mode 0600 (options files hold a
    // password); otherwise 0666 less the umask. An existing file keeps its mode.
    explicit IniFile(std::string path, bool privateFile = false);

    const std::string &FileName() const { return FPath; }

    // The stored text, cut to kMaxValueLength bytes.
    std::string ReadString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // The whole value read as StrToInt reads it (decimal with a sign, or
    // hexadecimal after "0x", "x" or "$"); the default for anything else,
    // "12abc" and an empty value included.
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
