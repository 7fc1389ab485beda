// The tab pages of analog channels and the page window that shows one.
#ifndef PELLOVIN_PAGE_WINDOW_H
#define PELLOVIN_PAGE_WINDOW_H

#include <windows.h>

// Replaces all pages with new ones for the open controller and selects
// `requestedTab` (the first tab when there is no such page).
void BuildPages(HWND mainWindow, int requestedTab);

// Deletes all pages, their records and windows, and all tabs.
void DestroyPages(HWND mainWindow);

// With no controller open: every readout empty, every Setup and reference
// button and module-type list disabled; the pages stay on screen.
void ShowPagesInert(HWND mainWindow);

// Window procedure of the page class; the create parameter is the page's
// ChannelGroup, borrowed.
LRESULT CALLBACK DisplayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
