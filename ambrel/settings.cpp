// Ambrel's registry settings: program values, and per controller and axis
// the values of each axis panel.
#include "main_window.h"

#include "axis_panel.h"
#include "registry_values.h"
#include "resource.h"
#include "window_utils.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

const int kDistanceSize = 64;

// Takes a stored 4-byte value into `value`; else leaves it.
bool ReadDword(HKEY key, const char* name, int* value)
{
    DWORD stored = 0;
    if (!RegReadDword(key, name, &stored))
        return false;
    *value = static_cast<int>(stored);
    return true;
}

void WriteDword(HKEY key, const char* name, int value)
{
    RegWriteDword(key, name, static_cast<DWORD>(value));
}

void SubKeyName(char* name, size_t size, const char* prefix, int number)
{
    snprintf(name, size, "%s%d", prefix, number);
}

void LoadStartupValues(MainWindowData* data, HKEY key)
{
    ReadDword(key, "ControllerID", &data->controllerId);
    ReadDword(key, "AutoInit", &data->autoInit);
    ReadDword(key, "Cycle", &data->cycleMode);
    int velocityWarn = 1;
    ReadDword(key, "VelocityWarn", &velocityWarn);
    SetVelocityWarn(velocityWarn);
    ReadDword(key, "StopWarn", &data->stopWarn);

    int x = 0, y = 0;
    ReadDword(key, "XPos", &x);
    ReadDword(key, "YPos", &y);
    KeepCornerOnScreen(&x, &y);
    SetWindowPos(data->mainWindow, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

} // namespace

void LoadProgramSettings(MainWindowData* data, int perAxisOnly)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, AMBREL_REGISTRY_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        if (!perAxisOnly) {
            data->controllerId = 0;
            data->autoInit = 0;
        }
        return;
    }
    if (!perAxisOnly)
        LoadStartupValues(data, key);

    char name[32];
    SubKeyName(name, sizeof name, "Controller", data->controllerId);
    HKEY controllerKey;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &controllerKey) == ERROR_SUCCESS) {
        BroadcastToPanels(data->mainWindow, AXM_LOADSETTINGS, 0,
                          reinterpret_cast<LPARAM>(controllerKey));
        RegCloseKey(controllerKey);
    }
    RegCloseKey(key);
}

void SaveProgramSettings(MainWindowData* data)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, AMBREL_REGISTRY_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    WriteDword(key, "ControllerID", data->controllerId);
    WriteDword(key, "AutoInit", data->autoInit);
    WriteDword(key, "Cycle", data->cycleMode);
    WriteDword(key, "VelocityWarn", GetVelocityWarn());
    WriteDword(key, "StopWarn", data->stopWarn);
    if (!IsIconic(data->mainWindow)) {
        RECT rect;
        GetWindowRect(data->mainWindow, &rect);
        WriteDword(key, "XPos", rect.left);
        WriteDword(key, "YPos", rect.top);
    }

    char name[32];
    SubKeyName(name, sizeof name, "Controller", data->controllerId);
    HKEY controllerKey;
    if (RegCreateKeyExA(key, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &controllerKey, nullptr) == ERROR_SUCCESS) {
        BroadcastToPanels(data->mainWindow, AXM_SAVESETTINGS, 0,
                          reinterpret_cast<LPARAM>(controllerKey));
        RegCloseKey(controllerKey);
    }
    RegCloseKey(key);
}

void LoadAxisSettings(AxisPanelData* data, HKEY controllerKey)
{
    char name[32];
    SubKeyName(name, sizeof name, "Axis", data->axis);
    HKEY key;
    if (RegOpenKeyExA(controllerKey, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    HWND panel = data->panelWindow;

    int enabled = data->enabled;
    ReadDword(key, "Enabled", &enabled);
    data->enabled = enabled ? 1 : 0;
    SendMessageA(panel, AXM_REFRESH, 0, 0);

    char distance[kDistanceSize];
    if (RegReadString(key, "Distance", distance, sizeof distance))
        SetDlgItemTextA(panel, IDC_DISTANCE, distance);

    int mode = 0;
    if (ReadDword(key, "Mode", &mode))
        CheckRadioButton(panel, IDC_ABS, IDC_REL, mode ? IDC_REL : IDC_ABS);

    int velocity = 0;
    if (ReadDword(key, "Velocity", &velocity)) {
        if (velocity < 0)
            velocity = 0;
        if (velocity > VELOCITY_SLIDER_MAX)
            velocity = VELOCITY_SLIDER_MAX;
        SendDlgItemMessageA(panel, IDC_VELOCITY_SLIDER, TBM_SETPOS, TRUE, velocity);
    }
    RegCloseKey(key);
}

void SaveAxisSettings(AxisPanelData* data, HKEY controllerKey)
{
    char name[32];
    SubKeyName(name, sizeof name, "Axis", data->axis);
    HKEY key;
    if (RegCreateKeyExA(controllerKey, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    HWND panel = data->panelWindow;
    WriteDword(key, "Enabled", data->enabled);
    char distance[kDistanceSize];
    distance[0] = '\0';
    GetDlgItemTextA(panel, IDC_DISTANCE, distance, sizeof distance);
    RegWriteString(key, "Distance", distance);
    WriteDword(key, "Mode", IsDlgButtonChecked(panel, IDC_ABS) == BST_CHECKED ? 0 : 1);
    WriteDword(key, "Velocity",
               static_cast<int>(SendDlgItemMessageA(panel, IDC_VELOCITY_SLIDER, TBM_GETPOS, 0, 0)));
    RegCloseKey(key);
}
