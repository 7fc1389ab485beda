// The control panel at the left of the main window: axis and position,
// motor and trajectory generator switches, the test commands and the gain
// sliders.
#ifndef QUORISK_CONTROL_PANEL_H
#define QUORISK_CONTROL_PANEL_H

#include <windows.h>

#define PANEL_WINDOW_CLASS "CPanelClass"

LRESULT CALLBACK PanelWndProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the current axis's operating mode from the live Trajectory flag and
// puts the trajectory buttons and lamp in line with it.
void UpdatePanelState(HWND panel);

#endif
