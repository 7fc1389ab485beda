#include "gain_slider.h"

#include "controller.h"
#include "resource.h"
#include "setup_dialogs.h"
#include "tavro_binding.h"
#include "tuning_data.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>

namespace {

struct SliderWindowData {
    GainSlider* gain;
    HFONT labelFont;
    int gainBit;
    TuningWindowData* tuningData;
};

const int TRACKBAR_RANGE = 1000;
const int TRACKBAR_TICK = 100;
const double MIN_ZOOM_SPAN = 0.1;

SliderWindowData* GetSliderData(HWND slider)
{
    return reinterpret_cast<SliderWindowData*>(GetWindowLongPtrA(slider, GWLP_USERDATA));
}

HFONT CreateLabelFont()
{
    LOGFONTA font = {};
    font.lfHeight = 12;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// The partner that writes follow: only while gantry settings are shared.
short WritePartner(const TuningWindowData* data)
{
    return data->GantryShare ? static_cast<short>(GetGantryPartner(data)) : 0;
}

double CallAccess(SliderWindowData* slider, const double* newGain)
{
    GainSlider* gain = slider->gain;
    const TuningWindowData* data = slider->tuningData;
    if (!gain->access)
        return 0.0;
    return gain->access(data->controller, static_cast<short>(data->Axis), WritePartner(data),
                        newGain);
}

HWND CreateChild(HWND slider, const char* className, const char* text, DWORD style, int id,
                 int width, int height)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(slider, GWLP_HINSTANCE));
    return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, width, height,
                           slider, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
}

void SetLabelFont(HWND control, HFONT font)
{
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SetPercentLabel(HWND slider, int id, double percent)
{
    char text[32];
    FormatPercent(text, sizeof(text), percent);
    SetDlgItemTextA(slider, id, text);
}

void ShowGain(HWND slider, const GainSlider* gain)
{
    char text[64];
    snprintf(text, sizeof(text), "%7.4f", gain->percent / 100.0 * gain->fullScale);
    SetDlgItemTextA(slider, IDC_GAIN_READOUT, text);
}

bool SpanIsUsable(const GainSlider* gain)
{
    return std::isfinite(gain->lowerPercent) && std::isfinite(gain->upperPercent) &&
           gain->lowerPercent >= 0.0 && gain->upperPercent <= 100.0 &&
           gain->upperPercent > gain->lowerPercent;
}

void AddTool(HWND tooltip, HWND slider, int id, const char* text)
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_CENTERTIP | TTF_SUBCLASS;
    tool.hwnd = GetDlgItem(slider, id);
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(slider, id));
    tool.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CreateTooltips(HWND slider)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(slider, GWLP_HINSTANCE));
    HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, slider, nullptr,
                                   instance, nullptr);
    if (!tooltip)
        return;
    SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AddTool(tooltip, slider, IDC_ZOOM_IN, "Zoom In");
    AddTool(tooltip, slider, IDC_ZOOM_OUT, "Zoom Out");
    AddTool(tooltip, slider, IDC_CONFIGURE_SLIDER, "Configure Slider");
    AddTool(tooltip, slider, IDC_GAIN_READOUT, "Current Controller Gain Setting");
}

// Puts the labels, thumb and readout in line with the gain. True when the
// span had to be reset to 0..100 first.
bool UpdateSliderDisplay(HWND slider)
{
    SliderWindowData* state = GetSliderData(slider);
    GainSlider* gain = state->gain;
    bool reset = false;
    if (gain->percent > gain->upperPercent || gain->percent < gain->lowerPercent ||
        !SpanIsUsable(gain)) {
        gain->lowerPercent = 0.0;
        gain->upperPercent = 100.0;
        reset = true;
    }
    double span = gain->upperPercent - gain->lowerPercent;
    SetPercentLabel(slider, IDC_UPPER_LABEL, gain->upperPercent);
    SetPercentLabel(slider, IDC_MIDDLE_LABEL, span * 0.5 + gain->lowerPercent);
    SetPercentLabel(slider, IDC_LOWER_LABEL, gain->lowerPercent);

    HWND trackbar = GetDlgItem(slider, IDC_TRACKBAR);
    double range = static_cast<double>(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0));
    double position = std::trunc(range - (gain->percent - gain->lowerPercent) / span * range);
    if (!std::isfinite(position))
        position = range;
    position = std::fmax(0.0, std::fmin(range, position));
    SendMessageA(trackbar, TBM_SETPOS, TRUE, static_cast<LPARAM>(position));
    ShowGain(slider, gain);
    return reset;
}

LRESULT OnCreate(HWND slider, const CREATESTRUCTA* create)
{
    const SliderCreateBlock* block = static_cast<const SliderCreateBlock*>(create->lpCreateParams);
    if (!block)
        return -1;
    SliderWindowData* state = new SliderWindowData{block->gain, CreateLabelFont(), block->gainBit,
                                                   block->data};
    SetWindowLongPtrA(slider, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));

    HWND trackbar = CreateChild(slider, TRACKBAR_CLASSA, "", TBS_VERT | TBS_AUTOTICKS,
                                IDC_TRACKBAR, 0, 0);
    SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, TRACKBAR_RANGE));
    SendMessageA(trackbar, TBM_SETTICFREQ, TRACKBAR_TICK, 0);

    SetLabelFont(CreateChild(slider, "button", "+", 0, IDC_ZOOM_IN, 14, 14), state->labelFont);
    char title[16] = "";
    GetWindowTextA(slider, title, sizeof(title));
    CreateChild(slider, "button", title, 0, IDC_CONFIGURE_SLIDER, 44, 28);
    SetLabelFont(CreateChild(slider, "button", "\x96", 0, IDC_ZOOM_OUT, 14, 14), state->labelFont);
    SetLabelFont(CreateChild(slider, "static", "", SS_RIGHT, IDC_UPPER_LABEL, 26, 16),
                 state->labelFont);
    SetLabelFont(CreateChild(slider, "static", "", SS_RIGHT, IDC_MIDDLE_LABEL, 26, 16),
                 state->labelFont);
    SetLabelFont(CreateChild(slider, "static", "", SS_RIGHT, IDC_LOWER_LABEL, 26, 16),
                 state->labelFont);
    CreateChild(slider, TAVRO_READOUT_CLASS, "50%", 1, IDC_GAIN_READOUT, 56, 16);
    CreateTooltips(slider);
    UpdateSliderDisplay(slider);
    return 0;
}

void MoveChild(HWND slider, int id, int x, int y)
{
    SetWindowPos(GetDlgItem(slider, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OnSize(HWND slider, int width, int height)
{
    int x = (width - 56) / 2;
    MoveChild(slider, IDC_CONFIGURE_SLIDER, x, 2);
    MoveChild(slider, IDC_ZOOM_IN, x + 44, 2);
    MoveChild(slider, IDC_ZOOM_OUT, x + 44, 16);
    MoveChild(slider, IDC_UPPER_LABEL, 32, 32);
    MoveChild(slider, IDC_MIDDLE_LABEL, 32, height / 2 - 2);
    MoveChild(slider, IDC_LOWER_LABEL, 32, height - 38);
    SetWindowPos(GetDlgItem(slider, IDC_TRACKBAR), nullptr, 2, 28, 30, height - 48, SWP_NOZORDER);
    MoveChild(slider, IDC_GAIN_READOUT, 2, height - 20);
}

void OnZoomIn(HWND slider)
{
    GainSlider* gain = GetSliderData(slider)->gain;
    double span = gain->upperPercent - gain->lowerPercent;
    double c = gain->percent;
    if (span <= MIN_ZOOM_SPAN) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    double q = span * 0.25;
    if (c + q > 100.0) {
        gain->lowerPercent = 100.0 - 2.0 * q;
        gain->upperPercent = 100.0;
    } else if (c - q < 0.0) {
        gain->lowerPercent = 0.0;
        gain->upperPercent = 2.0 * q;
    } else {
        gain->lowerPercent = c - q;
        gain->upperPercent = c + q;
    }
    UpdateSliderDisplay(slider);
}

void OnZoomOut(HWND slider)
{
    GainSlider* gain = GetSliderData(slider)->gain;
    double span = gain->upperPercent - gain->lowerPercent;
    double c = gain->percent;
    if (span >= 100.0) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (c + span > 100.0) {
        gain->lowerPercent = std::fmax(100.0 - 2.0 * span, 0.0);
        gain->upperPercent = 100.0;
    } else if (c - span < 0.0) {
        gain->lowerPercent = 0.0;
        gain->upperPercent = std::fmin(2.0 * span, 100.0);
    } else {
        gain->lowerPercent = std::fmax(c - span, 0.0);
        gain->upperPercent = std::fmin(c + span, 100.0);
    }
    UpdateSliderDisplay(slider);
}

void OnConfigureSlider(HWND slider)
{
    SliderWindowData* state = GetSliderData(slider);
    state->tuningData->sliderSetupMask = state->gainBit;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(slider, GWLP_HINSTANCE));
    DialogBoxParamA(instance, "PanelSetupDialog", slider, PidSliderSetupDlgProc,
                    reinterpret_cast<LPARAM>(state->tuningData));
    UpdateSliderDisplay(slider);
}

void OnCommand(HWND slider, WPARAM wParam, LPARAM lParam)
{
    if (!lParam)
        return;
    switch (LOWORD(wParam)) {
    case IDC_ZOOM_IN:
        OnZoomIn(slider);
        break;
    case IDC_ZOOM_OUT:
        OnZoomOut(slider);
        break;
    case IDC_CONFIGURE_SLIDER:
        OnConfigureSlider(slider);
        break;
    }
}

// The thumb moved: the gain follows at once.
void OnScroll(HWND slider)
{
    SliderWindowData* state = GetSliderData(slider);
    GainSlider* gain = state->gain;
    HWND trackbar = GetDlgItem(slider, IDC_TRACKBAR);
    double range = static_cast<double>(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0));
    double position = static_cast<double>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    if (range <= 0.0)
        return;
    gain->percent = (gain->upperPercent - gain->lowerPercent) * (range - position) / range +
                    gain->lowerPercent;
    ShowGain(slider, gain);
    double newGain = gain->fullScale * gain->percent / 100.0;
    CallAccess(state, &newGain);
    state->tuningData->modified = 1;
}

LRESULT OnReloadGain(HWND slider)
{
    SliderWindowData* state = GetSliderData(slider);
    double value = CallAccess(state, nullptr);
    state->gain->percent = value / state->gain->fullScale * 100.0;
    return UpdateSliderDisplay(slider) ? 1 : 0;
}

LRESULT OnSetPercent(HWND slider, const double* percent)
{
    SliderWindowData* state = GetSliderData(slider);
    if (!percent)
        return 0;
    state->gain->percent = *percent;
    double newGain = state->gain->percent * state->gain->fullScale / 100.0;
    CallAccess(state, &newGain);
    return UpdateSliderDisplay(slider) ? 1 : 0;
}

void OnDestroy(HWND slider)
{
    SliderWindowData* state = GetSliderData(slider);
    if (!state)
        return;
    SetWindowLongPtrA(slider, GWLP_USERDATA, 0);
    DeleteObject(state->labelFont);
    delete state;
}

// Filter-record gains: read the record, and write it back with the new gain
// only when the read succeeded.
double AccessFilterGain(short controller, short axis, short partner, const double* newGain,
                        double TavroFilterConfig::*field)
{
    TavroFilterConfig filter = {};
    bool read = g_tavro.TavroGetFilterConfig(controller, axis, &filter) == TAVRO_OK;
    double old = filter.*field;
    if (newGain && read) {
        filter.*field = *newGain;
        g_tavro.TavroSetFilterConfig(controller, axis, &filter);
        if (partner != 0)
            g_tavro.TavroSetFilterConfig(controller, partner, &filter);
    }
    return old;
}

} // namespace

LRESULT CALLBACK SliderWndProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CREATE && !GetSliderData(slider))
        return DefWindowProcA(slider, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnCreate(slider, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_SIZE:
        OnSize(slider, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFONT:
        SendDlgItemMessageA(slider, IDC_CONFIGURE_SLIDER, WM_SETFONT, wParam, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(slider, wParam, lParam);
        return 0;
    case WM_VSCROLL:
        OnScroll(slider);
        return 0;
    case SLM_RELOADGAIN:
        return OnReloadGain(slider);
    case SLM_SETPERCENT:
        return OnSetPercent(slider, reinterpret_cast<const double*>(lParam));
    case WM_DESTROY:
        OnDestroy(slider);
        return 0;
    default:
        return DefWindowProcA(slider, message, wParam, lParam);
    }
}

double AccessProportionalGain(short controller, short axis, short partner, const double* newGain)
{
    double old = 0.0;
    g_tavro.TavroGetGain(controller, axis, &old);
    if (newGain) {
        g_tavro.TavroSetGain(controller, axis, *newGain);
        if (partner != 0)
            g_tavro.TavroSetGain(controller, partner, *newGain);
    }
    return old;
}

double AccessIntegralGain(short controller, short axis, short partner, const double* newGain)
{
    return AccessFilterGain(controller, axis, partner, newGain, &TavroFilterConfig::integralGain);
}

double AccessDerivativeGain(short controller, short axis, short partner, const double* newGain)
{
    return AccessFilterGain(controller, axis, partner, newGain, &TavroFilterConfig::derivativeGain);
}

void ReloadSliders(HWND panel)
{
    SendDlgItemMessageA(panel, IDC_SLIDER_P, SLM_RELOADGAIN, 0, 0);
    SendDlgItemMessageA(panel, IDC_SLIDER_I, SLM_RELOADGAIN, 0, 0);
    SendDlgItemMessageA(panel, IDC_SLIDER_D, SLM_RELOADGAIN, 0, 0);
}
