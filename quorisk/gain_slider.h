// The P, I and D gain sliders of the control panel: a vertical trackbar over
// a zoomable span of the gain's full scale, writing the gain live.
#ifndef QUORISK_GAIN_SLIDER_H
#define QUORISK_GAIN_SLIDER_H

#include <windows.h>

struct GainSlider;
struct TuningWindowData;

#define SLIDER_WINDOW_CLASS "SliderWindowClass"

// Re-read the gain from the controller. Result 1 when the span was reset.
#define SLM_RELOADGAIN (WM_USER + 1)
// Set the gain to the percent at lParam (a const double*). Result as above.
#define SLM_SETPERCENT (WM_USER + 2)

// Gain bits of the sliders (sliderSetupMask).
enum { GAIN_BIT_P = 1, GAIN_BIT_I = 2, GAIN_BIT_D = 4 };

// Creation parameter of a slider window.
struct SliderCreateBlock {
    GainSlider* gain;
    int gainBit;
    TuningWindowData* data;
};

LRESULT CALLBACK SliderWndProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam);

// The three gain access functions (see GainAccessFunction): the gain as read
// before any write. The integral and derivative gains live in the filter
// record, which is written back only when it could be read.
double AccessProportionalGain(short controller, short axis, short partner, const double* newGain);
double AccessIntegralGain(short controller, short axis, short partner, const double* newGain);
double AccessDerivativeGain(short controller, short axis, short partner, const double* newGain);

// Sends SLM_RELOADGAIN to the P, I and D sliders of the panel, in that order.
void ReloadSliders(HWND panel);

#endif
