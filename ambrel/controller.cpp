// Opening, switching and closing the controller of the main window.
#include "main_window.h"

#include "axis_panel.h"
#include "tavro_binding.h"

#include <cstdio>

namespace {

void ShowOpenFailure(MainWindowData* data)
{
    char reason[128];
    reason[0] = '\0';
    g_tavro.TavroTranslateErrorEx(data->handle, reason, sizeof reason);
    reason[sizeof reason - 1] = '\0';
    char text[256];
    snprintf(text, sizeof text, "Unable to open controller for the following reason:\n\nID %d  -  %s\n",
             data->controllerId, reason);
    MessageBoxA(data->mainWindow, text, AMBREL_TITLE, MB_ICONEXCLAMATION);
}

// Number of axes of the open controller; 0 when the query fails.
int QueryAxisCount(short handle)
{
    TavroBasicConfig config = {};
    if (g_tavro.TavroGetConfiguration(handle, &config) != 0)
        return 0;
    return config.axisCount;
}

void ServePanels(MainWindowData* data)
{
    const short handle = data->handle;
    for (int i = 1; i <= MAX_AXES; ++i) {
        HWND panel = data->panels[i - 1];
        if (i > data->axisCount) {
            SendMessageA(panel, AXM_SETCONTROLLER, 0, 0);
            ShowWindow(panel, SW_HIDE);
            continue;
        }
        SendMessageA(panel, AXM_SETCONTROLLER, static_cast<WORD>(handle), 0);
        // A panel shown again may have missed mode changes while it was hidden.
        SendMessageA(panel, AXM_SETCYCLE, data->cycleMode, 0);
        g_tavro.TavroSetOperatingMode(handle, static_cast<short>(i), 0, 2);
        if (data->autoInit)
            g_tavro.TavroDLG_RestoreAxis(handle, static_cast<short>(i), AXIS_DIALOG_FLAGS, nullptr);
        SendMessageA(panel, AXM_ACTIVATE, 1, 1);
        ShowWindow(panel, SW_SHOW);
    }
}

} // namespace

void CloseController(MainWindowData* data)
{
    if (data->handle <= 0)
        return;
    for (HWND panel : data->panels)
        SendMessageA(panel, AXM_ACTIVATE, 0, 0);
    SaveProgramSettings(data);
    g_tavro.TavroClose(data->handle);
    // Nothing may reach the closed handle, and no cycle runs on to another
    // controller.
    for (HWND panel : data->panels)
        SendMessageA(panel, AXM_SETCONTROLLER, 0, 0);
    data->handle = 0;
    data->cycleDirection = 0;
}

short OpenController(MainWindowData* data, int id)
{
    CloseController(data);
    if (id >= 0)
        data->controllerId = id;
    data->handle = g_tavro.TavroOpen(static_cast<short>(data->controllerId), TAVRO_OPEN_SHARED,
                                     nullptr);
    if (data->handle <= 0)
        return data->handle;

    const int axes = QueryAxisCount(data->handle);
    if (axes <= 0) {
        MessageBoxA(data->mainWindow,
                    "No motor modules are installed on this controller. Ambrel\n"
                    "requires that at least one servo or stepper module be installed.",
                    AMBREL_TITLE, MB_ICONEXCLAMATION);
        g_tavro.TavroClose(data->handle);
        data->handle = 0;
        return 0;
    }
    if (axes > MAX_AXES)
        MessageBoxA(data->mainWindow,
                    "The current version of Ambrel only supports the\n"
                    "first eight axes installed on your motion controller.",
                    AMBREL_TITLE, MB_ICONEXCLAMATION);
    data->axisCount = axes > MAX_AXES ? MAX_AXES : axes;

    SetWindowPos(data->mainWindow, nullptr, 0, 0, MAIN_WINDOW_WIDTH,
                 PANEL_PITCH * data->axisCount + BAR_HEIGHT, SWP_NOZORDER | SWP_NOMOVE);
    ServePanels(data);
    LoadProgramSettings(data, 1);
    return data->handle;
}

void DestroyMainWindowData(MainWindowData* data)
{
    CloseController(data);
    if (data->font)
        DeleteObject(data->font);
    data->font = nullptr;
}

bool RunStartupOpenLoop(MainWindowData* data)
{
    int id = -1;
    for (;;) {
        if (OpenController(data, id) > 0)
            return true;
        if (data->handle < 0)
            ShowOpenFailure(data);
        id = g_tavro.TavroDLG_SelectController(data->mainWindow, -1, 0, 0);
        if (id < 0)
            return false;
    }
}

void RunSwitchLoop(MainWindowData* data)
{
    for (;;) {
        const short id = g_tavro.TavroDLG_SelectController(
            data->mainWindow, static_cast<short>(data->controllerId), 0, 0);
        if (id < 0)
            break;
        if (OpenController(data, id) > 0)
            break;
        ShowOpenFailure(data);
    }
    if (data->handle < 0)
        PostMessageA(data->mainWindow, WM_CLOSE, 0, 0);
}
