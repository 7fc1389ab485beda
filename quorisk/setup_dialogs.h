// The "Test Setup" property sheet (motion, plot and axis information pages)
// and the "PID Setup" dialog of the gain slider limits.
#ifndef QUORISK_SETUP_DIALOGS_H
#define QUORISK_SETUP_DIALOGS_H

#include <windows.h>

#include <cstddef>

// Runs the sheet over the main window; PropertySheetA's result.
int ShowTestSetup(HWND mainWindow);

// Page procedures; each page's lParam is the main window's record.
INT_PTR CALLBACK MotionSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PlotSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AxisInfoPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// "PanelSetupDialog": the caller sets sliderSetupMask of the record, then runs
// DialogBoxParamA with the record as init parameter. Ends with 1 when the
// limits were stored, else 0.
INT_PTR CALLBACK PidSliderSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Percent text of the slider labels: "5.00%", " 10%", "100%". Returns the
// length written (as snprintf).
int FormatPercent(char* buffer, size_t size, double value);

#endif
