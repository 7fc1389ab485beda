// The channel set-up dialogs and the reference voltage dialog of a page.
#ifndef PELLOVIN_SETUP_DIALOGS_H
#define PELLOVIN_SETUP_DIALOGS_H

#include <windows.h>

class AnalogChannel;

// Each ends with 1 when it changed its record, 0 otherwise. The parameter is
// the AnalogChannel (set-up dialogs) or the ChannelGroup (reference dialog).
INT_PTR CALLBACK InputSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK OutputSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ReferenceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills and enables the input dialog's controls for display mode `mode`.
void InitInputSetupDlg(HWND dialog, int mode, const AnalogChannel* channel);
// Fills and enables the output dialog's controls for the channel's mode.
void InitOutputSetupDlg(HWND dialog, const AnalogChannel* channel);

#endif
