// The plot window's record and the routines that work on it inside the library.
#ifndef DREVALON_VISTREL_PLOT_WINDOW_H
#define DREVALON_VISTREL_PLOT_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

#include "vistrel.h"

// Room for one tick label, terminator included.
const int TICK_TEXT_SIZE = 24;

// State of one plot window, owned by the window (GWLP_USERDATA).
struct PlotWindowData {
    COLORREF backColor;
    int colorStyle;
    std::string traceLabels[PLOT_TRACE_COUNT];
    std::vector<double> traceSamples[PLOT_TRACE_COUNT];
    int flags;
    COLORREF gridColor;
    int lineStyles[PLOT_TRACE_COUNT];
    COLORREF lineColors[PLOT_TRACE_COUNT];
    COLORREF marginColor;
    COLORREF textColor;
    int xDivisions;
    int yDivisions;
    std::string xFormat;
    std::string yFormat;
    std::string xTitle;
    std::string yTitle;
    double xMin;
    double yMin;
    double xMax;
    double yMax;
    double logicalWidth;
    double logicalHeight;
};

enum PaintMode { PAINT_SCREEN, PAINT_PRINT };

// The window's record, null before WM_CREATE and after WM_DESTROY.
PlotWindowData* PlotDataOf(HWND window);

// Gives a new record the values of a new window.
void InitPlotWindowData(PlotWindowData* data);

// Releases what the record holds (texts and samples).
void DestroyPlotWindowData(PlotWindowData* data);

LRESULT CALLBACK PlotWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the window's plot on `dc`; print mode uses the caller's mapping.
void PaintPlot(HWND window, HDC dc, PaintMode mode);

// Label `index` of an axis from `min` to `max` in `divisions` steps, formatted
// into `buffer` with `format` when that is a short format of exactly one
// double, else with "%lg".
void FormatTickLabel(char (&buffer)[TICK_TEXT_SIZE], const std::string& format, double min,
                     double max, int divisions, int index);

#endif
