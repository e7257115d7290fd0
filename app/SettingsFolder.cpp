#include "UnitVelmo.h"

#include "FileSystem.h"
#include "MessageBox.h"
#include "SettingsPaths.h"

#include <algorithm>

// Looks for an entry named exactly "velmo" or "Velmo" in the current directory
// (a file counts too) and creates the folder "velmo" when there is none.
// A refused creation is reported and start-up goes on. Returns the settings
// folder's path.
std::string TForm1::OpenSettingsFolder()
{
    const std::vector<fs::FolderEntry> entries =
        fs::FindEntries(fs::GetCurrentDir(), fs::attr::kDirectory);
    const bool found = std::any_of(entries.begin(), entries.end(), [](const fs::FolderEntry &entry) {
        return entry.name == "velmo" || entry.name == "Velmo";
    });
    const std::string folder = settings::Folder();
    if (!found && !fs::CreateDirectory(folder))
        ShowMessage(QStringLiteral("Не удалось создать каталог"));
    return folder;
}
