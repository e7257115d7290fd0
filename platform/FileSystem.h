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
inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kFileNotFound = 2;
inline constexpr uint32_t kPathNotFound = 3;
inline constexpr uint32_t kTooManyOpenFiles = 4;
inline constexpr uint32_t kAccessDenied = 5;
inline constexpr uint32_t kNotEnoughMemory = 8;
inline constexpr uint32_t kNotSameDevice = 17;
inline constexpr uint32_t kWriteProtect = 19;
inline constexpr uint32_t kGenFailure = 31;  // anything without a closer match
inline constexpr uint32_t kSharingViolation = 32;
inline constexpr uint32_t kInvalidParameter = 87;
inline constexpr uint32_t kDiskFull = 112;
inline constexpr uint32_t kDirNotEmpty = 145;
inline constexpr uint32_t kAlreadyExists = 183;
inline constexpr uint32_t kFilenameTooLong = 206;
inline constexpr uint32_t kFileTooLarge = 223;
inline constexpr uint32_t kIoDevice = 1117;
inline constexpr uint32_t kCantResolveFilename = 1921;
}  // namespace winerr

struct FolderEntry {
    std::string name;     // without path
    uint32_t attributes;  // the whole attribute word
};

// Lists the entries of folder, "." and ".." included, in byte order of their
// names. An entry is listed unless it carries one of the hidden, system,
// volume-label or directory bits that mask lacks. A missing folder lists nothing
// (and leaves its error number for GetLastError()). Links are never followed:
// a symbolic link carries kSymlink (plus kHidden by its name) and nothing else.
// Fifos, sockets and devices carry kSystem.
std::vector<FolderEntry> FindEntries(const std::string &folder, uint32_t mask);

std::string GetCurrentDir();
// An existing file, not a folder. A symbolic link counts when it leads to a file.
bool FileExists(const std::string &path);

// Each returns false on failure and leaves the Windows error number for
// GetLastError() of the calling thread; success leaves it as it was.
// CreateDirectory fails with kAlreadyExists when anything exists at path, and
// with kPathNotFound when its parent folder is missing (so does MoveFile when
// the destination's folder is missing; a missing source is kFileNotFound).
// DeleteFile refuses a folder and a file whose owner may not write
// (kAccessDenied). RemoveDir removes an empty folder (else kDirNotEmpty).
bool CreateDirectory(const std::string &path);
bool MoveFile(const std::string &from, const std::string &to);  // never overwrites
bool DeleteFile(const std::string &path);                       // refused for a read-only file
bool RemoveDir(const std::string &path);
uint32_t GetLastError();

// The Windows system error number for an errno value (kGenFailure for one
// without a closer match).
uint32_t WinErrorFromErrno(int err);

}  // namespace fs
