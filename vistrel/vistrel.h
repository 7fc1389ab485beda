// Plot window library: the "PlotWindowClass" window, its message protocol and
// the four functions the library exports (imported by ordinal, see vistrel_import).
#ifndef DREVALON_VISTREL_H
#define DREVALON_VISTREL_H

#include <windows.h>

#ifdef VISTREL_BUILDING
#define VISTREL_API
#else
#define VISTREL_API __declspec(dllimport)
#endif

#define PLOT_WINDOW_CLASS "PlotWindowClass"

// Traces are numbered 0 .. PLOT_TRACE_COUNT - 1.
#define PLOT_TRACE_COUNT 8

// Grid divisions each way: 1 .. PLOT_MAX_DIVISIONS.
#define PLOT_MAX_DIVISIONS 1000

// A plot draws into a window extent of this many logical units each way; a
// printing caller sizes the font it selects for the plot in these units.
#define PLOT_LOGICAL_EXTENT 32767

// Flags (PLM_SETFLAGS / PLM_GETFLAGS).
#define PLF_NOGRID     0x0001
#define PLF_NOZEROLINE 0x0002

// Plot messages. Texts and doubles travel by pointer and are copied before the
// message returns. A trace outside 0..7, a null pointer where data is needed or
// a division count outside 1..PLOT_MAX_DIVISIONS is refused and changes
// nothing; the result is -1 for getters of a trace's colour or style and for
// trace data, colour and style setters, and the message's usual result otherwise.
#define PLM_EXTENDYRANGE   0x3D00  // wParam count, lParam const double*; 1 when a bound moved
#define PLM_CLEARTRACE     0x3D01  // wParam nonzero = invalidate; lParam trace or -1 for all
#define PLM_SETTRACEDATA   0x3D02  // wParam MAKEWPARAM(trace, count), lParam const double*
#define PLM_GETBACKCOLOR   0x3D03
#define PLM_GETCOLORSTYLE  0x3D04
#define PLM_GETFLAGS       0x3D06
#define PLM_GETGRIDCOLOR   0x3D07
#define PLM_GETLINECOLOR   0x3D08  // wParam trace
#define PLM_GETLINESTYLE   0x3D09  // wParam trace
#define PLM_GETMARGINCOLOR 0x3D0A
#define PLM_GETTEXTCOLOR   0x3D0B
#define PLM_GETXDIVISIONS  0x3D0C
#define PLM_GETXMIN        0x3D0D  // lParam double* receiving the value
#define PLM_GETXMAX        0x3D0E
#define PLM_GETYDIVISIONS  0x3D0F
#define PLM_GETYMIN        0x3D10
#define PLM_GETYMAX        0x3D11
#define PLM_SETBACKCOLOR   0x3D12  // lParam colour; result the previous colour
#define PLM_SETCOLORSTYLE  0x3D13  // lParam style 0..4, or -1 for single colours
#define PLM_SETTRACELABEL  0x3D14  // wParam trace, lParam const char*
#define PLM_SETFLAGS       0x3D15
#define PLM_SETGRIDCOLOR   0x3D16
#define PLM_SETLINECOLOR   0x3D17  // wParam trace, lParam colour; result the previous colour
#define PLM_SETLINESTYLE   0x3D18  // wParam trace, lParam GDI pen style; result the previous style
#define PLM_SETMARGINCOLOR 0x3D19
#define PLM_SETTEXTCOLOR   0x3D1A
#define PLM_SETXDIVISIONS  0x3D1B  // lParam count, 1..PLOT_MAX_DIVISIONS
#define PLM_SETXFORMAT     0x3D1C  // lParam const char*: printf format of one double ("%lg" is
                                   // used instead of any other, or of one whose width or
                                   // precision has more than three digits)
#define PLM_SETXTITLE      0x3D1D  // lParam const char*
#define PLM_SETXMIN        0x3D1E  // lParam const double*
#define PLM_SETXMAX        0x3D1F
#define PLM_SETYDIVISIONS  0x3D20
#define PLM_SETYFORMAT     0x3D21
#define PLM_SETYTITLE      0x3D22
#define PLM_SETYMIN        0x3D23
#define PLM_SETYMAX        0x3D24
#define PLM_REDRAW         0x3D25  // invalidates the window without erasing

#ifdef __cplusplus
extern "C" {
#endif

// Ordinal 1. Modal "Color Setup" dialog over `count` plot windows; the first
// window gives the starting colours. 1 after OK, 0 after Cancel, -1 when the
// dialog cannot be shown (also when `plots` is null or `count` below 1).
VISTREL_API INT_PTR WINAPI LumoConfigure(HWND owner, HWND* plots, int count, LONG_PTR reserved,
                                         int reserved2);

// Ordinal 2. Registers "PlotWindowClass" under `instance`; the class atom, or 0.
VISTREL_API ATOM WINAPI LumoInitialize(HINSTANCE instance);

// Ordinal 3. Applies the colours, styles and flags stored under key\subKey;
// FALSE when the subkey cannot be opened.
VISTREL_API BOOL WINAPI LumoRestoreSettings(HWND plot, HKEY key, const char* subKey);

// Ordinal 4. Stores the window's colours, styles and flags under key\subKey;
// FALSE when the subkey cannot be created.
VISTREL_API BOOL WINAPI LumoSaveSettings(HWND plot, HKEY key, const char* subKey);

#ifdef __cplusplus
}
#endif

#endif
