// The channel page window: the 16 channels of the current page, their
// polling and the per-channel commands.
#ifndef SORVIK_PAGE_WINDOW_H
#define SORVIK_PAGE_WINDOW_H

#include <windows.h>

#include "digital_app_data.h"

extern const char kPageWindowClass[];

enum {
    CHANNELS_PER_PAGE = 16,
    MAX_PAGES = 9,           // room of the tab labels and the channel state
    PAGE_TIMER = 1000,
};

// What the panel remembers of each channel, [page][position], 0 or 1.
struct ChannelState {
    int outputOn[MAX_PAGES][CHANNELS_PER_PAGE];
    int latchOn[MAX_PAGES][CHANNELS_PER_PAGE];
    int positive[MAX_PAGES][CHANNELS_PER_PAGE];
    int isOutput[MAX_PAGES][CHANNELS_PER_PAGE];
};

LRESULT CALLBACK DisplayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Pages the panel shows: whole pages of the controller, at least one (a
// controller with fewer than 16 channels shows its channels on one page) and
// at most MAX_PAGES.
int PanelPageCount(const AppData* app);

// (Re)starts the poll timer at the period of the open controller's type;
// with no controller open the timer stops.
void StartPollTimer(HWND pageWindow);
// Shows the current page; with no controller open its channels are inert.
void RedrawPage(HWND pageWindow);
void ResetChannelState(HWND pageWindow);
// Direction and polarity of every channel from the controller; with
// `latches`, each input's latch as well.
void LoadChannelState(HWND pageWindow, bool latches = false);

#endif
