// Sorvik's main window: tab control, page window, menu commands, start-up
// and closing.
#ifndef SORVIK_MAIN_WINDOW_H
#define SORVIK_MAIN_WINDOW_H

#include <windows.h>

extern const char kMainWindowClass[];

BOOL RegisterWindowClasses(HINSTANCE instance);
// The shown main window with its controller open, or null when start-up is
// abandoned. `commandLine` is cut into words in place.
HWND CreateMainWindow(HINSTANCE instance, int showCommand, char* commandLine);
HWND CreateTabControl(HWND mainWindow);
// Number and labels of the tabs and the View menu after the open controller.
void UpdateTabLabels(HWND mainWindow);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
