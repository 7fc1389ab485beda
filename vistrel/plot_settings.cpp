// Registry persistence of a plot window's flags, colours and line styles.
#include <windows.h>

#include <cstdio>

#include "plot_window.h"
#include "registry_values.h"

namespace {

// One stored value: its name and the messages that read and set it.
struct SettingValue {
    char name[16];
    UINT getMessage;
    UINT setMessage;
    int trace; // -1 for values that are not per trace
};

const int kValueCount = 6 + 2 * PLOT_TRACE_COUNT;

// The 22 values in their stored order.
void ListSettingValues(SettingValue (&values)[kValueCount])
{
    const SettingValue fixed[] = {
        {"Flags", PLM_GETFLAGS, PLM_SETFLAGS, -1},
        {"ColorStyle", PLM_GETCOLORSTYLE, PLM_SETCOLORSTYLE, -1},
        {"BackColor", PLM_GETBACKCOLOR, PLM_SETBACKCOLOR, -1},
        {"GridColor", PLM_GETGRIDCOLOR, PLM_SETGRIDCOLOR, -1},
        {"MargColor", PLM_GETMARGINCOLOR, PLM_SETMARGINCOLOR, -1},
        {"TextColor", PLM_GETTEXTCOLOR, PLM_SETTEXTCOLOR, -1},
    };
    int i = 0;
    for (const SettingValue& value : fixed)
        values[i++] = value;
    for (int n = 0; n < PLOT_TRACE_COUNT; ++n) {
        SettingValue& color = values[i++];
        snprintf(color.name, sizeof color.name, "Line%dColor", n);
        color.getMessage = PLM_GETLINECOLOR;
        color.setMessage = PLM_SETLINECOLOR;
        color.trace = n;
        SettingValue& style = values[i++];
        snprintf(style.name, sizeof style.name, "Line%dStyle", n);
        style.getMessage = PLM_GETLINESTYLE;
        style.setMessage = PLM_SETLINESTYLE;
        style.trace = n;
    }
}

WPARAM TraceParam(const SettingValue& value)
{
    return value.trace < 0 ? 0 : static_cast<WPARAM>(value.trace);
}

} // namespace

BOOL WINAPI LumoSaveSettings(HWND plot, HKEY key, const char* subKey)
{
    HKEY plotKey = nullptr;
    if (RegCreateKeyExA(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &plotKey, nullptr) != ERROR_SUCCESS)
        return FALSE;
    SettingValue values[kValueCount];
    ListSettingValues(values);
    for (const SettingValue& value : values) {
        RegWriteDword(plotKey, value.name,
                      static_cast<DWORD>(SendMessageA(plot, value.getMessage, TraceParam(value), 0)));
    }
    RegCloseKey(plotKey);
    return TRUE;
}

BOOL WINAPI LumoRestoreSettings(HWND plot, HKEY key, const char* subKey)
{
    HKEY plotKey = nullptr;
    if (RegOpenKeyExA(key, subKey, 0, KEY_READ, &plotKey) != ERROR_SUCCESS)
        return FALSE;
    SettingValue values[kValueCount];
    ListSettingValues(values);
    for (const SettingValue& value : values) {
        DWORD data = 0;
        if (!RegReadDword(plotKey, value.name, &data))
            continue;
        SendMessageA(plot, value.setMessage, TraceParam(value), static_cast<LPARAM>(data));
    }
    RegCloseKey(plotKey);
    return TRUE;
}
