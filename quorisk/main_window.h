// The tuning program's main window: five plot windows and the control panel,
// the readout timer, the menu commands and the shut-down.
#ifndef QUORISK_MAIN_WINDOW_H
#define QUORISK_MAIN_WINDOW_H

#include <windows.h>

#define MAIN_WINDOW_CLASS "Servo Tuning"
#define PROGRAM_TITLE "Servo Tuning"
#define HELP_FILE_NAME "tuning.hlp"

// Readout timer of the main window.
#define READOUT_TIMER 50
#define READOUT_PERIOD_MS 110

// Option values that were not given on the command line.
#define AXIS_NOT_GIVEN 0
#define BOARD_NOT_GIVEN 0x8000

// Registers the slider, panel and main window classes. The atom of the last
// class, or 0 as soon as one registration fails.
ATOM RegisterWindowClasses(HINSTANCE instance);

// Start-up from the plot library to the running timer: the main window, or
// null when start-up fails.
HWND CreateMainWindow(HINSTANCE instance, int showCommand, const char* commandLine);

// The -a and -b options: axis in the low 16 bits, board in the high 16 bits
// (AXIS_NOT_GIVEN and BOARD_NOT_GIVEN when absent).
unsigned ParseTuningOptions(const char* commandLine);

// The part of start-up after the libraries are bound: main window, control
// panel, sliders and readout timer. The main window, or null.
HWND StartMainWindow(HINSTANCE instance, int showCommand, unsigned options);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Grid divisions of a plot window from its size.
void SetPlotGridDivisions(HWND plot, int width, int height);

// Lays the main window's children out again for its present client size.
void RelayoutMainWindow(HWND mainWindow);

#endif
