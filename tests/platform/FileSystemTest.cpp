#include "FileSystem.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

using Listing = std::vector<std::pair<std::string, uint32_t>>;

Listing listing(const std::string &folder, uint32_t mask)
{
    Listing result;
    for (const fs::FolderEntry &entry : fs::FindEntries(folder, mask))
        result.emplace_back(entry.name, entry.attributes);
    return result;
}

class FileSystemTest : public ::testing::Test {
protected:
    TempDir dir;

    void makeFolder(const std::string &relative, mode_t mode = 0755) const
    {
        ASSERT_EQ(mkdir(dir.file(relative).c_str(), mode), 0) << relative;
    }
};

TEST_F(FileSystemTest, FindEntriesListsInByteOrderWithAttributeWords)
{
    dir.write("b.txt", "b");
    makeFolder("A");
    dir.write("a", "a");
    ASSERT_EQ(chmod(dir.file("a").c_str(), 0444), 0);
    dir.write(".hidden", "h");
    makeFolder(".hdir");
    dir.write("\xD0\xAF", "ya");  // "Я" in UTF-8 sorts after every ASCII name
    ASSERT_EQ(symlink("A", dir.file("link").c_str()), 0);
    ASSERT_EQ(symlink("missing", dir.file(".dangling").c_str()), 0);
    makeFolder("z", 0555);
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);

    struct Case {
        uint32_t mask;
        Listing expected;
    };
    const std::vector<Case> cases = {
        {fs::attr::kAnyFile,
         {{".", 0x10}, {"..", 0x10}, {".dangling", 0x402}, {".hdir", 0x12}, {".hidden", 0x22}, {"A", 0x10},
          {"a", 0x21}, {"b.txt", 0x20}, {"fifo", 0x04}, {"link", 0x400}, {"z", 0x11}, {"\xD0\xAF", 0x20}}},
        {fs::attr::kDirectory,
         {{".", 0x10}, {"..", 0x10}, {"A", 0x10}, {"a", 0x21}, {"b.txt", 0x20}, {"link", 0x400}, {"z", 0x11},
          {"\xD0\xAF", 0x20}}},
        {fs::attr::kHidden,
         {{".dangling", 0x402}, {".hidden", 0x22}, {"a", 0x21}, {"b.txt", 0x20}, {"link", 0x400},
          {"\xD0\xAF", 0x20}}},
        {0, {{"a", 0x21}, {"b.txt", 0x20}, {"link", 0x400}, {"\xD0\xAF", 0x20}}},
        {fs::attr::kSystem | fs::attr::kReadOnly | fs::attr::kArchive,
         {{"a", 0x21}, {"b.txt", 0x20}, {"fifo", 0x04}, {"link", 0x400}, {"\xD0\xAF", 0x20}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(listing(dir.path(), c.mask), c.expected) << "mask " << c.mask;
}

TEST_F(FileSystemTest, FindEntriesOfAMissingFolderListsNothing)
{
    EXPECT_TRUE(fs::FindEntries(dir.file("missing"), fs::attr::kAnyFile).empty());
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);
    dir.write("file", "x");
    EXPECT_TRUE(fs::FindEntries(dir.file("file"), fs::attr::kAnyFile).empty());
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kPathNotFound);
}

TEST_F(FileSystemTest, GetCurrentDirIsTheProcessDirectory)
{
    EXPECT_EQ(fs::GetCurrentDir(), std::filesystem::current_path().string());
}

TEST_F(FileSystemTest, FileExistsOnlyForFiles)
{
    dir.write("file", "x");
    makeFolder("folder");
    ASSERT_EQ(symlink("file", dir.file("to-file").c_str()), 0);
    ASSERT_EQ(symlink("folder", dir.file("to-folder").c_str()), 0);
    ASSERT_EQ(symlink("missing", dir.file("dangling").c_str()), 0);

    const std::vector<std::pair<std::string, bool>> cases = {
        {"file", true},       {"folder", false},  {"missing", false},
        {"to-file", true},    {"to-folder", false}, {"dangling", false},
    };
    for (const auto &[name, exists] : cases)
        EXPECT_EQ(fs::FileExists(dir.file(name)), exists) << name;
}

TEST_F(FileSystemTest, CreateDirectoryMakesOneFolder)
{
    EXPECT_TRUE(fs::CreateDirectory(dir.file("velmo")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("velmo")));

    EXPECT_FALSE(fs::CreateDirectory(dir.file("velmo")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kAlreadyExists);

    dir.write("file", "x");
    EXPECT_FALSE(fs::CreateDirectory(dir.file("file")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kAlreadyExists);

    EXPECT_FALSE(fs::CreateDirectory(dir.file("no/such")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kPathNotFound);
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));

    EXPECT_FALSE(fs::CreateDirectory(dir.file(std::string(300, 'n'))));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFilenameTooLong);
}

TEST_F(FileSystemTest, MoveFileMovesFilesAndFoldersWithTheirContent)
{
    dir.write("a.txt", "a");
    EXPECT_TRUE(fs::MoveFile(dir.file("a.txt"), dir.file("b.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.txt")));
    EXPECT_EQ(dir.read("b.txt"), "a");

    makeFolder("old");
    dir.write("old/options.velmo", "[user]\r\n");
    EXPECT_TRUE(fs::MoveFile(dir.file("old"), dir.file("new")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("old")));
    EXPECT_EQ(dir.read("new/options.velmo"), "[user]\r\n");
}

TEST_F(FileSystemTest, MoveFileNeverOverwrites)
{
    dir.write("from.txt", "from");
    dir.write("to.txt", "to");
    makeFolder("from");
    dir.write("from/f", "f");
    makeFolder("empty");
    makeFolder("full");
    dir.write("full/g", "g");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"from.txt", "to.txt"}, {"from", "empty"}, {"from", "full"}, {"from.txt", "empty"}, {"from", "to.txt"},
    };
    for (const auto &[from, to] : cases) {
        EXPECT_FALSE(fs::MoveFile(dir.file(from), dir.file(to))) << from << " -> " << to;
        EXPECT_EQ(fs::GetLastError(), fs::winerr::kAlreadyExists) << from << " -> " << to;
    }
    EXPECT_EQ(dir.read("from.txt"), "from");
    EXPECT_EQ(dir.read("to.txt"), "to");
    EXPECT_EQ(dir.read("from/f"), "f");
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("empty")));
    EXPECT_EQ(dir.read("full/g"), "g");
}

TEST_F(FileSystemTest, MoveFileTellsAMissingSourceFromAMissingDestinationFolder)
{
    EXPECT_FALSE(fs::MoveFile(dir.file("missing"), dir.file("x")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);

    dir.write("a.txt", "a");
    EXPECT_FALSE(fs::MoveFile(dir.file("a.txt"), dir.file("no/a.txt")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kPathNotFound);
    EXPECT_EQ(dir.read("a.txt"), "a");

    makeFolder("box");
    EXPECT_FALSE(fs::MoveFile(dir.file("box"), dir.file("box/inner")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kInvalidParameter);
}

TEST_F(FileSystemTest, DeleteFileRefusesReadOnlyFilesAndFolders)
{
    dir.write("file", "x");
    EXPECT_TRUE(fs::DeleteFile(dir.file("file")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("file")));

    dir.write("readonly", "keep");
    ASSERT_EQ(chmod(dir.file("readonly").c_str(), 0444), 0);
    EXPECT_FALSE(fs::DeleteFile(dir.file("readonly")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kAccessDenied);
    EXPECT_EQ(dir.read("readonly"), "keep");

    makeFolder("folder");
    EXPECT_FALSE(fs::DeleteFile(dir.file("folder")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kAccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));

    EXPECT_FALSE(fs::DeleteFile(dir.file("missing")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);

    // A link goes by itself; what it points to stays, read-only or not.
    ASSERT_EQ(symlink("readonly", dir.file("link").c_str()), 0);
    EXPECT_TRUE(fs::DeleteFile(dir.file("link")));
    EXPECT_FALSE(std::filesystem::is_symlink(dir.file("link")));
    EXPECT_EQ(dir.read("readonly"), "keep");
}

TEST_F(FileSystemTest, RemoveDirRemovesOnlyAnEmptyFolder)
{
    makeFolder("empty");
    EXPECT_TRUE(fs::RemoveDir(dir.file("empty")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("empty")));

    makeFolder("full");
    dir.write("full/.hidden", "h");
    EXPECT_FALSE(fs::RemoveDir(dir.file("full")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kDirNotEmpty);
    EXPECT_EQ(dir.read("full/.hidden"), "h");

    EXPECT_FALSE(fs::RemoveDir(dir.file("missing")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);

    dir.write("file", "x");
    EXPECT_FALSE(fs::RemoveDir(dir.file("file")));
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kPathNotFound);
    EXPECT_EQ(dir.read("file"), "x");
}

TEST(FileSystemErrors, ErrnoMapsToWindowsNumbers)
{
    const std::vector<std::pair<int, uint32_t>> cases = {
        {0, 0},          {ENOENT, 2},    {ENOTDIR, 3},    {EMFILE, 4},     {EACCES, 5},   {EPERM, 5},
        {EISDIR, 5},     {ENOMEM, 8},    {EXDEV, 17},     {EROFS, 19},     {EBUSY, 32},   {ETXTBSY, 32},
        {EINVAL, 87},    {ENOSPC, 112},  {EDQUOT, 112},   {ENOTEMPTY, 145}, {EEXIST, 183}, {ENAMETOOLONG, 206},
        {EFBIG, 223},    {EIO, 1117},    {ELOOP, 1921},   {EPROTO, 31},
    };
    for (const auto &[err, winError] : cases)
        EXPECT_EQ(fs::WinErrorFromErrno(err), winError) << "errno " << err;
}

TEST_F(FileSystemTest, LastErrorBelongsToTheCallingThread)
{
    makeFolder("exists");
    EXPECT_FALSE(fs::RemoveDir(dir.file("missing")));
    ASSERT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);

    uint32_t otherThreadError = 0;
    std::thread other([&] {
        fs::CreateDirectory(dir.file("exists"));
        otherThreadError = fs::GetLastError();
    });
    other.join();
    EXPECT_EQ(otherThreadError, fs::winerr::kAlreadyExists);
    EXPECT_EQ(fs::GetLastError(), fs::winerr::kFileNotFound);
}

}  // namespace
