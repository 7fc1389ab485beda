// Pellovin's connection record.
#include "app_data.h"

#include "ini_file.h"
#include "ini_values.h"

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
    SetControllerID(ReadIniWholeInt("Analog Panel", "ControllerID", 0, IniPath()));
}

void AppData::SaveSettings()
{
    WriteIniInt("Analog Panel", "ControllerID", ControllerID(), IniPath());
}
