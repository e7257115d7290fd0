#include "InstanceGuard.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool isWritableFolder(const char *path)
{
    struct stat st;
    return path != nullptr && path[0] == '/' && stat(path, &st) == 0 && S_ISDIR(st.st_mode) &&
           access(path, W_OK | X_OK) == 0;
}

}  // namespace

InstanceGuard::InstanceGuard(std::string name) : FName(std::move(name)) {}

InstanceGuard::~InstanceGuard()
{
    if (FFd >= 0)
        close(FFd);  // closing the only descriptor of the lock releases it
}

std::string InstanceGuard::LockPath(const std::string &name)
{
    // The runtime folder belongs to the user alone; the temp folder is shared
    // by all users, so the name there carries the user id.
    const char *runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (isWritableFolder(runtimeDir))
        return std::string(runtimeDir) + "/" + name + ".lock";

    std::error_code ec;
    std::string tempDir = std::filesystem::temp_directory_path(ec).string();
    if (ec || tempDir.empty())
        tempDir = "/tmp";
    return tempDir + "/" + name + "-" + std::to_string(getuid()) + ".lock";
}

bool InstanceGuard::Acquire()
{
    if (FFd >= 0)
        return true;

    // Read-only is enough for flock; O_NOFOLLOW keeps a link planted in a
    // shared temp folder from pointing the lock elsewhere.
    const std::string path = LockPath(FName);
    const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;

    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        close(fd);
        return false;
    }
    FFd = fd;
    return true;
}
