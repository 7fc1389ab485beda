// The axis panel: position readout, status lamps, motor buttons, distance box
// and velocity override of one axis, and the commands the bar broadcasts.
#include "axis_panel.h"

#include "main_window.h"
#include "resource.h"
#include "tavro_binding.h"
#include "warnings.h"
#include "window_utils.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Shown with the Velocity Control Warning; one value for every panel.
int g_velocityWarn = 1;

const COLORREF kActiveColour = PALETTERGB(0, 255, 0);
const COLORREF kInactiveColour = PALETTERGB(128, 128, 0);
const COLORREF kAlarmColour = PALETTERGB(224, 0, 0);
const int kMaxDecimals = 12;

AxisPanelData* DataOf(HWND panel)
{
    return reinterpret_cast<AxisPanelData*>(GetWindowLongPtrA(panel, GWLP_USERDATA));
}

bool HasController(const AxisPanelData* data)
{
    return data->handle > 0;
}

HMENU ChildId(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

void CreateControls(HWND panel, AxisPanelData* data, HINSTANCE instance, int h)
{
    const DWORD child = WS_CHILD | WS_VISIBLE;
    char number[16];
    snprintf(number, sizeof number, "%d", data->axis);
    CreateWindowExA(0, "button", number, child | BS_CHECKBOX | BS_PUSHLIKE, 10, h / 2 - 15, 30, 30,
                    panel, ChildId(IDC_AXIS_BUTTON), instance, nullptr);
    CreateWindowExA(WS_EX_CLIENTEDGE, TAVRO_READOUT_CLASS, "0", child | 2, 60, h / 2 - 17, 210, 34,
                    panel, ChildId(IDC_POSITION), instance, nullptr);

    const int q = (h - 42) / 4;
    CreateChildWindow(0, TAVRO_LED_CLASS, "On", child, 290, q, 50, 14, panel,
                      ChildId(IDC_LAMP_ON), instance, nullptr);
    CreateChildWindow(0, TAVRO_LED_CLASS, "Error", child, 290, 2 * q + 14, 50, 14, panel,
                      ChildId(IDC_LAMP_ERROR), instance, nullptr);
    SendDlgItemMessageA(panel, IDC_LAMP_ERROR, LEDM_SETCOLOR, 0, kAlarmColour);
    CreateChildWindow(0, TAVRO_LED_CLASS, "Limit", child, 290, 3 * q + 28, 50, 14, panel,
                      ChildId(IDC_LAMP_LIMIT), instance, nullptr);
    SendDlgItemMessageA(panel, IDC_LAMP_LIMIT, LEDM_SETCOLOR, 0, kAlarmColour);

    const int b = (h - 48) / 2;
    CreateChildWindow(0, "button", "On", child | BS_PUSHBUTTON, 345, b, 45, 22, panel,
                      ChildId(IDC_MOTOR_ON), instance, nullptr);
    CreateChildWindow(0, "button", "Off", child | BS_PUSHBUTTON, 345, b + 24, 45, 22, panel,
                      ChildId(IDC_MOTOR_OFF), instance, nullptr);
    CreateChildWindow(0, "button", "Setup", child | BS_PUSHBUTTON, 392, b, 45, 22, panel,
                      ChildId(IDC_SETUP), instance, nullptr);
    CreateChildWindow(0, "button", "Scale", child | BS_PUSHBUTTON, 392, b + 24, 45, 22, panel,
                      ChildId(IDC_SCALE), instance, nullptr);

    CreateChildWindow(0, "static", "Dist", child, 450, (h - 44) / 2, 30, 20, panel,
                      ChildId(IDC_DIST_LABEL), instance, nullptr);
    CreateChildWindow(WS_EX_CLIENTEDGE, "edit", "0", child | ES_RIGHT, 484, (h - 44) / 2, 100, 20,
                      panel, ChildId(IDC_DISTANCE), instance, nullptr);
    const int radioY = (h - 32) / 2 + 20;
    CreateChildWindow(0, "button", "Abs", child | BS_RADIOBUTTON, 476, radioY, 40, 14, panel,
                      ChildId(IDC_ABS), instance, nullptr);
    CreateChildWindow(0, "button", "Rel", child | BS_RADIOBUTTON, 530, radioY, 40, 14, panel,
                      ChildId(IDC_REL), instance, nullptr);
    CheckRadioButton(panel, IDC_ABS, IDC_REL, IDC_REL);

    CreateChildWindow(0, "static", "Velocity", child, 615, 6, 50, 16, panel,
                      ChildId(IDC_VELOCITY_LABEL), instance, nullptr);
    CreateWindowExA(0, TAVRO_READOUT_CLASS, "100%", child | 1, 670, 5, 35, 16, panel,
                    ChildId(IDC_VELOCITY_READOUT), instance, nullptr);
    HWND slider = CreateWindowExA(0, TRACKBAR_CLASSA, "", child | TBS_AUTOTICKS, 600, 22, 120, 30,
                                  panel, ChildId(IDC_VELOCITY_SLIDER), instance, nullptr);
    SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, VELOCITY_SLIDER_MAX));
    SendMessageA(slider, TBM_SETTICFREQ, 15, 0);
    SendMessageA(slider, TBM_SETPOS, TRUE, 100);

    CheckDlgButton(panel, IDC_AXIS_BUTTON, data->enabled ? BST_CHECKED : BST_UNCHECKED);
}

LRESULT OnCreate(HWND panel, const CREATESTRUCTA* create)
{
    auto* data = new AxisPanelData;
    data->handle = 0;
    data->axis = LOWORD(reinterpret_cast<UINT_PTR>(create->lpCreateParams));
    data->overrideState = -1;
    data->cycleMode = 0;
    data->enabled = 1;
    data->panelWindow = panel;
    data->decimals = 0;
    data->lastStatus = 0;
    data->stopPending = 0;
    data->velocity100 = 0.0;
    SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    CreateControls(panel, data, create->hInstance, create->cy);
    return 0;
}

void OnDestroy(HWND panel)
{
    delete DataOf(panel);
    SetWindowLongPtrA(panel, GWLP_USERDATA, 0);
}

void SetReadoutColour(HWND panel, int id, bool active)
{
    SendDlgItemMessageA(panel, id, RDM_SETCOLOR, 1, active ? kActiveColour : kInactiveColour);
}

void ShowOverrideState(AxisPanelData* data)
{
    const bool usable = data->enabled && data->overrideState != 0;
    EnableWindow(GetDlgItem(data->panelWindow, IDC_VELOCITY_LABEL), usable);
    EnableWindow(GetDlgItem(data->panelWindow, IDC_VELOCITY_SLIDER), usable);
    SetReadoutColour(data->panelWindow, IDC_VELOCITY_READOUT, usable);
}

void ReadDecimals(AxisPanelData* data)
{
    TavroScale scale = {};
    if (g_tavro.TavroGetScale(data->handle, static_cast<short>(data->axis), &scale) != 0)
        scale = TavroScale{};
    data->decimals = ReadoutDecimals(scale.positionScale);
}

// Remembers the status word; true when it equals the one of the last poll.
bool StoreStatusWord(AxisPanelData* data, DWORD status)
{
    const bool same = status == data->lastStatus;
    data->lastStatus = status;
    return same;
}

bool IsStatusBitSet(const AxisPanelData* data, DWORD status, short bit)
{
    return g_tavro.TavroDecodeStatus(data->handle, status, bit) != 0;
}

int SliderPosition(HWND panel)
{
    return static_cast<int>(SendDlgItemMessageA(panel, IDC_VELOCITY_SLIDER, TBM_GETPOS, 0, 0));
}

// An override in use sets the axis velocity to the slider's share of its full velocity.
void ApplySliderVelocity(AxisPanelData* data, int slider)
{
    if (data->enabled && data->overrideState == 1 && HasController(data))
        g_tavro.TavroSetVelocity(data->handle, static_cast<short>(data->axis),
                                 data->velocity100 * slider / 100.0);
}

void ActivateVelocityOverride(AxisPanelData* data, int activate, int allowWarning)
{
    if (data->overrideState == activate)
        return;
    const int previous = data->overrideState;
    const short axis = static_cast<short>(data->axis);

    if (!activate) {
        data->overrideState = 0;
        // Only an override in use has changed the axis velocity.
        if (previous == 1 && HasController(data))
            g_tavro.TavroSetVelocity(data->handle, axis, data->velocity100);
        return;
    }

    int usable = 0;
    if (HasController(data)) {
        double velocity = 0.0;
        short profile = 0;
        TavroAxisConfig config = {};
        config.size = sizeof config;
        const bool haveVelocity = g_tavro.TavroGetVelocityEx(data->handle, axis, &velocity) == 0;
        if (g_tavro.TavroGetProfile(data->handle, axis, &profile) != 0)
            profile = 0;
        if (g_tavro.TavroGetAxisConfiguration(data->handle, axis, &config) != 0) {
            config = TavroAxisConfig{};
            config.size = sizeof config;
        }
        data->velocity100 = haveVelocity ? velocity : 0.0;
        usable = haveVelocity && profile == TAVRO_PROFILE_TRAPEZOIDAL;
        if (config.moduleType >= 4 && config.moduleType <= 7)
            usable = 0;
    }
    data->overrideState = usable;
    ShowOverrideState(data);
    ApplySliderVelocity(data, SliderPosition(data->panelWindow));
    if (!usable && HasController(data) && g_velocityWarn && allowWarning)
        ShowVelocityWarning(data->panelWindow, data->axis);
}

void Refresh(AxisPanelData* data)
{
    HWND panel = data->panelWindow;
    const bool enabled = data->enabled != 0;
    CheckDlgButton(panel, IDC_AXIS_BUTTON, enabled ? BST_CHECKED : BST_UNCHECKED);
    SetReadoutColour(panel, IDC_POSITION, enabled);
    static const int kAxisControls[] = {IDC_MOTOR_ON, IDC_MOTOR_OFF,  IDC_SETUP,
                                        IDC_SCALE,    IDC_DIST_LABEL, IDC_DISTANCE};
    for (int id : kAxisControls)
        EnableWindow(GetDlgItem(panel, id), enabled);
    EnableWindow(GetDlgItem(panel, IDC_ABS), enabled && !data->cycleMode);
    EnableWindow(GetDlgItem(panel, IDC_REL), enabled && !data->cycleMode);
    ShowOverrideState(data);
}

void SetCycleMode(AxisPanelData* data, int cycle)
{
    data->cycleMode = cycle;
    if (!data->enabled)
        return;
    EnableWindow(GetDlgItem(data->panelWindow, IDC_ABS), !cycle);
    EnableWindow(GetDlgItem(data->panelWindow, IDC_REL), !cycle);
}

void SetController(AxisPanelData* data, short handle)
{
    data->handle = handle;
    if (HasController(data))
        ReadDecimals(data);
}

// The typed distance; text with no number reads 0.0. False for a number that
// is not finite.
bool ReadDistance(HWND panel, double* distance)
{
    char text[32];
    text[0] = '\0';
    GetDlgItemTextA(panel, IDC_DISTANCE, text, sizeof text);
    *distance = strtod(text, nullptr);
    return std::isfinite(*distance);
}

// A distance that is not finite sends no move.
void Move(AxisPanelData* data, bool plus)
{
    double distance = 0.0;
    if (!ReadDistance(data->panelWindow, &distance))
        return;
    if (!plus)
        distance = -distance;
    const short axis = static_cast<short>(data->axis);
    if (IsDlgButtonChecked(data->panelWindow, IDC_REL) == BST_CHECKED || data->cycleMode)
        g_tavro.TavroMoveRelative(data->handle, axis, distance);
    else
        g_tavro.TavroMoveAbsolute(data->handle, axis, distance);
}

void ShowPosition(AxisPanelData* data)
{
    double position = 0.0;
    if (g_tavro.TavroGetPositionEx(data->handle, static_cast<short>(data->axis), &position) != 0)
        return;
    char text[64];
    snprintf(text, sizeof text, "%12.*f", data->decimals, position);
    SetDlgItemTextA(data->panelWindow, IDC_POSITION, text);
}

LRESULT Poll(AxisPanelData* data)
{
    HWND panel = data->panelWindow;
    const short axis = static_cast<short>(data->axis);
    int result = 0;
    if (HasController(data)) {
        const DWORD status = g_tavro.TavroGetStatus(data->handle, axis);
        const bool motorOn = IsStatusBitSet(data, status, TAVRO_STAT_MOTOR_ON);
        if (StoreStatusWord(data, status)) {
            if (data->enabled)
                EnableWindow(GetDlgItem(panel, IDC_MOTOR_OFF), motorOn);
            const bool error = IsStatusBitSet(data, status, TAVRO_STAT_ERROR);
            const bool limit = IsStatusBitSet(data, status, TAVRO_STAT_LIMIT_POS) ||
                               IsStatusBitSet(data, status, TAVRO_STAT_LIMIT_NEG);
            CheckDlgButton(panel, IDC_LAMP_ON, motorOn ? 1 : 0);
            CheckDlgButton(panel, IDC_LAMP_ERROR, error ? 1 : 0);
            CheckDlgButton(panel, IDC_LAMP_LIMIT, limit ? 1 : 0);
        }
        if (data->enabled)
            result = motorOn ? 1 : 0;
        ShowPosition(data);
        if (data->stopPending && g_tavro.TavroIsStopped(data->handle, axis, 0.0)) {
            // The axis has come to rest: take its position as the new target.
            if (motorOn)
                g_tavro.TavroEnableAxis(data->handle, axis, 1);
            data->stopPending = 0;
        }
    }

    const int slider = SliderPosition(panel);
    char text[16];
    snprintf(text, sizeof text, "%d%%", slider);
    SetDlgItemTextA(panel, IDC_VELOCITY_READOUT, text);
    ApplySliderVelocity(data, slider);
    return result;
}

void OnSetup(AxisPanelData* data)
{
    if (!HasController(data))
        return;
    const short axis = static_cast<short>(data->axis);
    if (!g_tavro.TavroIsStopped(data->handle, axis, 0.0)) {
        MessageBoxA(data->panelWindow, "Setup cannot be changed while the motor is moving.",
                    "Warning", MB_ICONEXCLAMATION);
        return;
    }
    ActivateVelocityOverride(data, 0, 0);
    const short changed = g_tavro.TavroDLG_ConfigureAxis(GetParent(data->panelWindow),
                                                         data->handle, axis, AXIS_DIALOG_FLAGS,
                                                         nullptr);
    // Unchanged settings need no second warning, but the override comes back.
    ActivateVelocityOverride(data, 1, changed == 0 ? 1 : 0);
}

void ToggleEnabled(AxisPanelData* data)
{
    HWND panel = data->panelWindow;
    data->enabled = IsDlgButtonChecked(panel, IDC_AXIS_BUTTON) == BST_CHECKED ? 0 : 1;
    SendMessageA(panel, AXM_REFRESH, 0, 0);
}

void OnMotorOn(AxisPanelData* data)
{
    if (!HasController(data))
        return;
    g_tavro.TavroEnableAxis(data->handle, static_cast<short>(data->axis), 1);
    ReadDecimals(data);
}

void OnMotorOff(AxisPanelData* data)
{
    if (HasController(data))
        g_tavro.TavroEnableAxis(data->handle, static_cast<short>(data->axis), 0);
}

void OnScale(AxisPanelData* data)
{
    if (HasController(data))
        g_tavro.TavroDLG_Scaling(GetParent(data->panelWindow), data->handle,
                                 static_cast<short>(data->axis), AXIS_DIALOG_FLAGS, nullptr);
}

void OnCommand(AxisPanelData* data, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    switch (id) {
    case IDC_AXIS_BUTTON: ToggleEnabled(data); break;
    case IDC_MOTOR_ON: OnMotorOn(data); break;
    case IDC_MOTOR_OFF: OnMotorOff(data); break;
    case IDC_SETUP: OnSetup(data); break;
    case IDC_SCALE: OnScale(data); break;
    case IDC_ABS:
    case IDC_REL: CheckRadioButton(data->panelWindow, IDC_ABS, IDC_REL, id); break;
    default: break;
    }
}

// Commands of the bar; each acts only on an enabled axis of an open controller.
LRESULT OnBarCommand(AxisPanelData* data, UINT message, WPARAM wParam)
{
    if (!data->enabled || !HasController(data))
        return 0;
    const short axis = static_cast<short>(data->axis);
    switch (message) {
    case AXM_ABORT: g_tavro.TavroAbort(data->handle, axis); break;
    case AXM_HOME: g_tavro.TavroMoveAbsolute(data->handle, axis, 0.0); break;
    case AXM_MOVE: Move(data, wParam != 0); break;
    case AXM_ENABLEMOTOR:
        g_tavro.TavroEnableAxis(data->handle, axis, static_cast<short>(LOWORD(wParam)));
        break;
    case AXM_STOP:
        g_tavro.TavroStop(data->handle, axis);
        data->stopPending = 1;
        break;
    case AXM_ZERO: g_tavro.TavroSetPosition(data->handle, axis, 0.0); break;
    default: break;
    }
    return 0;
}

} // namespace

int GetVelocityWarn()
{
    return g_velocityWarn;
}

void SetVelocityWarn(int flag)
{
    g_velocityWarn = flag;
}

int ReadoutDecimals(double scale)
{
    const double magnitude = std::fabs(scale);
    if (!(magnitude > 0.0) || !std::isfinite(magnitude))
        return 0;
    const double digits = std::trunc(std::log10(magnitude) + 0.99);
    if (digits < 0.0)
        return 0;
    return digits > kMaxDecimals ? kMaxDecimals : static_cast<int>(digits);
}

LRESULT CALLBACK AxisPanelWndProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(panel, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY: OnDestroy(panel); return 0;
    default: break;
    }
    AxisPanelData* data = DataOf(panel);
    if (!data)
        return DefWindowProcA(panel, message, wParam, lParam);

    switch (message) {
    case WM_CLOSE: DestroyWindow(panel); return 0;
    case WM_COMMAND: OnCommand(data, wParam); return 0;
    case AXM_ACTIVATE:
        ActivateVelocityOverride(data, wParam ? 1 : 0, lParam != 0);
        return 0;
    case AXM_SETCYCLE: SetCycleMode(data, wParam ? 1 : 0); return 0;
    case AXM_REFRESH: Refresh(data); return 0;
    case AXM_GETVELWARN: return g_velocityWarn;
    case AXM_SETCONTROLLER: SetController(data, static_cast<short>(LOWORD(wParam))); return 0;
    case AXM_LOADSETTINGS: LoadAxisSettings(data, reinterpret_cast<HKEY>(lParam)); return 0;
    case AXM_SAVESETTINGS: SaveAxisSettings(data, reinterpret_cast<HKEY>(lParam)); return 0;
    case AXM_SETVELWARN: g_velocityWarn = static_cast<int>(lParam); return 0;
    case AXM_POLL: return Poll(data);
    case AXM_ABORT:
    case AXM_HOME:
    case AXM_MOVE:
    case AXM_ENABLEMOTOR:
    case AXM_STOP:
    case AXM_ZERO: return OnBarCommand(data, message, wParam);
    default: return DefWindowProcA(panel, message, wParam, lParam);
    }
}
