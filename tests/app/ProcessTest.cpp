// The built program, started as a user would: the single-instance guard and
// the settings folder, seen from outside.

#include "ChildProcess.h"
#include "EventWait.h"
#include "TempDir.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace std::chrono_literals;

// Generous: a sanitizer build starts slowly on a busy machine.
constexpr auto kStartLimit = 60s;

bool IsFolder(const std::string &path)
{
    return std::filesystem::is_directory(std::filesystem::symlink_status(path));
}

bool IsEmptyFolder(const std::string &path)
{
    return std::filesystem::is_empty(path);
}

// True when a file of the folder is flock-ed by some process (/proc/locks names
// locked files by device and inode).
bool FolderHoldsALock(const std::string &folder)
{
    std::vector<std::string> files;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        struct stat info {};
        if (stat(entry.path().c_str(), &info) != 0)
            continue;
        char key[64];
        std::snprintf(key, sizeof key, "%02x:%02x:%llu", major(info.st_dev), minor(info.st_dev),
                      static_cast<unsigned long long>(info.st_ino));
        files.push_back(key);
    }
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, file;
        fields >> number >> kind >> mode >> access >> pid >> file;
        if (kind == "FLOCK" && std::find(files.begin(), files.end(), file) != files.end())
            return true;
    }
    return false;
}

bool EndedBySigkill(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

class ProcessTest : public testing::Test {
protected:
    // The program, in a folder of its own, with a lock folder of this test.
    std::unique_ptr<ChildProcess> Start(const TempDir &workDir) const
    {
        return std::make_unique<ChildProcess>(
            VELMO_PROGRAM, workDir.path(),
            std::map<std::string, std::string>{{"QT_QPA_PLATFORM", "offscreen"},
                                               {"XDG_RUNTIME_DIR", FRuntime.path()}});
    }

    // Started and idle in its event loop: construction is over.
    static void ExpectRunsIdle(ChildProcess &child)
    {
        EXPECT_TRUE(PollUntil([&] { return !child.Running() || child.WaitsForEvents(); }, kStartLimit));
        EXPECT_TRUE(child.Running());
    }

    TempDir FRuntime;
};

}  // namespace

TEST_F(ProcessTest, FirstStartCreatesTheSettingsFolderAndRuns)
{
    TempDir work;
    auto program = Start(work);

    EXPECT_TRUE(PollUntil([&] { return IsFolder(work.file("velmo")); }, kStartLimit));
    ExpectRunsIdle(*program);
    EXPECT_TRUE(FolderHoldsALock(FRuntime.path()));
    EXPECT_TRUE(EndedBySigkill(program->Kill()));
}

TEST_F(ProcessTest, AFileNamedVelmoIsLeftAloneAndTheProgramRuns)
{
    TempDir work;
    work.write("velmo", "a file");
    auto program = Start(work);

    EXPECT_TRUE(PollUntil([&] { return FolderHoldsALock(FRuntime.path()); }, kStartLimit));
    ExpectRunsIdle(*program);
    EXPECT_TRUE(std::filesystem::is_regular_file(work.file("velmo")));
    EXPECT_EQ(work.read("velmo"), "a file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.path()),
                            std::filesystem::directory_iterator()), 1);
    EXPECT_TRUE(EndedBySigkill(program->Kill()));
}

TEST_F(ProcessTest, SecondStartLeavesAtOnceAndANewStartRunsAfterTheFirstIsKilled)
{
    TempDir firstDir;
    auto first = Start(firstDir);
    ASSERT_TRUE(PollUntil([&] { return IsFolder(firstDir.file("velmo")); }, kStartLimit));

    TempDir secondDir;
    const auto started = std::chrono::steady_clock::now();
    auto second = Start(secondDir);
    const std::optional<int> status = second->WaitForExit(5s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - started);
    std::printf("second start ended after %lld ms\n", static_cast<long long>(took.count()));

    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_TRUE(IsEmptyFolder(secondDir.path()));
    EXPECT_TRUE(first->Running());

    EXPECT_TRUE(EndedBySigkill(first->Kill()));
    TempDir thirdDir;
    auto third = Start(thirdDir);
    EXPECT_TRUE(PollUntil([&] { return IsFolder(thirdDir.file("velmo")); }, kStartLimit));
    ExpectRunsIdle(*third);
    EXPECT_TRUE(EndedBySigkill(third->Kill()));
}

TEST_F(ProcessTest, OfTwoStartsAtTheSameMomentExactlyOneRuns)
{
    TempDir dirA;
    TempDir dirB;
    auto a = Start(dirA);
    auto b = Start(dirB);

    ASSERT_TRUE(PollUntil([&] { return !a->Running() || !b->Running(); }, kStartLimit));
    ChildProcess &ended = a->Running() ? *b : *a;
    ChildProcess &runner = a->Running() ? *a : *b;
    const TempDir &endedDir = a->Running() ? dirB : dirA;
    const TempDir &runnerDir = a->Running() ? dirA : dirB;

    const std::optional<int> status = ended.WaitForExit(0ms);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    EXPECT_TRUE(PollUntil([&] { return IsFolder(runnerDir.file("velmo")); }, kStartLimit));
    ExpectRunsIdle(runner);
    EXPECT_TRUE(IsEmptyFolder(endedDir.path()));
    EXPECT_TRUE(EndedBySigkill(runner.Kill()));
}
