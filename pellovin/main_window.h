// Pellovin's main window: the tab control, the menu commands, controller
// switching and closing.
#ifndef PELLOVIN_MAIN_WINDOW_H
#define PELLOVIN_MAIN_WINDOW_H

#include <windows.h>

class AppData;

// Posted by a page window after the user chose a module type: wParam the
// page's tab index.
#define APM_MODULECHANGED (WM_APP + 1)

extern const char kMainClassName[];   // "AnalogTestPanel"
extern const char kPageClassName[];   // "DisplayWindowClass"

// Registers the main and page window classes; nonzero on success.
BOOL RegisterWindowClasses(HINSTANCE instance);

// Binds the controller libraries, creates the main window, reads the command
// line and opens a controller with analog channels. Null when start-up is
// abandoned (nothing is then left open or on screen).
HWND CreateMainWindow(HINSTANCE instance, int showCommand, const char* commandLine);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The main window's record, or null.
AppData* GetAppData(HWND mainWindow);

// Every output of every page to converter count 2048.
void SetDefaultOutputs(HWND mainWindow);

// Every channel and group of every page into drevalon.ini.
void SaveAllChannels(HWND mainWindow);

#endif
