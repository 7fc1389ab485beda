#include "printing.h"

#include "tuning_data.h"

int PrintStepResponse(HWND) { return 0; }
void RenderStepResponsePage(HDC, TuningWindowData*) {}
void DrawPrintPage(HDC, TuningWindowData*) {}
BOOL CALLBACK PrintAbortProc(HDC, int) { return TRUE; }
INT_PTR CALLBACK PrintCancelDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
