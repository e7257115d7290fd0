#include "IniFile.h"

#include "CodePage.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

std::string cp(const std::string &utf8)
{
    return codepage::utf8ToCp1251(utf8).value();
}

mode_t modeOf(const std::string &path)
{
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// The names in a folder, to see that no temp file stays behind.
std::vector<std::string> namesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The message of the exception a write throws; empty when it throws none.
template <typename Write>
std::string refusal(Write write)
{
    try {
        write();
    } catch (const std::runtime_error &e) {
        return e.what();
    }
    return {};
}

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    const std::string options = dir.file("options.velmo");
};

TEST_F(IniFileTest, SectionLineAloneGivesEveryDefault)
{
    dir.write("options.velmo", "[user]\r\n");
    const IniFile ini(options);
    EXPECT_EQ(ini.ReadInteger("user", "port", 110), 110);
    EXPECT_EQ(ini.ReadString("user", "password", ""), "");
    EXPECT_EQ(ini.ReadString("user", "user", ""), "");
    EXPECT_EQ(ini.ReadString("user", "host", ""), "");
    EXPECT_EQ(ini.ReadString("user", "letter", "0"), "0");
    EXPECT_EQ(ini.ReadString("user", "namemail", ""), "");
    EXPECT_EQ(ini.ReadInteger("user", "time", 10), 10);
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(IniFile(dir.file("none.velmo")).ReadString("user", "host", "dflt"), "dflt");
    EXPECT_EQ(IniFile(dir.file("no/folder.velmo")).ReadInteger("user", "port", 110), 110);
    EXPECT_TRUE(IniFile(dir.path()).ReadBool("interface", "iconerror", true));  // a folder, not a file

    dir.write("options.velmo", "[other]\r\nhost=x\r\n[user]\r\nport=1\r\n");
    const IniFile ini(options);
    EXPECT_EQ(ini.ReadString("interface", "host", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("user", "host", "dflt"), "dflt");
}

TEST_F(IniFileTest, ReadsIntegersAsTheSettingsReaderDoes)
{
    struct Case {
        std::string stored;
        int32_t expected;  // read with the default 110
    };
    const std::vector<Case> cases = {
        {"time=0", 0},
        {"time=5", 5},
        {"time=0x6E", 110},
        {"time=0X6e", 110},
        {"time=abc", 110},
        // A value must be an integer as a whole: leading digits with junk
        // after them are not read as a number.
        {"time=12abc", 110},
        {"time=-5", -5},
        {"time=+5", 5},
        {"time= \t995 \t", 995},
        {"time=", 110},
        {"time=$6E", 110},
        {"time=0xFFFFFFFF", -1},
        {"time=2147483647", 2147483647},
        {"time=2147483648", 110},
        {"time=1 2", 110},
    };
    for (const Case &c : cases) {
        dir.write("options.velmo", "[user]\r\n" + c.stored + "\r\n");
        EXPECT_EQ(IniFile(options).ReadInteger("user", "time", 110), c.expected) << c.stored;
    }
}

TEST_F(IniFileTest, ReadsBooleansAsIntegers)
{
    struct Case {
        std::string stored;  // empty: no key line
        bool defaultValue;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"taskbar=1", false, true},   {"taskbar=0", true, false},   {"taskbar=2", false, true},
        {"taskbar=-1", false, true},  {"taskbar=0x0", true, false}, {"taskbar=0x10", false, true},
        {"taskbar=abc", true, true},  {"taskbar=abc", false, false}, {"taskbar=", true, true},
        {"taskbar= 0 ", true, false}, {"", true, true},              {"", false, false},
        {"taskbar=true", false, false},
    };
    for (const Case &c : cases) {
        dir.write("globaloptions.velmo", "[interface]\r\n" + c.stored + "\r\n");
        EXPECT_EQ(IniFile(dir.file("globaloptions.velmo")).ReadBool("interface", "taskbar", c.defaultValue),
                  c.expected)
            << "'" << c.stored << "', default " << c.defaultValue;
    }
}

TEST_F(IniFileTest, WritesBooleansAndIntegers)
{
    IniFile ini(dir.file("globaloptions.velmo"));
    ini.WriteBool("interface", "taskbar", true);
    ini.WriteBool("interface", "iconerror", false);
    ini.WriteInteger("interface", "n", -2147483647 - 1);
    EXPECT_EQ(dir.read("globaloptions.velmo"),
              "[interface]\r\ntaskbar=1\r\niconerror=0\r\nn=-2147483648\r\n");
    EXPECT_TRUE(ini.ReadBool("interface", "taskbar", false));
    EXPECT_FALSE(ini.ReadBool("interface", "iconerror", true));
}

TEST_F(IniFileTest, NewOptionsFileHoldsTheKeysInWritingOrder)
{
    const std::string password = cp("p@ss w0rd = мой пароль");
    IniFile ini(options, true);
    ini.WriteString("user", "host", "h");
    ini.WriteInteger("user", "port", 995);
    ini.WriteString("user", "user", "u");
    ini.WriteString("user", "password", password);
    ini.WriteInteger("user", "time", 5);
    ini.WriteString("user", "letter", "0");
    ini.WriteString("user", "namemail", "box");

    EXPECT_EQ(dir.read("options.velmo"), "[user]\r\nhost=h\r\nport=995\r\nuser=u\r\npassword=" + password +
                                             "\r\ntime=5\r\nletter=0\r\nnamemail=box\r\n");
    EXPECT_EQ(modeOf(options), 0600u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"options.velmo"});
    EXPECT_EQ(ini.ReadString("user", "password", ""), password);  // "=" inside a value is the value's
}

TEST_F(IniFileTest, NewSharedFileTakesTheUmaskAndExistingFilesKeepTheirMode)
{
    const mode_t oldMask = umask(022);
    IniFile(dir.file("globaloptions.velmo")).WriteBool("interface", "taskbar", true);
    umask(oldMask);
    EXPECT_EQ(modeOf(dir.file("globaloptions.velmo")), 0644u);

    dir.write("options.velmo", "[user]\r\nhost=a\r\n");
    ASSERT_EQ(chmod(options.c_str(), 0640), 0);
    IniFile(options, true).WriteString("user", "host", "b");
    EXPECT_EQ(modeOf(options), 0640u);
    EXPECT_EQ(dir.read("options.velmo"), "[user]\r\nhost=b\r\n");
}

TEST_F(IniFileTest, EditRewritesTheSevenLinesInPlaceAndKeepsEveryOtherByte)
{
    auto fileWith = [](const std::vector<std::string> &seven) {
        return "; settings written by hand\r\n"
               "[interface]\r\n"
               "taskbar=1\r\n"
               "\r\n"
               " [ USER ] \r\n" +
               seven[0] + "\r\n" + seven[1] +
               "\r\n"
               ";  a note about the user\r\n" +
               seven[2] +
               "\r\n"
               "nick = keep me  \r\n" +
               seven[3] + "\r\n" + seven[4] + "\r\n" + seven[5] + "\r\n" + seven[6] +
               "\r\n"
               "extra=value with  spaces \t\r\n"
               "\r\n"
               "[other]\r\n"
               "host=not this one\r\n"
               "port=1";
    };
    dir.write("options.velmo", fileWith({"HOST = old.example", "port=110", "user=olduser", "\tpassword = old ",
                                         "time=10", "letter=17", "NameMail=" + cp("старый")}));

    IniFile ini(options, true);
    ini.WriteString("user", "host", "h2");
    ini.WriteInteger("user", "port", 995);
    ini.WriteString("user", "user", "u2");
    ini.WriteString("user", "password", "pw2");
    ini.WriteInteger("user", "time", 7);
    ini.WriteString("user", "letter", "42");
    ini.WriteString("user", "namemail", cp("ящик"));

    EXPECT_EQ(dir.read("options.velmo"), fileWith({"host=h2", "port=995", "user=u2", "password=pw2", "time=7",
                                                   "letter=42", "namemail=" + cp("ящик")}));
    EXPECT_EQ(ini.ReadString("other", "host", ""), "not this one");
    EXPECT_EQ(ini.ReadInteger("other", "port", 0), 1);
    EXPECT_EQ(ini.ReadString("user", "nick", ""), "keep me");
}

// Where new lines go, and which line end they take.
TEST_F(IniFileTest, AddsKeysAndSectionsWhereAHandWrittenFileStaysTidy)
{
    struct Case {
        const char *what;
        std::string before;
        std::string section, key, value;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"a new key goes after the section's last key, above its blank line",
         "[user]\r\nhost=h\r\n\r\n[other]\r\nx=1\r\n", "user", "port", "995",
         "[user]\r\nhost=h\r\nport=995\r\n\r\n[other]\r\nx=1\r\n"},
        {"a comment that closes the section stays below the new key",
         "[user]\r\nhost=h\r\n; program settings follow\r\n[interface]\r\n", "user", "port", "995",
         "[user]\r\nhost=h\r\nport=995\r\n; program settings follow\r\n[interface]\r\n"},
        {"a section without keys gets its first key right below its line", "[user]\r\n\r\n[x]\r\n", "user",
         "port", "1", "[user]\r\nport=1\r\n\r\n[x]\r\n"},
        {"a missing section is appended after one blank line", "[user]\r\nhost=h\r\n", "interface", "taskbar",
         "1", "[user]\r\nhost=h\r\n\r\n[interface]\r\ntaskbar=1\r\n"},
        {"no second blank line before a new section", "[user]\r\nhost=h\r\n\r\n", "interface", "taskbar", "1",
         "[user]\r\nhost=h\r\n\r\n[interface]\r\ntaskbar=1\r\n"},
        {"an empty file gets the section and the key", "", "user", "port", "995", "[user]\r\nport=995\r\n"},
        {"a last line without line end gets one before a new line", "[user]\r\nhost=h", "user", "port", "995",
         "[user]\r\nhost=h\r\nport=995\r\n"},
        {"a last line rewritten in place keeps having no line end", "[user]\r\nhost=h", "user", "host", "x",
         "[user]\r\nhost=x"},
        {"a file without any line end gets CRLF", "[user]", "user", "port", "995", "[user]\r\nport=995\r\n"},
        {"LF files stay LF", "[user]\nhost=h\n\n[other]\nx=1\n", "user", "port", "995",
         "[user]\nhost=h\nport=995\n\n[other]\nx=1\n"},
        {"a new section in an LF file", "[user]\nhost=h\n", "interface", "taskbar", "0",
         "[user]\nhost=h\n\n[interface]\ntaskbar=0\n"},
        {"the first line end decides in a mixed file", "[user]\nhost=h\r\n", "user", "port", "995",
         "[user]\nhost=h\r\nport=995\n"},
        {"replacing keeps the line's own line end", "[user]\r\nhost=h\nport=1\r\n", "user", "host", "x",
         "[user]\r\nhost=x\nport=1\r\n"},
        {"only the first of two equal keys changes", "[user]\r\nhost=a\r\nhost=b\r\n", "user", "HOST", "c",
         "[user]\r\nHOST=c\r\nhost=b\r\n"},
        {"only the first of two equal sections counts", "[user]\r\nhost=a\r\n[User]\r\nport=1\r\n", "USER",
         "port", "2", "[user]\r\nhost=a\r\nport=2\r\n[User]\r\nport=1\r\n"},
        {"a commented-out key is not the key", "[user]\r\n;port=1\r\n", "user", "port", "2",
         "[user]\r\nport=2\r\n;port=1\r\n"},
        {"keys before any section belong to none", "port=1\r\n", "user", "port", "2",
         "port=1\r\n\r\n[user]\r\nport=2\r\n"},
        {"a value is written as it is, blanks included", "[user]\r\n", "user", "password", " a b ",
         "[user]\r\npassword= a b \r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("options.velmo", c.before);
        IniFile(options).WriteString(c.section, c.key, c.value);
        EXPECT_EQ(dir.read("options.velmo"), c.after);
    }
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseOrBlanksAndValuesAreTrimmed)
{
    dir.write("options.velmo", "[USER]\r\n"
                               " Host =  \t h x \t \r\n"
                               "[ " + cp("Ящик") + " ]\r\n" +
                               "\t" + cp("Ключ") + "\t=" + cp("Значение") + "\r\n");
    IniFile ini(options);
    EXPECT_EQ(ini.ReadString("user", "HOST", ""), "h x");
    EXPECT_EQ(ini.ReadString(cp("ящик"), cp("КЛЮЧ"), ""), cp("Значение"));
    EXPECT_EQ(ini.ReadString("user", cp("ключ"), "none"), "none");

    ini.WriteString(cp("ЯЩИК"), cp("ключ"), cp("новое"));
    EXPECT_EQ(dir.read("options.velmo"), "[USER]\r\n"
                                         " Host =  \t h x \t \r\n"
                                         "[ " + cp("Ящик") + " ]\r\n" +
                                         cp("ключ") + "=" + cp("новое") + "\r\n");
}

TEST_F(IniFileTest, LongValuesReadCutTo2047Bytes)
{
    for (const size_t length : {size_t{2046}, size_t{2047}, size_t{2048}, size_t{5000}}) {
        const std::string value(length, 'v');
        IniFile ini(options);
        ini.WriteString("user", "password", value);
        EXPECT_EQ(dir.read("options.velmo"), "[user]\r\npassword=" + value + "\r\n");  // stored whole
        EXPECT_EQ(ini.ReadString("user", "password", ""), value.substr(0, 2047)) << length;
    }
}

TEST_F(IniFileTest, WriteIntoAMissingFolderIsRefusedAndCreatesNoFolder)
{
    const std::string path = dir.file("missing/options.velmo");
    IniFile ini(path, true);
    EXPECT_EQ(refusal([&] { ini.WriteString("user", "letter", "17"); }), "Unable to write to " + path);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(IniFileTest, FileWhoseOwnerMayNotWriteIsRefusedAndStaysAsItWas)
{
    const std::string before = "[user]\r\nhost=h\r\nletter=5\r\n";
    for (const mode_t mode : {0444, 0400, 0555}) {
        dir.write("options.velmo", before);
        ASSERT_EQ(chmod(options.c_str(), mode), 0);
        IniFile ini(options, true);
        EXPECT_EQ(refusal([&] { ini.WriteString("user", "letter", "17"); }), "Unable to write to " + options);
        EXPECT_EQ(refusal([&] { ini.WriteString("user", "newkey", "1"); }), "Unable to write to " + options);
        EXPECT_EQ(dir.read("options.velmo"), before);
        EXPECT_EQ(modeOf(options), mode);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"options.velmo"});
        ASSERT_EQ(chmod(options.c_str(), 0644), 0);
    }
}

TEST_F(IniFileTest, FolderStandingAtTheFilesPathIsRefused)
{
    ASSERT_TRUE(std::filesystem::create_directory(options));
    EXPECT_EQ(refusal([&] { IniFile(options).WriteString("user", "host", "h"); }), "Unable to write to " + options);
    EXPECT_TRUE(std::filesystem::is_empty(options));
}

// Lowers the largest file size this process may write, so that writing the
// temp file fails part-way as on a full disk (SIGXFSZ ignored, so write() fails
// with EFBIG instead of ending the process).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = FOld;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = SIG_DFL;
};

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntactAndNoTempFile)
{
    const std::string before = "[user]\r\nhost=h\r\nletter=5\r\n";
    dir.write("options.velmo", before);
    IniFile ini(options, true);
    std::string message;
    {
        const FileSizeLimit limit(before.size());
        message = refusal([&] { ini.WriteString("user", "letter", std::string(100, '7')); });
    }
    EXPECT_EQ(message, "Unable to write to " + options);
    EXPECT_EQ(dir.read("options.velmo"), before);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"options.velmo"});

    ini.WriteString("user", "letter", std::string(100, '7'));  // the limit gone, the same write goes through
    EXPECT_EQ(ini.ReadString("user", "letter", ""), std::string(100, '7'));
}

}  // namespace
