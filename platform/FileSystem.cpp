#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if !defined(RENAME_NOREPLACE)
#include <linux/fs.h>
#include <sys/syscall.h>
#endif

namespace fs {

namespace {

thread_local uint32_t lastError = winerr::kSuccess;

bool fail(uint32_t winError)
{
    lastError = winError;
    return false;
}

bool failFromErrno()
{
    return fail(WinErrorFromErrno(errno));
}

int renameNoReplace(const char *from, const char *to)
{
#if defined(RENAME_NOREPLACE)
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    // A C library without the wrapper: the system call itself.
    return static_cast<int>(syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
#endif
}

uint32_t attributesOf(const std::string &name, const struct stat &st)
{
    uint32_t attributes = 0;
    if (S_ISLNK(st.st_mode))
        attributes = attr::kSymlink;
    else if (S_ISDIR(st.st_mode))
        attributes = attr::kDirectory;
    else if (S_ISREG(st.st_mode))
        attributes = attr::kArchive;
    else
        attributes = attr::kSystem;  // fifo, socket or device: nothing the program made

    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0)
        attributes |= attr::kReadOnly;
    if (name.size() > 0 && name[0] == '.' && name != "." && name != "..")
        attributes |= attr::kHidden;
    return attributes;
}

}  // namespace

std::vector<FolderEntry> FindEntries(const std::string &folder, uint32_t mask)
{
    std::vector<FolderEntry> entries;
    DIR *dir = opendir(folder.c_str());
    if (dir == nullptr) {
        failFromErrno();
        return entries;
    }

    constexpr uint32_t kExcludable = attr::kHidden | attr::kSystem | attr::kVolumeId | attr::kDirectory;
    const int dirFd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        struct stat st;
        // An entry removed since readdir saw it is simply not listed.
        if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const std::string name = entry->d_name;
        const uint32_t attributes = attributesOf(name, st);
        if ((attributes & kExcludable & ~mask) == 0)
            entries.push_back({name, attributes});
    }
    closedir(dir);

    // std::string compares as unsigned bytes.
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry &a, const FolderEntry &b) { return a.name < b.name; });
    return entries;
}

std::string GetCurrentDir()
{
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            failFromErrno();
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

bool FileExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CreateDirectory(const std::string &path)
{
    if (mkdir(path.c_str(), 0755) == 0)
        return true;
    // Windows tells a missing parent folder (a path not found) from a missing file.
    return errno == ENOENT ? fail(winerr::kPathNotFound) : failFromErrno();
}

bool MoveFile(const std::string &from, const std::string &to)
{
    if (renameNoReplace(from.c_str(), to.c_str()) == 0)
        return true;
    struct stat st;
    if (errno == ENOENT && lstat(from.c_str(), &st) == 0)
        return fail(winerr::kPathNotFound);  // the source is there: the destination's folder is not
    return failFromErrno();
}

bool DeleteFile(const std::string &path)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return failFromErrno();
    // As on Windows: a folder is not a file, and a read-only file stays. The mode
    // bits decide, not access(), which says yes to root for every file.
    if (S_ISDIR(st.st_mode) || (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0))
        return fail(winerr::kAccessDenied);
    return unlink(path.c_str()) == 0 || failFromErrno();
}

bool RemoveDir(const std::string &path)
{
    if (rmdir(path.c_str()) == 0)
        return true;
    // POSIX lets rmdir report a folder that is not empty as EEXIST too.
    return errno == EEXIST ? fail(winerr::kDirNotEmpty) : failFromErrno();
}

uint32_t GetLastError()
{
    return lastError;
}

uint32_t WinErrorFromErrno(int err)
{
    struct Mapping {
        int err;
        uint32_t winError;
    };
    static constexpr Mapping kTable[] = {
        {0, winerr::kSuccess},
        {ENOENT, winerr::kFileNotFound},
        {ENOTDIR, winerr::kPathNotFound},
        {EMFILE, winerr::kTooManyOpenFiles},
        {ENFILE, winerr::kTooManyOpenFiles},
        {EACCES, winerr::kAccessDenied},
        {EPERM, winerr::kAccessDenied},
        {EISDIR, winerr::kAccessDenied},
        {ENOMEM, winerr::kNotEnoughMemory},
        {EXDEV, winerr::kNotSameDevice},
        {EROFS, winerr::kWriteProtect},
        {EBUSY, winerr::kSharingViolation},
        {ETXTBSY, winerr::kSharingViolation},
        {EINVAL, winerr::kInvalidParameter},
        {ENOSPC, winerr::kDiskFull},
        {EDQUOT, winerr::kDiskFull},
        {ENOTEMPTY, winerr::kDirNotEmpty},
        {EEXIST, winerr::kAlreadyExists},
        {ENAMETOOLONG, winerr::kFilenameTooLong},
        {EFBIG, winerr::kFileTooLarge},
        {EIO, winerr::kIoDevice},
        {ELOOP, winerr::kCantResolveFilename},
    };
    for (const Mapping &m : kTable) {
        if (m.err == err)
            return m.winError;
    }
    return winerr::kGenFailure;
}

}  // namespace fs
