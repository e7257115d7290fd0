#pragma once

#include <string>

// Where the program keeps its settings: a folder "velmo" under the current
// directory (asked anew at each use), holding the program settings file and
// one folder per mailbox with its options file. Paths are the on-disk (UTF-8)
// names; a mailbox folder is named after the UTF-8 form of the mailbox's
// Windows-1251 name.
namespace settings {

inline constexpr char kFolderName[] = "velmo";
inline constexpr char kOptionsFileName[] = "options.velmo";
inline constexpr char kGlobalOptionsFileName[] = "globaloptions.velmo";

// Options file, section "user".
inline constexpr char kUserSection[] = "user";
inline constexpr char kHostKey[] = "host";
inline constexpr char kPortKey[] = "port";
inline constexpr char kUserKey[] = "user";
inline constexpr char kPasswordKey[] = "password";
inline constexpr char kTimeKey[] = "time";
inline constexpr char kLetterKey[] = "letter";
inline constexpr char kNameMailKey[] = "namemail";

// Program settings file, section "interface".
inline constexpr char kInterfaceSection[] = "interface";
inline constexpr char kTaskbarKey[] = "taskbar";
inline constexpr char kIconErrorKey[] = "iconerror";

// The current directory followed by "/velmo".
std::string Folder();
// The folder of a mailbox, from the folder's name on disk.
std::string MailboxFolder(const std::string &diskName);
// The options file of a mailbox, from its folder's name on disk.
std::string OptionsFile(const std::string &diskName);
// A settings folder's program settings file.
std::string GlobalOptionsFile(const std::string &settingsFolder);
// The on-disk folder name of a mailbox with the given (Windows-1251) name.
std::string DiskName(const std::string &namemail);

}  // namespace settings
