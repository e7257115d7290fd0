#include "SettingsPaths.h"

#include "CodePage.h"
#include "FileSystem.h"

namespace settings {

std::string Folder()
{
    return fs::GetCurrentDir() + "/" + kFolderName;
}

std::string MailboxFolder(const std::string &diskName)
{
    return Folder() + "/" + diskName;
}

std::string OptionsFile(const std::string &diskName)
{
    return MailboxFolder(diskName) + "/" + kOptionsFileName;
}

std::string GlobalOptionsFile(const std::string &settingsFolder)
{
    return settingsFolder + "/" + kGlobalOptionsFileName;
}

std::string DiskName(const std::string &namemail)
{
    return codepage::cp1251ToUtf8(namemail);
}

}  // namespace settings
