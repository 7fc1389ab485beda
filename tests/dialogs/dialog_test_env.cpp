// Shared set-up of the dialog tests.
#include "dialog_test_env.h"

#include <cstdio>

#include "os_probes.h"

bool FindController(const std::function<bool(const TavroSimControllerInfo&)>& wanted,
                    TavroSimControllerInfo* found)
{
    int count = TavroSim_ControllerCount();
    for (int i = 0; i < count; ++i) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == TAVRO_OK && info.openError == 0 && wanted(info)) {
            *found = info;
            return true;
        }
    }
    return false;
}

std::string StoreFile(short controllerId)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    char folder[MAX_PATH];
    EXPECT_GT(GetAppDataFolder(folder, "Drevalon", "Controllers"), 0);
    FreeLibrary(shell);
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%scontroller-%d.ini", folder, controllerId);
    return path;
}

void OpenController::SetUp()
{
    ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
    bool found = FindController(
        [](const TavroSimControllerInfo& info) {
            if (info.axisCount < 2 || info.controllerType == 8)
                return false;
            short handle = TavroOpen(info.id, TAVRO_OPEN_SHARED, "");
            TavroAxisConfig config = {};
            config.size = sizeof config;
            bool servo = TavroGetAxisConfiguration(handle, 1, &config) == TAVRO_OK &&
                         (config.axisFlags & TAVRO_AXIS_SERVO) != 0;
            TavroClose(handle);
            return servo;
        },
        &controller_);
    ASSERT_TRUE(found) << "no controller with a servo axis 1 is configured";
    handle_ = TavroOpen(controller_.id, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(handle_, 0);
}

void OpenController::TearDown()
{
    if (handle_ > 0)
        TavroClose(handle_);
}

void OpenController::PowerCycle()
{
    ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
    handle_ = TavroOpen(controller_.id, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(handle_, 0);
}

TavroMotionConfig Motion(short handle, short axis)
{
    TavroMotionConfig motion = {};
    EXPECT_EQ(TavroGetMotionConfig(handle, axis, &motion), TAVRO_OK);
    return motion;
}

TavroFilterConfig Filter(short handle, short axis)
{
    TavroFilterConfig filter = {};
    EXPECT_EQ(TavroGetFilterConfig(handle, axis, &filter), TAVRO_OK);
    return filter;
}
