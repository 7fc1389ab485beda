// Reset, first-run store, restore and refresh of the digital I/O configuration.
#include "configuration.h"

#include <commctrl.h>
#include <cstdio>

#include "digital_app_data.h"
#include "main_window.h"
#include "page_window.h"
#include "resource.h"
#include "tavro_binding.h"

namespace {

const int kSlowControllerType = 5;
const unsigned short kPowerOnMode = TAVRO_DIO_MODE_INPUT | TAVRO_DIO_MODE_HIGH;
const int kNothingStored = -1;

AppData* GetAppData(HWND mainWindow)
{
    return reinterpret_cast<AppData*>(GetWindowLongPtrA(mainWindow, GWLP_USERDATA));
}

// Direction and polarity of every shown channel from the controller; with
// `latches`, the latches too.
void ReloadChannelState(HWND mainWindow, bool latches)
{
    HWND pageWindow = GetDlgItem(mainWindow, IDC_PAGE_WINDOW);
    ResetChannelState(pageWindow);
    LoadChannelState(pageWindow, latches);
}

} // namespace

void ResetAllChannels(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app || app->Handle() <= 0 || app->ControllerType() == kSlowControllerType)
        return;
    for (int channel = 1; channel <= app->DigitalChannelCount(); ++channel) {
        g_tavro.TavroConfigureDigitalIO(app->Handle(), static_cast<short>(channel), kPowerOnMode);
        SaveOnFirstRun(mainWindow);
    }
}

int SaveOnFirstRun(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    char key[64];
    snprintf(key, sizeof key, "Controller #%d Has Run", static_cast<int>(app->ControllerID()));
    const int marker = GetPrivateProfileIntA(kDigitalPanelSection, key, 0, app->IniPath());
    if (marker != 0)
        return marker;
    // Without the marker every start would store again, over a saved configuration.
    if (!WritePrivateProfileStringA(kDigitalPanelSection, key, "1", app->IniPath()))
        return kNothingStored;
    return g_tavro.TavroDLG_SaveDigitalIO(app->Handle(), 0, 0, nullptr);
}

void RestoreConfiguration(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app || app->Handle() <= 0)
        return;
    g_tavro.TavroDLG_RestoreDigitalIO(app->Handle(), 0, 0, nullptr);
    UpdateTabLabels(mainWindow);
    // A restore that was refused, or found nothing stored, leaves latches on.
    ReloadChannelState(mainWindow, true);
    // The current page stays, as long as the controller has it.
    if (app->currentPage < 0 || app->currentPage >= PanelPageCount(app))
        app->currentPage = 0;
    SendDlgItemMessageA(mainWindow, IDC_TAB_CONTROL, TCM_SETCURSEL, app->currentPage, 0);
    RedrawPage(GetDlgItem(mainWindow, IDC_PAGE_WINDOW));
}

void RefreshPanel(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app || app->Handle() <= 0)
        return;
    UpdateTabLabels(mainWindow);
    ReloadChannelState(mainWindow, false);
    SendDlgItemMessageA(mainWindow, IDC_TAB_CONTROL, TCM_SETCURSEL, 0, 0);
    app->currentPage = 0;
    RedrawPage(GetDlgItem(mainWindow, IDC_PAGE_WINDOW));
}
