// Pellovin's connection record.
#include "app_data.h"

#include "ini_file.h"

AppData::AppData(HWND mainWindow) : AppDataBase(mainWindow, "analog")
{
}

AppData::~AppData()
{
    for (ChannelGroup* group : pages_)
        delete group;
    pages_.clear();
}

void AppData::RestoreSettings()
{
    SetControllerID(static_cast<int>(GetPrivateProfileIntA("Analog Panel", "ControllerID", 0, IniPath())));
}

void AppData::SaveSettings()
{
    WriteIniInt("Analog Panel", "ControllerID", ControllerID(), IniPath());
}
