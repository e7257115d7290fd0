#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>

// A program started in a folder of its own with some environment variables
// changed. The child is killed and reaped when the object goes, so no test
// leaves a process or a zombie behind.
class ChildProcess {
public:
    ChildProcess(const std::string &program, const std::string &workDir,
                 const std::map<std::string, std::string> &environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    pid_t Pid() const { return FPid; }
    // True while the child has not ended.
    bool Running();
    // The wait status once the child has ended within the time, else nullopt.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    // Kills the child with SIGKILL and returns its wait status.
    int Kill();
    // True when the child's main thread sleeps in poll: it waits in its event loop.
    bool WaitsForEvents() const;

private:
    pid_t FPid = -1;
    std::optional<int> FStatus;
};

