// The "Color Setup" dialog over a set of plot windows, and the colour chooser it uses.
#include <windows.h>
#include <commdlg.h>

#include "library.h"
#include "plot_window.h"
#include "resource.h"
#include "window_utils.h"

namespace {

// What the dialog edits; lives in LumoConfigure while the dialog runs.
struct ColorSetupParams {
    HWND* plots;
    int count;
    LONG_PTR reserved;
    int reserved2;
    int style;
    COLORREF backColor;
    COLORREF gridColor;
    COLORREF lineColors[PLOT_TRACE_COUNT];
    COLORREF marginColor;
    COLORREF textColor;
};

struct ColorScheme {
    const char* name;
    COLORREF grid;
    COLORREF margin;
    COLORREF back;
    COLORREF text;
    COLORREF lines[PLOT_TRACE_COUNT];
};

const ColorScheme kSchemes[] = {
    {"Default", 0x02008020, 0x02002000, 0x02002000, 0x02008020,
     {0x02ff8000, 0x0200c0c0, 0x020000ff, 0x0200ff00, 0x02ff00ff, 0x02ffff00, 0x02808080, 0x0200ffff}},
    {"Windows", 0x02000000, 0x02ffffff, 0x02ffffff, 0x02000000,
     {0x02ff0000, 0x02008080, 0x020000ff, 0x02008000, 0x02ff00ff, 0x02ffff00, 0x02808080, 0x0200ffff}},
    {"Ocean", 0x02800000, 0x02e08000, 0x02e0e0c0, 0x02e0e0c0,
     {0x02c00000, 0x02008080, 0x020000ff, 0x02008000, 0x02ff00ff, 0x02ffff00, 0x02808080, 0x0200ffff}},
    {"Cream", 0x02004080, 0x0293c9d7, 0x02c0f0ff, 0x02004080,
     {0x02c00000, 0x02008000, 0x020000ff, 0x02800080, 0x02ff00ff, 0x02ffff00, 0x02808080, 0x0200ffff}},
    {"Rugby", 0x02000080, 0x02ff4f4f, 0x02c0f0ff, 0x02c0f0ff,
     {0x02800000, 0x02008000, 0x02000080, 0x02800080, 0x02ff00ff, 0x02ffff00, 0x02808080, 0x0200ffff}},
};
const int kSchemeCount = sizeof kSchemes / sizeof kSchemes[0];

// Module-level state of the one modal dialog that can run at a time: its
// parameter block, the count of changes since the last Apply, and the
// chooser's custom colours (kept for the life of the library).
ColorSetupParams* g_params = nullptr;
int g_changes = 0;
COLORREF g_sharedCustomColors[16];

void EnableItem(HWND dialog, int id, bool enable)
{
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

// Scheme list for style >= 0, single colour buttons otherwise.
void EnableStyleControls(HWND dialog, bool useStyle)
{
    EnableItem(dialog, IDC_STYLE_LIST, useStyle);
    EnableItem(dialog, IDC_STYLE_LABEL, useStyle);
    for (int id = IDC_GRID_COLOR; id <= IDC_PLOT4_COLOR; ++id)
        EnableItem(dialog, id, !useStyle);
}

bool ChooseColorFor(HWND dialog, COLORREF* color)
{
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialog;
    choose.rgbResult = *color;
    choose.lpCustColors = g_sharedCustomColors;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choose))
        return false;
    *color = choose.rgbResult;
    return true;
}

COLORREF SendGet(HWND plot, UINT message, WPARAM wParam = 0)
{
    return static_cast<COLORREF>(SendMessageA(plot, message, wParam, 0));
}

BOOL OnInitDialog(HWND dialog, LPARAM lParam)
{
    g_params = reinterpret_cast<ColorSetupParams*>(lParam);
    g_changes = 0;
    HWND first = g_params->plots[0];
    int style = static_cast<int>(SendMessageA(first, PLM_GETCOLORSTYLE, 0, 0));
    g_params->style = style;
    CheckDlgButton(dialog, style < 0 ? IDC_SELECT_COLORS : IDC_USE_STYLE, BST_CHECKED);
    EnableStyleControls(dialog, style >= 0);
    for (const ColorScheme& scheme : kSchemes)
        SendDlgItemMessageA(dialog, IDC_STYLE_LIST, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(scheme.name));
    SendDlgItemMessageA(dialog, IDC_STYLE_LIST, CB_SETCURSEL, static_cast<WPARAM>(style), 0);
    g_params->backColor = SendGet(first, PLM_GETBACKCOLOR);
    g_params->gridColor = SendGet(first, PLM_GETGRIDCOLOR);
    g_params->marginColor = SendGet(first, PLM_GETMARGINCOLOR);
    g_params->textColor = SendGet(first, PLM_GETTEXTCOLOR);
    for (int trace = 0; trace < PLOT_TRACE_COUNT; ++trace)
        g_params->lineColors[trace] = SendGet(first, PLM_GETLINECOLOR, trace);
    CenterWindow(dialog);
    return TRUE;
}

void OnApply(HWND dialog)
{
    for (int i = 0; i < g_params->count; ++i) {
        HWND plot = g_params->plots[i];
        SendMessageA(plot, PLM_SETBACKCOLOR, 0, g_params->backColor);
        SendMessageA(plot, PLM_SETGRIDCOLOR, 0, g_params->gridColor);
        SendMessageA(plot, PLM_SETMARGINCOLOR, 0, g_params->marginColor);
        SendMessageA(plot, PLM_SETTEXTCOLOR, 0, g_params->textColor);
        for (int trace = 0; trace < PLOT_TRACE_COUNT; ++trace)
            SendMessageA(plot, PLM_SETLINECOLOR, trace, g_params->lineColors[trace]);
        SendMessageA(plot, PLM_SETCOLORSTYLE, 0, g_params->style);
        SendMessageA(plot, PLM_REDRAW, 0, 0);
    }
    g_changes = 0;
    EnableItem(dialog, IDC_APPLY, false);
}

void OnOk(HWND dialog)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0);
    EndDialog(dialog, 1);
}

void OnRadio(HWND dialog, int id)
{
    CheckRadioButton(dialog, IDC_USE_STYLE, IDC_SELECT_COLORS, id);
    EnableStyleControls(dialog, id == IDC_USE_STYLE);
    if (id == IDC_SELECT_COLORS)
        SendDlgItemMessageA(dialog, IDC_STYLE_LIST, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void OnStyleChosen(HWND dialog)
{
    int style = static_cast<int>(SendDlgItemMessageA(dialog, IDC_STYLE_LIST, CB_GETCURSEL, 0, 0));
    if (style < 0 || style >= kSchemeCount)
        return;
    const ColorScheme& scheme = kSchemes[style];
    g_params->style = style;
    g_params->gridColor = scheme.grid;
    g_params->marginColor = scheme.margin;
    g_params->backColor = scheme.back;
    g_params->textColor = scheme.text;
    for (int trace = 0; trace < PLOT_TRACE_COUNT; ++trace)
        g_params->lineColors[trace] = scheme.lines[trace];
    ++g_changes;
    EnableItem(dialog, IDC_APPLY, true);
}

// The block's colour that a colour button edits; "Plot 1" to "Plot 4" are traces 0 to 3.
COLORREF* ColorOfButton(int id)
{
    switch (id) {
    case IDC_GRID_COLOR:   return &g_params->gridColor;
    case IDC_BACK_COLOR:   return &g_params->backColor;
    case IDC_MARGIN_COLOR: return &g_params->marginColor;
    case IDC_TEXT_COLOR:   return &g_params->textColor;
    }
    return &g_params->lineColors[id - IDC_PLOT1_COLOR];
}

void OnColorButton(HWND dialog, int id)
{
    if (ChooseColorFor(dialog, ColorOfButton(id)))
        ++g_changes;
    EnableItem(dialog, IDC_APPLY, g_changes != 0);
    g_params->style = -1;
}

void OnCommand(HWND dialog, WPARAM wParam)
{
    if (!g_params)
        return;
    int id = LOWORD(wParam);
    switch (id) {
    case IDC_APPLY:         OnApply(dialog); break;
    case IDOK:              OnOk(dialog); break;
    case IDCANCEL:          EndDialog(dialog, 0); break;
    case IDC_USE_STYLE:
    case IDC_SELECT_COLORS: OnRadio(dialog, id); break;
    case IDC_STYLE_LIST:
        if (HIWORD(wParam) == CBN_SELCHANGE)
            OnStyleChosen(dialog);
        break;
    case IDC_GRID_COLOR:
    case IDC_BACK_COLOR:
    case IDC_MARGIN_COLOR:
    case IDC_TEXT_COLOR:
    case IDC_PLOT1_COLOR:
    case IDC_PLOT2_COLOR:
    case IDC_PLOT3_COLOR:
    case IDC_PLOT4_COLOR:   OnColorButton(dialog, id); break;
    }
}

INT_PTR CALLBACK ColorSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, lParam);
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void ResetSharedCustomColors()
{
    for (COLORREF& color : g_sharedCustomColors)
        color = 0x00FFFFFF;
}

INT_PTR WINAPI LumoConfigure(HWND owner, HWND* plots, int count, LONG_PTR reserved, int reserved2)
{
    if (!plots || count < 1)
        return -1;
    ColorSetupParams params = {};
    params.plots = plots;
    params.count = count;
    params.reserved = reserved;
    params.reserved2 = reserved2;
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "ColorDialog", owner, ColorSetupDlgProc,
                                     reinterpret_cast<LPARAM>(&params));
    g_params = nullptr;
    return result;
}
