// The Stop Warning and the Velocity Control Warning.
#ifndef AMBREL_WARNINGS_H
#define AMBREL_WARNINGS_H

#include "main_window.h"

void ShowStopWarning(MainWindowData* data);
void ShowVelocityWarning(HWND panel, int axis);

INT_PTR CALLBACK StopWarnDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK VelocityWarnDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
