// The six-page wizard that walks the user through adjusting an analog
// output's offset and gain pots with a volt meter.
#ifndef PELLOVIN_CALIBRATION_WIZARD_H
#define PELLOVIN_CALIBRATION_WIZARD_H

#include <windows.h>

class AnalogChannel;

// Shows the wizard modally over `owner` (the set-up dialog that started it,
// which stays disabled meanwhile) and returns when it closes.
void RunCalibrationWizard(HINSTANCE instance, AnalogChannel* channel, HWND owner);

// Draws the offset pot, pin, gain pot and meter lead markers of the channel's
// row of the module diagram, except entry `skipped` (4 skips none).
void DrawCalMarkers(HWND page, HDC dc, int channelNumber, int skipped);

INT_PTR CALLBACK CalWizardIntroProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalWizardStep1Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalWizardStep2Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalWizardStep3Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalWizardStep4Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK CalWizardFinishProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
