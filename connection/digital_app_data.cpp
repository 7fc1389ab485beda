// The digital panel's connection record and its settings in drevalon.ini.
#include "digital_app_data.h"

#include "ini_file.h"

const char kDigitalPanelSection[] = "Digital Panel";

AppData::AppData(HWND mainWindow) : AppDataBase(mainWindow, "digital")
{
}

void AppData::RestoreSettings()
{
    autoConfig = static_cast<int>(GetPrivateProfileIntA(kDigitalPanelSection, "AutoConfig", 1, iniPath));
    controllerId = static_cast<short>(GetPrivateProfileIntA(kDigitalPanelSection, "ControllerID", 0, iniPath));
}

void AppData::SaveSettings()
{
    WriteIniInt(kDigitalPanelSection, "AutoConfig", autoConfig, iniPath);
    WriteIniInt(kDigitalPanelSection, "ControllerID", static_cast<short>(controllerId), iniPath);
}
