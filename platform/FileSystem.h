#pragma once

#include <cstdint>
#include <string>
#include <vector>

// File operations with the Windows file-attribute words and system error
// numbers the program's messages and rules are written in. Paths are UTF-8.
namespace fs {

namespace attr {
inline constexpr uint32_t kReadOnly = 0x01;   // the owner may not write
inline constexpr uint32_t kHidden = 0x02;     // name starts with "."
inline constexpr uint32_t kSystem = 0x04;
inline constexpr uint32_t kVolumeId = 0x08;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;    // an ordinary file
inline constexpr uint32_t kSymlink = 0x400;   // a symbolic link, never followed
inline constexpr uint32_t kAnyFile = 0x3F;
}  // namespace attr

// Windows system error numbers used by the program.
namespace winerr {
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kDirNotEmpty = 145;
inline constexpr uint32_t kAlreadyExists = 183;
}  // namespace winerr

struct FolderEntry {
    std::string name;     // without path
    uint32_t attributes;  // the whole attribute word
};

// Lists the entries of folder, "." and ".." included, in byte order of their
// names. An entry is listed unless it carries one of the hidden, system,
// volume-label or directory bits that mask lacks. A missing folder lists nothing.
std::vector<FolderEntry> FindEntries(const std::string &folder, uint32_t mask);

std::string GetCurrentDir();
bool FileExists(const std::string &path);  // an existing file, not a folder

// Each returns false on failure and leaves the Windows error number for
// GetLastError() of the calling thread.
bool CreateDirectory(const std::string &path);
bool MoveFile(const std::string &from, const std::string &to);  // never overwrites
bool DeleteFile(const std::string &path);                       // refused for a read-only file
bool RemoveDir(const std::string &path);
uint32_t GetLastError();

// The Windows system error number for an errno value.
uint32_t WinErrorFromErrno(int err);

}  // namespace fs
