#include "InstanceGuard.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::optional<std::string> &value) : FName(name)
    {
        if (const char *old = std::getenv(name))
            FOld = old;
        set(value);
    }
    ~ScopedEnv() { set(FOld); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    void set(const std::optional<std::string> &value) const
    {
        if (value)
            setenv(FName, value->c_str(), 1);
        else
            unsetenv(FName);
    }

    const char *FName;
    std::optional<std::string> FOld;
};

// Whether a separate process can take the guard right now.
bool childAcquires(const std::string &name)
{
    const pid_t pid = fork();
    if (pid == 0) {
        InstanceGuard guard(name);
        _exit(guard.Acquire() ? 1 : 0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    return WEXITSTATUS(status) == 1;
}

class InstanceGuardTest : public ::testing::Test {
protected:
    TempDir runtimeDir;
    TempDir tempDir;
    ScopedEnv runtime{"XDG_RUNTIME_DIR", runtimeDir.path()};
    ScopedEnv temp{"TMPDIR", tempDir.path()};
};

TEST_F(InstanceGuardTest, LockFileLivesInTheRuntimeFolderElseInTheTempFolderWithTheUserId)
{
    EXPECT_EQ(InstanceGuard::LockPath("MYPROGRAM_CHECKEXIST"), runtimeDir.path() + "/MYPROGRAM_CHECKEXIST.lock");

    const std::string perUser = tempDir.path() + "/MYPROGRAM_CHECKEXIST-" + std::to_string(getuid()) + ".lock";
    {
        const ScopedEnv unset("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(InstanceGuard::LockPath("MYPROGRAM_CHECKEXIST"), perUser);
    }
    {
        const ScopedEnv missing("XDG_RUNTIME_DIR", runtimeDir.file("missing"));
        EXPECT_EQ(InstanceGuard::LockPath("MYPROGRAM_CHECKEXIST"), perUser);
    }
    {
        const ScopedEnv relative("XDG_RUNTIME_DIR", "relative/dir");
        EXPECT_EQ(InstanceGuard::LockPath("MYPROGRAM_CHECKEXIST"), perUser);
    }
}

TEST_F(InstanceGuardTest, SecondGuardOfTheSameNameIsRefusedUntilTheFirstGoes)
{
    auto first = std::make_unique<InstanceGuard>("VELMO_TEST");
    ASSERT_TRUE(first->Acquire());
    EXPECT_TRUE(first->Acquire());  // still held by this object

    InstanceGuard second("VELMO_TEST");
    EXPECT_FALSE(second.Acquire());
    InstanceGuard otherName("VELMO_TEST_OTHER");
    EXPECT_TRUE(otherName.Acquire());

    first.reset();
    EXPECT_TRUE(second.Acquire());

    struct stat st {};
    ASSERT_EQ(stat(InstanceGuard::LockPath("VELMO_TEST").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(InstanceGuardTest, AnotherProcessSeesTheGuardTaken)
{
    EXPECT_TRUE(childAcquires("VELMO_TEST"));  // free: the child takes it and drops it by ending
    {
        InstanceGuard guard("VELMO_TEST");
        ASSERT_TRUE(guard.Acquire());
        EXPECT_FALSE(childAcquires("VELMO_TEST"));
    }
    EXPECT_TRUE(childAcquires("VELMO_TEST"));
}

TEST_F(InstanceGuardTest, LockIsNotPassedOnToStartedPrograms)
{
    InstanceGuard guard("VELMO_TEST");
    ASSERT_TRUE(guard.Acquire());
    const std::string path = InstanceGuard::LockPath("VELMO_TEST");
    int found = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        if (std::filesystem::read_symlink(entry.path(), ec).string() != path)
            continue;
        ++found;
        const int fd = std::stoi(entry.path().filename().string());
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
    EXPECT_EQ(found, 1);
}

TEST_F(InstanceGuardTest, LockFileThatCannotBeOpenedRefuses)
{
    // A link planted at the lock path is not followed.
    const ScopedEnv unset("XDG_RUNTIME_DIR", std::nullopt);
    const std::string path = InstanceGuard::LockPath("VELMO_TEST");
    ASSERT_EQ(symlink(tempDir.file("elsewhere").c_str(), path.c_str()), 0);
    InstanceGuard guard("VELMO_TEST");
    EXPECT_FALSE(guard.Acquire());
    EXPECT_FALSE(std::filesystem::exists(tempDir.file("elsewhere")));
}

}  // namespace
