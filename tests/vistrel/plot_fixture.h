// Plot windows for tests, and what a print of one recorded into a metafile.
#ifndef DREVALON_TESTS_PLOT_FIXTURE_H
#define DREVALON_TESTS_PLOT_FIXTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include "vistrel/vistrel.h"

// Registers the class (once per process) and makes a plot window with the
// given client size; a visible one is shown as a top-level popup at (0, 0).
HWND MakePlot(int width = 600, int height = 400, bool visible = false);

double GetDouble(HWND plot, UINT message);
void SetDouble(HWND plot, UINT message, double value);
void SetText(HWND plot, UINT message, const char* text, WPARAM trace = 0);
void SetTrace(HWND plot, int trace, const std::vector<double>& samples);

struct DrawnLine {
    POINT from, to;
    int penStyle, penWidth;
    COLORREF penColor;
};

struct DrawnText {
    POINT at;
    std::string text;
    COLORREF color;
    UINT align;
};

struct Drawing {
    std::vector<DrawnLine> lines;
    std::vector<DrawnText> texts;
    std::vector<LOGFONTW> fonts;

    std::vector<DrawnLine> LinesOf(int penStyle, int penWidth) const;
    const DrawnText* FindText(const std::string& text) const;
};

// Sends WM_PRINTCLIENT with a metafile DC mapped the way a printing caller
// maps it (y up, 600 x 400 device units) and lists what was drawn.
Drawing RecordPrint(HWND plot);

#endif
