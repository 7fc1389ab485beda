// The axis panel: one child window per shown axis, with its private messages.
#ifndef AMBREL_AXIS_PANEL_H
#define AMBREL_AXIS_PANEL_H

#include <windows.h>

#define AXIS_PANEL_CLASS "AxisPanel"

// Messages the main window sends to a panel.
enum : UINT {
    AXM_ABORT = 0xA000,
    AXM_ACTIVATE = 0xA001,       // wParam 1 activate, 0 deactivate; lParam: may warn
    AXM_SETCYCLE = 0xA002,       // wParam 1 cycle, 0 point to point
    AXM_REFRESH = 0xA003,
    AXM_GETVELWARN = 0xA004,
    AXM_SETCONTROLLER = 0xA005,  // wParam: handle in the low 16 bits
    AXM_HOME = 0xA006,
    AXM_MOVE = 0xA007,           // wParam 1 plus, 0 minus
    AXM_ENABLEMOTOR = 0xA008,    // wParam 1 on, 0 off
    AXM_LOADSETTINGS = 0xA009,   // lParam: open controller key
    AXM_SAVESETTINGS = 0xA010,   // lParam: open controller key
    AXM_SETVELWARN = 0xA011,     // lParam: the flag
    AXM_STOP = 0xA012,
    AXM_POLL = 0xA013,           // result: motor on (0 for a disabled axis)
    AXM_ZERO = 0xA014,
};

// Panel size inside the main window.
enum { AXIS_PANEL_WIDTH = 726, AXIS_PANEL_HEIGHT = 54 };
// The velocity slider runs from 0 to this percentage.
enum { VELOCITY_SLIDER_MAX = 150 };

struct AxisPanelData {
    short handle;          // controller handle; 0 when none
    int axis;              // 1..8
    int overrideState;     // -1 never activated, 1 usable, 0 off or not usable
    int cycleMode;
    int enabled;           // takes part in the bar's commands
    HWND panelWindow;
    int decimals;          // digits after the point of the position readout
    DWORD lastStatus;
    int stopPending;
    double velocity100;    // the velocity 100 % of the slider stands for
};

LRESULT CALLBACK AxisPanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The velocity warning flag, shared by every panel and the warning dialog.
int GetVelocityWarn();
void SetVelocityWarn(int flag);

// Per-axis registry values under an open controller key.
void LoadAxisSettings(AxisPanelData* data, HKEY controllerKey);
void SaveAxisSettings(AxisPanelData* data, HKEY controllerKey);

// Digits after the point for a position scale value; 0 for values that give
// none (or no sensible) count.
int ReadoutDecimals(double scale);

#endif
