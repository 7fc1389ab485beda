// "Test Setup" property sheet (Motion Settings, Plot Settings and Info pages)
// and the "PID Setup" dialog of the gain slider limits. Each procedure keeps
// the main window's record, given at WM_INITDIALOG, in a module-level pointer
// of its own: only one sheet and one PID Setup dialog exist at a time.
#include "setup_dialogs.h"

#include <commctrl.h>

#include <climits>
#include <cmath>
#include <cstdio>

#include "controller.h"
#include "dialogs_resource.h"
#include "gain_slider.h"
#include "help.h"
#include "main_window.h"
#include "tavro_binding.h"
#include "tuning_data.h"
#include "window_utils.h"

namespace {

TuningWindowData* g_motionData = nullptr;
bool g_motionInitialising = false;

TuningWindowData* g_plotData = nullptr;
int g_plotChosenStyle = PLOT_STYLE_MULTI;
int g_plotChosenSampling = 1;

TuningWindowData* g_pidData = nullptr;

// ---------------------------------------------------------------------------
// Shared page helpers.
// ---------------------------------------------------------------------------

void MarkSheetChanged(HWND page)
{
    SendMessageA(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void SetNotifyResult(HWND page, LONG_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

// Flips a plain check box; returns its new state.
bool ToggleCheck(HWND dialog, int id)
{
    bool checked = !IsChecked(dialog, id);
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    return checked;
}

void EnableItems(HWND dialog, int first, int last, bool enable)
{
    for (int id = first; id <= last; ++id) {
        EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
    }
}

TuningWindowData* PageRecord(LPARAM lParam)
{
    const PROPSHEETPAGEA* page = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    return page ? reinterpret_cast<TuningWindowData*>(page->lParam) : nullptr;
}

// A dialog entry that is a finite number, or `fallback`.
double ReadFiniteEntry(HWND dialog, int id, double fallback)
{
    double value = GetDlgItemDouble(dialog, id);
    return std::isfinite(value) ? value : fallback;
}

// ---------------------------------------------------------------------------
// Motion Settings page.
// ---------------------------------------------------------------------------

void FillAxisLists(HWND page, const TuningWindowData* data)
{
    TavroControllerConfig config = {};
    config.size = 124;
    g_tavro.TavroGetConfigurationEx(data->controller, &config);
    for (int axis = 1; axis <= config.axisCount; ++axis) {
        char text[16];
        snprintf(text, sizeof(text), "%d", axis);
        SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageA(page, IDC_MOTION_SLAVE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_SETCURSEL, data->GantryMaster - 1, 0);
    SendDlgItemMessageA(page, IDC_MOTION_SLAVE, CB_SETCURSEL, data->GantrySlave - 1, 0);
}

void OnMotionInit(HWND page, TuningWindowData* data)
{
    g_motionData = data;
    g_motionInitialising = true;
    const TestSettings& settings = data->testSettings;
    SetDlgItemDouble(page, IDC_MOTION_DISTANCE, settings.Distance, 3);
    SetDlgItemDouble(page, IDC_MOTION_TIME, settings.RecordTime * 1000.0, 3);
    SetDlgItemDouble(page, IDC_MOTION_DELAY, settings.Delay * 1000.0, 1);
    CheckDlgButton(page, IDC_MOTION_CYCLE, settings.Cycle ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemDouble(page, IDC_MOTION_CYCLE_DWELL, settings.Dwell * 1000.0, 1);
    CheckDlgButton(page, IDC_MOTION_REPEAT, settings.Repeat ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(page, IDC_MOTION_COUNT, static_cast<UINT>(settings.Count), TRUE);
    SetDlgItemDouble(page, IDC_MOTION_RDWELL, settings.RDwell * 1000.0, 1);
    CheckDlgButton(page, IDC_MOTION_GANTRY, data->Gantry ? BST_CHECKED : BST_UNCHECKED);
    FillAxisLists(page, data);
    CheckDlgButton(page, IDC_MOTION_SHARE, data->GantryShare ? BST_CHECKED : BST_UNCHECKED);

    EnableItems(page, IDC_MOTION_CYCLE_LABEL, IDC_MOTION_CYCLE_MS, settings.Cycle != 0);
    EnableItems(page, IDC_MOTION_COUNT_LABEL, IDC_MOTION_RDWELL_MS, settings.Repeat != 0);
    EnableItems(page, IDC_MOTION_MASTER_LABEL, IDC_MOTION_SHARE, data->Gantry != 0);
    g_motionInitialising = false;
}

void OnMotionShareClicked(HWND page)
{
    if (!ToggleCheck(page, IDC_MOTION_SHARE)) {
        MessageBoxA(page,
                    "Sharing PID settings in Gantry mode is recommended. Disabling\n"
                    "sharing allows the each gantry axis to have unique settings. This\n"
                    "may result in erratic or dangerous operation.",
                    "Warning", MB_OK | MB_ICONWARNING);
    }
    MarkSheetChanged(page);
}

void OnMotionCommand(HWND page, int id, int code)
{
    switch (id) {
    case IDC_MOTION_DISTANCE:
    case IDC_MOTION_TIME:
    case IDC_MOTION_DELAY:
    case IDC_MOTION_CYCLE_DWELL:
    case IDC_MOTION_COUNT:
    case IDC_MOTION_RDWELL:
        if (code == EN_CHANGE && !g_motionInitialising) {
            MarkSheetChanged(page);
        }
        break;
    case IDC_MOTION_CYCLE:
        EnableItems(page, IDC_MOTION_CYCLE_LABEL, IDC_MOTION_CYCLE_MS, ToggleCheck(page, id));
        MarkSheetChanged(page);
        break;
    case IDC_MOTION_REPEAT:
        EnableItems(page, IDC_MOTION_COUNT_LABEL, IDC_MOTION_RDWELL_MS, ToggleCheck(page, id));
        MarkSheetChanged(page);
        break;
    case IDC_MOTION_GANTRY:
        EnableItems(page, IDC_MOTION_MASTER_LABEL, IDC_MOTION_SHARE, ToggleCheck(page, id));
        MarkSheetChanged(page);
        break;
    case IDC_MOTION_MASTER:
    case IDC_MOTION_SLAVE:
        if (code == CBN_SELCHANGE) {
            MarkSheetChanged(page);
        }
        break;
    case IDC_MOTION_SHARE:
        OnMotionShareClicked(page);
        break;
    }
}

// The record time checked against the capture buffer; false when the user
// returns to the page.
bool CheckCaptureTime(HWND page, TuningWindowData* data)
{
    TestSettings& settings = data->testSettings;
    double limit = ComputeCaptureTiming(&settings, data->controller,
                                        static_cast<short>(data->Axis), data->hasAdvancedCapture);
    // No limit is known without a servo period (no controller open).
    if (limit == 0.0 || limit == CAPTURE_TIMING_UNKNOWN) {
        return true;
    }
    char text[256];
    snprintf(text, sizeof(text),
             "This controller cannot support data capture times of longer than %f seconds\n"
             "Select OK to fix the settings and continue or Cancel to return to the dialog box",
             limit);
    if (MessageBoxA(page, text, "Parameter Error", MB_OKCANCEL | MB_ICONWARNING) != IDOK) {
        return false;
    }
    if (limit > 0.0) {
        settings.RecordTime = limit;
    }
    return true;
}

// Absolute value of the signed count typed, at most INT_MAX.
int32_t ReadCount(HWND page)
{
    BOOL ok = FALSE;
    int value = static_cast<int>(GetDlgItemInt(page, IDC_MOTION_COUNT, &ok, TRUE));
    if (value == INT_MIN) {
        return INT_MAX;
    }
    return value < 0 ? -value : value;
}

// A list's selection as an axis number, 0 when nothing is selected. Without
// an open controller the lists are empty and the old value stays, so that
// the pair is not lost to a missing controller.
int32_t ReadAxisChoice(HWND page, int id, const TuningWindowData* data, int32_t current)
{
    if (data->controller <= 0) {
        return current;
    }
    LRESULT selection = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? 0 : static_cast<int32_t>(selection) + 1;
}

LONG_PTR OnMotionApply(HWND page, TuningWindowData* data)
{
    TestSettings& settings = data->testSettings;
    double time = GetDlgItemDouble(page, IDC_MOTION_TIME) / 1000.0;
    if (time > 0.0 && std::isfinite(time)) {
        settings.RecordTime = time;
    }
    if (!CheckCaptureTime(page, data)) {
        return PSNRET_INVALID_NOCHANGEPAGE;
    }
    bool gantry = IsChecked(page, IDC_MOTION_GANTRY);
    int32_t master = ReadAxisChoice(page, IDC_MOTION_MASTER, data, data->GantryMaster);
    int32_t slave = ReadAxisChoice(page, IDC_MOTION_SLAVE, data, data->GantrySlave);
    if (gantry && master == slave) {
        MessageBoxA(page,
                    "The master and slave axis settings for gantry\n"
                    "mode may not be set to the same axis number.",
                    "Parameter Error", MB_OK | MB_ICONWARNING);
        return PSNRET_INVALID_NOCHANGEPAGE;
    }

    settings.Distance = std::fabs(ReadFiniteEntry(page, IDC_MOTION_DISTANCE, settings.Distance));
    double delay = GetDlgItemDouble(page, IDC_MOTION_DELAY) / 1000.0;
    if (delay >= 0.0 && std::isfinite(delay)) {
        settings.Delay = delay;
    }
    settings.Cycle = IsChecked(page, IDC_MOTION_CYCLE) ? 1 : 0;
    settings.Dwell =
        std::fabs(ReadFiniteEntry(page, IDC_MOTION_CYCLE_DWELL, settings.Dwell * 1000.0)) / 1000.0;
    settings.Repeat = IsChecked(page, IDC_MOTION_REPEAT) ? 1 : 0;
    settings.Count = ReadCount(page);
    settings.RDwell =
        std::fabs(ReadFiniteEntry(page, IDC_MOTION_RDWELL, settings.RDwell * 1000.0)) / 1000.0;
    if (settings.Count == 0) {
        settings.Repeat = 0;
    }
    data->Gantry = gantry ? 1 : 0;
    data->GantryMaster = master;
    data->GantrySlave = slave;
    data->GantryShare = IsChecked(page, IDC_MOTION_SHARE) ? 1 : 0;
    return PSNRET_NOERROR;
}

// ---------------------------------------------------------------------------
// Plot Settings page.
// ---------------------------------------------------------------------------

void CheckFlag(HWND page, int id, uint8_t flag)
{
    CheckDlgButton(page, id, flag ? BST_CHECKED : BST_UNCHECKED);
}

void OnPlotInit(HWND page, TuningWindowData* data)
{
    g_plotData = data;
    g_plotChosenStyle = data->PlotStyle;
    g_plotChosenSampling = data->testSettings.Sampling;

    CheckFlag(page, IDC_PLOT_ACTUAL, data->PlotActual);
    CheckFlag(page, IDC_PLOT_OPTIMAL, data->PlotOptimal);
    CheckFlag(page, IDC_PLOT_ERROR, data->PlotError);
    CheckFlag(page, IDC_PLOT_TORQUE, data->PlotTorque);
    EnableWindow(GetDlgItem(page, IDC_PLOT_TORQUE), data->hasTorqueCapture ? TRUE : FALSE);
    CheckFlag(page, IDC_PLOT_TARGET, data->PlotTarget);
    bool auxiliary = data->hasAuxEncoder && data->PlotAuxiliary;
    CheckFlag(page, IDC_PLOT_AUXILIARY, auxiliary ? 1 : 0);
    EnableWindow(GetDlgItem(page, IDC_PLOT_AUXILIARY), data->hasAuxEncoder ? TRUE : FALSE);
    SetDlgItemDouble(page, IDC_PLOT_SCALE, data->AuxiliaryScale, 3);
    EnableItems(page, IDC_PLOT_SCALE_LABEL, IDC_PLOT_SCALE, auxiliary);
    CheckRadioButton(page, IDC_PLOT_SINGLE, IDC_PLOT_SEPARATE, data->PlotStyle);
    if (data->PlotStyle == PLOT_STYLE_MULTI) {
        EnableItems(page, IDC_PLOT_ACTUAL, IDC_PLOT_ERROR, false);
    }
    CheckRadioButton(page, IDC_PLOT_EVERY_POINT, IDC_PLOT_EVERY_FOURTH,
                     IDC_PLOT_SAMPLING_BASE + data->testSettings.Sampling);
}

void OnPlotStyleChosen(HWND page, int id)
{
    g_plotChosenStyle = id;
    CheckRadioButton(page, IDC_PLOT_SINGLE, IDC_PLOT_SEPARATE, id);
    if (id == IDC_PLOT_MULTI) {
        for (int box = IDC_PLOT_ACTUAL; box <= IDC_PLOT_ERROR; ++box) {
            CheckDlgButton(page, box, BST_CHECKED);
        }
        EnableItems(page, IDC_PLOT_ACTUAL, IDC_PLOT_ERROR, false);
    } else {
        EnableItems(page, IDC_PLOT_ACTUAL, IDC_PLOT_ERROR, true);
        EnableWindow(GetDlgItem(page, IDC_PLOT_TORQUE),
                     g_plotData && g_plotData->hasTorqueCapture ? TRUE : FALSE);
    }
}

void OnPlotCommand(HWND page, int id)
{
    switch (id) {
    case IDC_PLOT_ACTUAL:
    case IDC_PLOT_OPTIMAL:
    case IDC_PLOT_ERROR:
    case IDC_PLOT_TORQUE:
    case IDC_PLOT_TARGET:
        ToggleCheck(page, id);
        break;
    case IDC_PLOT_AUXILIARY:
        EnableItems(page, IDC_PLOT_SCALE_LABEL, IDC_PLOT_SCALE, ToggleCheck(page, id));
        break;
    case IDC_PLOT_SINGLE:
    case IDC_PLOT_MULTI:
    case IDC_PLOT_SEPARATE:
        OnPlotStyleChosen(page, id);
        break;
    case IDC_PLOT_EVERY_POINT:
    case IDC_PLOT_EVERY_SECOND:
    case IDC_PLOT_EVERY_FOURTH:
        g_plotChosenSampling = id - IDC_PLOT_SAMPLING_BASE;
        CheckRadioButton(page, IDC_PLOT_EVERY_POINT, IDC_PLOT_EVERY_FOURTH, id);
        MarkSheetChanged(page);
        break;
    }
}

LONG_PTR OnPlotApply(HWND page, TuningWindowData* data)
{
    data->PlotActual = IsChecked(page, IDC_PLOT_ACTUAL) ? 1 : 0;
    data->PlotOptimal = IsChecked(page, IDC_PLOT_OPTIMAL) ? 1 : 0;
    data->PlotError = IsChecked(page, IDC_PLOT_ERROR) ? 1 : 0;
    data->PlotTorque = IsChecked(page, IDC_PLOT_TORQUE) ? 1 : 0;
    data->PlotTarget = IsChecked(page, IDC_PLOT_TARGET) ? 1 : 0;
    data->PlotAuxiliary = IsChecked(page, IDC_PLOT_AUXILIARY) ? 1 : 0;
    data->PlotStyle = g_plotChosenStyle;
    data->AuxiliaryScale = ReadFiniteEntry(page, IDC_PLOT_SCALE, data->AuxiliaryScale);
    if (g_plotChosenSampling > 0) {
        data->testSettings.Sampling = g_plotChosenSampling;
    }
    return PSNRET_NOERROR;
}

// ---------------------------------------------------------------------------
// Info page.
// ---------------------------------------------------------------------------

void OnAxisInfoInit(HWND page, const TuningWindowData* data)
{
    short axis = static_cast<short>(data->Axis);
    TavroAxisConfig config = {};
    config.size = sizeof(config);
    g_tavro.TavroGetAxisConfiguration(data->controller, axis, &config);

    char text[256];
    snprintf(text, sizeof(text), "Axis %d Settings", data->Axis);
    SetDlgItemTextA(page, IDC_INFO_FRAME, text);

    text[0] = '\0';
    g_tavro.TavroDLG_ModuleDescEx(config.moduleType, 1, text, sizeof(text));
    text[sizeof(text) - 1] = '\0';
    SetDlgItemTextA(page, IDC_INFO_AXIS_TYPE, text);

    SetDlgItemInt(page, IDC_INFO_BUFFER_SIZE, static_cast<UINT>(config.captureBufferSize), TRUE);

    double period = 0.0;
    if (GetServoPeriod(data->controller, axis, &period) == 0) {
        SetDlgItemDouble(page, IDC_INFO_MIN_PERIOD, period, 6);
    } else {
        SetDlgItemTextA(page, IDC_INFO_MIN_PERIOD, "Unknown");
    }

    SetDlgItemTextA(page, IDC_INFO_ADVANCED,
                    (config.captureFlags & TAVRO_CAPTURE_ADVANCED) ? "Yes" : "No");

    snprintf(text, sizeof(text), "Position, Optimal, Error%s%s%s",
             (config.captureFlags & TAVRO_CAPTURE_TORQUE) ? ", Torque" : "",
             (config.captureFlags & TAVRO_CAPTURE_AUX) ? ", Auxiliary" : "",
             (config.captureFlags & TAVRO_CAPTURE_STATUS) ? ", Status" : "");
    SetDlgItemTextA(page, IDC_INFO_MODES, text);
}

// Common notification answers of every page; `apply` writes the page back.
INT_PTR OnPageNotify(HWND page, const NMHDR* header, LONG_PTR (*apply)(HWND, TuningWindowData*),
                     TuningWindowData* data)
{
    LONG_PTR result = 0;
    if (header->code == PSN_APPLY) {
        result = (apply && data) ? apply(page, data) : PSNRET_NOERROR;
    }
    SetNotifyResult(page, result);
    return TRUE;
}

// ---------------------------------------------------------------------------
// PID Setup dialog.
// ---------------------------------------------------------------------------

struct GainLimitsBlock {
    int frameId;       // first control of the block; the upper edit is +2, lower +5
    int maskBit;
    const char* orderText;
    const char* rangeText;
    const char* positionText;
};

const GainLimitsBlock GAIN_BLOCKS[3] = {
    {IDC_PID_P_FRAME, 1, "Proportional Gain Upper Limit must be greater than Lower Limit.",
     "Proportional Gain Limits must be between 0% and 100%.",
     "Proportional Gain is not within Limits."},
    {IDC_PID_I_FRAME, 2, "Intergral Gain Upper Limit must be greater than Lower Limit.",
     "Integral Gain Limits must be between 0% and 100%.", "Integral Gain is not within Limits."},
    {IDC_PID_D_FRAME, 4, "Derivative Gain Upper Limit must be greater than Lower Limit.",
     "Derivative Gain Limits must be between 0% and 100%.",
     "Derivative Gain is not within Limits."},
};

GainSlider* GainOfBlock(TuningWindowData* data, int index)
{
    GainSlider* gains[3] = {&data->propGain, &data->intGain, &data->derGain};
    return gains[index];
}

void OnPidInit(HWND dialog, TuningWindowData* data)
{
    g_pidData = data;
    for (int i = 0; i < 3; ++i) {
        const GainLimitsBlock& block = GAIN_BLOCKS[i];
        const GainSlider* gain = GainOfBlock(data, i);
        SetDlgItemDouble(dialog, block.frameId + 2, gain->upperPercent, -1);
        SetDlgItemDouble(dialog, block.frameId + 5, gain->lowerPercent, -1);
        if (!(data->sliderSetupMask & block.maskBit)) {
            EnableItems(dialog, block.frameId, block.frameId + 6, false);
        }
    }
    CenterWindow(dialog);
    SetFocus(GetDlgItem(dialog, IDOK));
}

// The first failing check's text, or null when the limits may be stored.
const char* CheckGainLimits(TuningWindowData* data, const double upper[3], const double lower[3])
{
    for (int i = 0; i < 3; ++i) {
        if (!(lower[i] < upper[i])) {
            return GAIN_BLOCKS[i].orderText;
        }
        if (upper[i] > 100.0 || lower[i] < 0.0 || !std::isfinite(upper[i]) ||
            !std::isfinite(lower[i])) {
            return GAIN_BLOCKS[i].rangeText;
        }
    }
    for (int i = 0; i < 3; ++i) {
        double percent = GainOfBlock(data, i)->percent;
        if (percent > upper[i] || percent < lower[i]) {
            return GAIN_BLOCKS[i].positionText;
        }
    }
    return nullptr;
}

void OnPidOk(HWND dialog, TuningWindowData* data)
{
    double upper[3];
    double lower[3];
    for (int i = 0; i < 3; ++i) {
        upper[i] = GetDlgItemDouble(dialog, GAIN_BLOCKS[i].frameId + 2);
        lower[i] = GetDlgItemDouble(dialog, GAIN_BLOCKS[i].frameId + 5);
    }
    const char* failure = CheckGainLimits(data, upper, lower);
    if (failure) {
        if (MessageBoxA(dialog, failure, "Servo Tuning", MB_RETRYCANCEL | MB_ICONWARNING) !=
            IDRETRY) {
            EndDialog(dialog, 0);
        }
        return;
    }
    for (int i = 0; i < 3; ++i) {
        GainSlider* gain = GainOfBlock(data, i);
        gain->upperPercent = upper[i];
        gain->lowerPercent = lower[i];
    }
    ReloadSliders(data->panelWindow);
    EndDialog(dialog, 1);
}

} // namespace

int FormatPercent(char* buffer, size_t size, double value)
{
    return snprintf(buffer, size, value < 10.0 ? "%3.2f%%" : "%3.0f%%", value);
}

int ShowTestSetup(HWND mainWindow)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    struct PageEntry {
        int templateId;
        DLGPROC procedure;
    };
    const PageEntry entries[3] = {
        {IDD_MOTION_SETTINGS, MotionSettingsPageProc},
        {IDD_PLOT_SETTINGS, PlotSettingsPageProc},
        {IDD_AXIS_INFO, AxisInfoPageProc},
    };
    PROPSHEETPAGEA pages[3] = {};
    for (int i = 0; i < 3; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEA);
        pages[i].dwFlags = 0;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(entries[i].templateId);
        pages[i].pfnDlgProc = entries[i].procedure;
        pages[i].lParam = reinterpret_cast<LPARAM>(data);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(PROPSHEETHEADERA);
    header.dwFlags = PSH_PROPSHEETPAGE;
    header.hwndParent = mainWindow;
    header.hInstance = instance;
    header.pszCaption = "Test Setup";
    header.nPages = 3;
    header.nStartPage = 0;
    header.ppsp = pages;
    return static_cast<int>(PropertySheetA(&header));
}

INT_PTR CALLBACK MotionSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (TuningWindowData* data = PageRecord(lParam)) {
            OnMotionInit(page, data);
        }
        return TRUE;
    case WM_COMMAND:
        OnMotionCommand(page, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnPageNotify(page, reinterpret_cast<const NMHDR*>(lParam), OnMotionApply,
                            g_motionData);
    }
    return FALSE;
}

INT_PTR CALLBACK PlotSettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (TuningWindowData* data = PageRecord(lParam)) {
            OnPlotInit(page, data);
        }
        return TRUE;
    case WM_COMMAND:
        OnPlotCommand(page, LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return OnPageNotify(page, reinterpret_cast<const NMHDR*>(lParam), OnPlotApply, g_plotData);
    }
    return FALSE;
}

INT_PTR CALLBACK AxisInfoPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (TuningWindowData* data = PageRecord(lParam)) {
            OnAxisInfoInit(page, data);
        }
        return TRUE;
    case WM_COMMAND:
        return TRUE;
    case WM_NOTIFY:
        return OnPageNotify(page, reinterpret_cast<const NMHDR*>(lParam), nullptr, nullptr);
    }
    return FALSE;
}

INT_PTR CALLBACK PidSliderSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnPidInit(dialog, reinterpret_cast<TuningWindowData*>(lParam));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (g_pidData) {
                OnPidOk(dialog, g_pidData);
            }
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_PID_HELP:
            ShowHelp(dialog, HELP_FILE_NAME, HELP_KEY, reinterpret_cast<ULONG_PTR>("pid setup"));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
