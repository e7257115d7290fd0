#include "ChildProcess.h"

#include "EventWait.h"

#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

extern char **environ;

ChildProcess::ChildProcess(const std::string &program, const std::string &workDir,
                           const std::map<std::string, std::string> &environment)
{
    std::map<std::string, std::string> variables;
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const size_t equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto &[name, value] : environment)
        variables[name] = value;
    std::vector<std::string> texts;
    for (const auto &[name, value] : variables)
        texts.push_back(name + "=" + value);
    std::vector<char *> envp;
    for (std::string &text : texts)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    std::string programCopy = program;
    char *argv[] = {programCopy.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
    const int error = posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(error));
}

ChildProcess::~ChildProcess()
{
    if (!FStatus)
        Kill();
}

bool ChildProcess::Running()
{
    if (FStatus)
        return false;
    int status = 0;
    const pid_t result = waitpid(FPid, &status, WNOHANG);
    if (result == FPid)
        FStatus = status;
    return !FStatus;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit)
{
    PollUntil([this] { return !Running(); }, limit);
    return FStatus;
}

int ChildProcess::Kill()
{
    if (!FStatus) {
        kill(FPid, SIGKILL);
        int status = 0;
        while (waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
        }
        FStatus = status;
    }
    return *FStatus;
}

bool ChildProcess::WaitsForEvents() const
{
    // The first field of /proc/<pid>/syscall is the number of the system call
    // the thread is blocked in.
    std::ifstream in("/proc/" + std::to_string(FPid) + "/syscall");
    long number = -1;
    if (!(in >> number))
        return false;
#ifdef SYS_poll
    if (number == SYS_poll)
        return true;
#endif
    return number == SYS_ppoll;
}
