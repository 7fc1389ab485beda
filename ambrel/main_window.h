// Ambrel's main window, its record and the routines that work on it.
#ifndef AMBREL_MAIN_WINDOW_H
#define AMBREL_MAIN_WINDOW_H

#include <windows.h>

#define MAIN_WINDOW_CLASS "Ambrel"
#define AMBREL_TITLE "Ambrel"
#define AMBREL_HELP_FILE "ambrel.hlp"

enum { MAX_AXES = 8, POLL_TIMER = 3, POLL_PERIOD_MS = 110 };
enum { MAIN_WINDOW_WIDTH = 750 };
// Height of one axis row; the window is this times the shown axes plus the bar.
enum { PANEL_PITCH = 58, BAR_HEIGHT = 130 };
// Flag value the dialog library's axis operations always get from Ambrel.
enum : long { AXIS_DIALOG_FLAGS = 0x801 };

struct MainWindowData {
    int autoInit;           // "Always Initialize All Axes"
    int cycleMode;          // 0 point to point, 1 cycle
    int cycleDirection;     // +1/-1 while a cycle runs, else 0
    short handle;           // > 0 open, 0 none, < 0 failed open
    HFONT font;
    HWND mainWindow;
    HWND panels[MAX_AXES];
    int axisCount;          // shown axes
    int controllerId;
    int motorsOnCount;      // motor-on sum of the previous tick
    int stopWarn;           // show the Stop Warning
};

void InitMainWindowData(MainWindowData* data, HWND mainWindow);

ATOM RegisterWindowClasses(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sends a message to the panels of the shown axes, in axis order.
void BroadcastToPanels(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam);

// Controller open, switch and close.
short OpenController(MainWindowData* data, int id);
void CloseController(MainWindowData* data);
void DestroyMainWindowData(MainWindowData* data);
bool RunStartupOpenLoop(MainWindowData* data);
void RunSwitchLoop(MainWindowData* data);

// Registry settings.
void LoadProgramSettings(MainWindowData* data, int perAxisOnly);
void SaveProgramSettings(MainWindowData* data);

#define AMBREL_REGISTRY_KEY "Software\\Korvane\\Drevalon\\Ambrel"

#endif
