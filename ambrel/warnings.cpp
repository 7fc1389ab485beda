// The Stop Warning and the Velocity Control Warning, each with a check box
// that turns it off.
#include "warnings.h"

#include "axis_panel.h"
#include "help.h"
#include "resource.h"

#include <cstdio>

namespace {

HINSTANCE InstanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

// Flips the "do not show" box; true when it is now ticked.
bool ToggleDontShow(HWND dialog)
{
    const bool ticked = IsDlgButtonChecked(dialog, IDC_DONT_SHOW) != BST_CHECKED;
    CheckDlgButton(dialog, IDC_DONT_SHOW, ticked ? BST_CHECKED : BST_UNCHECKED);
    return ticked;
}

void OnStopWarnCommand(HWND dialog, int id)
{
    auto* data = reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (id) {
    case IDOK: EndDialog(dialog, 1); break;
    case IDC_WARN_HELP:
        ShowHelp(dialog, AMBREL_HELP_FILE, HELP_KEY, reinterpret_cast<ULONG_PTR>("stop button"));
        break;
    case IDC_DONT_SHOW: {
        const bool ticked = ToggleDontShow(dialog);
        if (data)
            data->stopWarn = ticked ? 0 : 1;
        break;
    }
    default: break; // Esc and the close box leave it open
    }
}

void OnVelocityWarnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL: EndDialog(dialog, 1); break;
    case IDC_WARN_HELP:
        ShowHelp(dialog, AMBREL_HELP_FILE, HELP_KEY,
                 reinterpret_cast<ULONG_PTR>("velocity control"));
        break;
    case IDC_DONT_SHOW: SetVelocityWarn(ToggleDontShow(dialog) ? 0 : 1); break;
    default: break;
    }
}

} // namespace

void ShowStopWarning(MainWindowData* data)
{
    DialogBoxParamA(InstanceOf(data->mainWindow), "StopWarnDlg", data->mainWindow, StopWarnDlgProc,
                    reinterpret_cast<LPARAM>(data));
}

void ShowVelocityWarning(HWND panel, int axis)
{
    DialogBoxParamA(InstanceOf(panel), "VelocityWarnDlg", panel, VelocityWarnDlgProc, axis);
}

INT_PTR CALLBACK StopWarnDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND: OnStopWarnCommand(dialog, LOWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK VelocityWarnDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        char caption[64];
        snprintf(caption, sizeof caption, "Axis %d - Velocity Control Warning",
                 static_cast<int>(lParam));
        SetWindowTextA(dialog, caption);
        return TRUE;
    }
    case WM_COMMAND: OnVelocityWarnCommand(dialog, LOWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}
