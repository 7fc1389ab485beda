// Operations on the controller's whole digital I/O configuration: reset,
// first-run store, restore and refresh of the panel.
#ifndef SORVIK_CONFIGURATION_H
#define SORVIK_CONFIGURATION_H

#include <windows.h>

// Every channel to its power-on state (not on controller type 5).
void ResetAllChannels(HWND mainWindow);
// Stores the configuration the first time a controller id is met.
int SaveOnFirstRun(HWND mainWindow);
// Restores the stored configuration and redraws the current page.
void RestoreConfiguration(HWND mainWindow);
// Rebuilds the panel from the controller and shows the first page.
void RefreshPanel(HWND mainWindow);

#endif
