#include "setup_dialogs.h"

#include <cstdio>

#include "tuning_data.h"

int ShowTestSetup(HWND) { return 0; }
INT_PTR CALLBACK MotionSettingsPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK PlotSettingsPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK AxisInfoPageProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR CALLBACK PidSliderSetupDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

int FormatPercent(char* buffer, size_t size, double value)
{
    return snprintf(buffer, size, value < 10.0 ? "%3.2f%%" : "%3.0f%%", value);
}
