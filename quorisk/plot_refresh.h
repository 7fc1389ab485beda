// Loading the current axis's series into the five plot windows, and the
// rounding of a plot window's y range to readable values.
#ifndef QUORISK_PLOT_REFRESH_H
#define QUORISK_PLOT_REFRESH_H

#include <windows.h>

struct TuningWindowData;

// Trace numbers, the same in every plot window.
enum {
    TRACE_ACTUAL = 0,
    TRACE_OPTIMAL = 1,
    TRACE_ERROR = 2,
    TRACE_TORQUE = 3,
    TRACE_AUXILIARY = 5,
    TRACE_TARGET = 6,
};

// Clears every trace of the five windows and resets their y format.
void ResetPlotFormats(TuningWindowData* data);

// Reloads all plot windows from the record of `mainWindow`.
void RefreshPlots(HWND mainWindow);

// Rounds the window's y range outwards to the autoscale table; symmetric
// makes it -m..m.
void AutoscalePlotY(HWND plot, bool symmetric);

#endif
