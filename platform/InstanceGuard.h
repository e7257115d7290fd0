#pragma once

#include <string>

// One running copy per user: an exclusive, non-blocking flock on a file named
// after the guard, in $XDG_RUNTIME_DIR (else a per-user file in the temp
// folder), held for the life of the process. The kernel drops it however the
// process ends.
class InstanceGuard {
public:
    explicit InstanceGuard(std::string name = "MYPROGRAM_CHECKEXIST");
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    // True when this process now holds the guard; false when another copy
    // holds it or the lock file cannot be opened.
    bool Acquire();

    static std::string LockPath(const std::string &name);

private:
    std::string FName;
    int FFd = -1;
};
