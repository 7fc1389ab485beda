// Printing the step-response page: title, plots, test parameters, axis
// configuration and footer.
#ifndef QUORISK_PRINTING_H
#define QUORISK_PRINTING_H

#include <windows.h>

struct TuningWindowData;

// Asks for a printer and prints the page. 0 when printed or when the printer
// choice was cancelled, else the system error code of the failing call.
int PrintStepResponse(HWND mainWindow);

// The whole page into `dc` (its HORZRES x VERTRES): texts, then each plot
// window drawn into its band. Leaves the DC in MM_ANISOTROPIC.
void RenderStepResponsePage(HDC dc, TuningWindowData* data);

// Title, both text columns and the footer.
void DrawPrintPage(HDC dc, TuningWindowData* data);

BOOL CALLBACK PrintAbortProc(HDC dc, int error);
INT_PTR CALLBACK PrintCancelDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
