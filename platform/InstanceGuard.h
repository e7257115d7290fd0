#pragma once

#include <string>

// One running copy per user: an exclusive, non-blocking flock on a file named
// after the guard, in $XDG_RUNTIME_DIR (else a per-user file in the temp
// folder), held until the object goes; the program keeps its guard for the
// life of the process. The kernel drops the lock however the process ends, and
// the descriptor is not passed on to programs the process starts.
class InstanceGuard {
public:
    explicit InstanceGuard(std::string name = "MYPROGRAM_CHECKEXIST");
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    // True when this object now holds the guard (at once, without waiting);
    // false when another holder has it or the lock file cannot be opened.
    // Another guard object of the same name conflicts even in this process.
    bool Acquire();

    // "$XDG_RUNTIME_DIR/<name>.lock" when that is a writable folder, else
    // "<temp folder>/<name>-<uid>.lock".
    static std::string LockPath(const std::string &name);

private:
    std::string FName;
    int FFd = -1;
};
