#include "UnitVelmo.h"

#include "IniFile.h"
#include "SettingsPaths.h"

void TForm1::LoadGlobalOptions(const std::string &settingsFolder)
{
    const IniFile ini(settings::GlobalOptionsFile(settingsFolder));
    hideTaskbarButton = true;
    blinkOnError = true;
    hideTaskbarButton = ini.ReadBool(settings::kInterfaceSection, settings::kTaskbarKey, false);
    blinkOnError = ini.ReadBool(settings::kInterfaceSection, settings::kIconErrorKey, true);
}
