#include "control_panel.h"

#include "controller.h"
#include "gain_slider.h"
#include "plot_refresh.h"
#include "resource.h"
#include "settings.h"
#include "step_test.h"
#include "tavro_binding.h"
#include "tuning_data.h"

#include <cstdio>
#include <cstring>

namespace {

// The panel's own drawing objects.
struct PanelWindowData {
    HFONT font;
    HBRUSH brush;
};

// Creation value the trajectory lamp is given.
const int32_t TRAJECTORY_LAMP_STYLE = 0xDFDF;

const int PANEL_TOP_HEIGHT = 252;
const int SLIDER_TOP = 265;

PanelWindowData* GetPanelData(HWND panel)
{
    return reinterpret_cast<PanelWindowData*>(GetWindowLongPtrA(panel, GWLP_USERDATA));
}

TuningWindowData* GetRecord(HWND panel)
{
    return GetTuningData(GetParent(panel));
}

HFONT CreatePanelFont()
{
    LOGFONTA font = {};
    font.lfHeight = 15;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HWND AddControl(HWND panel, const char* className, const char* text, DWORD style, int id, int x,
                int y, int width, int height, HFONT font, void* param = nullptr)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(panel, GWLP_HINSTANCE));
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                   height, panel, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance, param);
    if (control && font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return control;
}

void AddSlider(HWND panel, const char* title, int id, GainSlider* gain, GainAccessFunction access,
               int gainBit, TuningWindowData* data, HFONT font)
{
    gain->access = access;
    SliderCreateBlock block = {gain, gainBit, data};
    AddControl(panel, SLIDER_WINDOW_CLASS, title, 0, id, 0, 0, 0, 0, font, &block);
}

void CreatePanelControls(HWND panel, HFONT font)
{
    TuningWindowData* data = GetRecord(panel);
    const int none = -1;
    AddControl(panel, "button", "", BS_GROUPBOX, none, 10, 0, 200, 82, nullptr);
    AddControl(panel, "button", "Axis", 0, IDC_AXIS_BUTTON, 20, 15, 60, 25, font);
    AddControl(panel, TAVRO_READOUT_CLASS, "", 2, IDC_AXIS_READOUT, 100, 15, 100, 24, nullptr);
    AddControl(panel, "static", "Position", 0, none, 30, 54, 60, 25, font);
    AddControl(panel, TAVRO_READOUT_CLASS, "", 2, IDC_POSITION_READOUT, 100, 50, 100, 24, nullptr);
    AddControl(panel, "button", "Motor", BS_GROUPBOX, none, 10, 83, 200, 46, font);
    AddControl(panel, TAVRO_LED_CLASS, "", 0, IDC_MOTOR_LAMP, 35, 105, 14, 14, nullptr);
    AddControl(panel, "button", "On", 0, IDC_MOTOR_ON, 70, 100, 60, 22, font);
    AddControl(panel, "button", "Off", 0, IDC_MOTOR_OFF, 140, 100, 60, 22, font);
    AddControl(panel, "button", "Trajectory Generator", BS_GROUPBOX, none, 10, 130, 200, 46, font);
    int32_t lampStyle = TRAJECTORY_LAMP_STYLE;
    AddControl(panel, TAVRO_LED_CLASS, "", 0, IDC_TRAJECTORY_LAMP, 35, 152, 14, 14, nullptr,
               &lampStyle);
    AddControl(panel, "button", "On", 0, IDC_TRAJECTORY_ON, 70, 147, 60, 22, font);
    AddControl(panel, "button", "Off", 0, IDC_TRAJECTORY_OFF, 140, 147, 60, 22, font);
    AddControl(panel, "button", "Test", BS_GROUPBOX, none, 10, 176, 200, 76, font);
    AddControl(panel, "button", "Step Plus", 0, IDC_STEP_PLUS, 20, 192, 85, 22, font);
    AddControl(panel, "button", "Step Minus", 0, IDC_STEP_MINUS, 115, 192, 85, 22, font);
    AddControl(panel, "button", "Clear", 0, IDC_CLEAR, 20, 220, 85, 22, font);
    AddControl(panel, "button", "Zero", 0, IDC_ZERO, 115, 220, 85, 22, font);
    AddControl(panel, "button", "", BS_GROUPBOX, IDC_SLIDER_GROUP, 0, 0, 0, 0, nullptr);
    if (!data)
        return;
    AddSlider(panel, "P", IDC_SLIDER_P, &data->propGain, AccessProportionalGain, GAIN_BIT_P, data,
              font);
    AddSlider(panel, "I", IDC_SLIDER_I, &data->intGain, AccessIntegralGain, GAIN_BIT_I, data, font);
    AddSlider(panel, "D", IDC_SLIDER_D, &data->derGain, AccessDerivativeGain, GAIN_BIT_D, data,
              font);
}

LRESULT OnCreate(HWND panel)
{
    PanelWindowData* state =
        new PanelWindowData{CreatePanelFont(), CreateSolidBrush(GetSysColor(COLOR_BTNFACE))};
    SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    CreatePanelControls(panel, state->font);
    UpdatePanelState(panel);
    return 0;
}

void OnSize(HWND panel, int height)
{
    HDC dc = GetDC(panel);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(panel, dc);
    int t = static_cast<short>(metrics.tmHeight);

    const int sliderIds[3] = {IDC_SLIDER_P, IDC_SLIDER_I, IDC_SLIDER_D};
    for (int i = 0; i < 3; i++)
        MoveWindow(GetDlgItem(panel, sliderIds[i]), 15 + 65 * i, SLIDER_TOP, 60,
                   height - (SLIDER_TOP + 7), TRUE);
    MoveWindow(GetDlgItem(panel, IDC_SLIDER_GROUP), 10, PANEL_TOP_HEIGHT, 200,
               height - t / 4 - PANEL_TOP_HEIGHT, TRUE);
}

void OnSysColorChange(HWND panel)
{
    PanelWindowData* state = GetPanelData(panel);
    DeleteObject(state->brush);
    state->brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
}

LRESULT OnControlColor(HWND panel, HDC dc)
{
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetPanelData(panel)->brush);
}

void OnAxis(HWND panel, TuningWindowData* data)
{
    HWND mainWindow = GetParent(panel);
    TavroBasicConfig basic = {};
    g_tavro.TavroGetConfiguration(data->controller, &basic);
    int last = basic.axisCount < MAX_SERIES_AXES ? basic.axisCount : static_cast<int>(MAX_SERIES_AXES);
    SaveAxisSettings(mainWindow);
    SelectAxis(data, data->Axis < last ? data->Axis + 1 : 1);
    LoadAxisSettings(mainWindow);
    RefreshPlots(mainWindow);
    ReloadSliders(panel);
    UpdatePanelState(panel);
}

void OnMotor(TuningWindowData* data, short state)
{
    short axis = static_cast<short>(data->Axis);
    short partner = static_cast<short>(GetGantryPartner(data));
    g_tavro.TavroEnableAxis(data->controller, axis, state);
    if (partner != 0)
        g_tavro.TavroEnableAxis(data->controller, partner, state);
}

void OnTrajectory(HWND panel, TuningWindowData* data, uint8_t on)
{
    data->testSettings.Trajectory = on;
    data->testDone = 0;
    ResetPlotFormats(data);
    UpdatePanelState(panel);
}

void OnStep(HWND panel, TuningWindowData* data, bool plus)
{
    if (IsDlgButtonChecked(panel, IDC_MOTOR_LAMP) == BST_UNCHECKED)
        return;
    TavroAxisConfig axis = {};
    axis.size = 104;
    g_tavro.TavroGetAxisConfiguration(data->controller, static_cast<short>(data->Axis), &axis);
    if (axis.captureFlags != 0) {
        RunStepResponseTest(GetParent(panel), plus);
        return;
    }
    char module[32] = "";
    g_tavro.TavroDLG_ModuleDescEx(axis.moduleType, 1, module, sizeof(module));
    module[sizeof(module) - 1] = '\0';
    char text[128];
    snprintf(text, sizeof(text), "The %s module is not supported by the Servo Tuning Program",
             module);
    MessageBoxA(nullptr, text, "Servo Tuning", MB_ICONERROR);
}

void OnClear(TuningWindowData* data)
{
    ResetPlotFormats(data);
    data->testDone = 0;
}

void OnZero(TuningWindowData* data)
{
    short partner = static_cast<short>(GetGantryPartner(data));
    g_tavro.TavroSetPosition(data->controller, static_cast<short>(data->Axis), 0.0);
    if (partner != 0)
        g_tavro.TavroSetPosition(data->controller, partner, 0.0);
}

void OnCommand(HWND panel, int id)
{
    TuningWindowData* data = GetRecord(panel);
    if (!data)
        return;
    switch (id) {
    case IDC_AXIS_BUTTON:
        OnAxis(panel, data);
        break;
    case IDC_MOTOR_ON:
        OnMotor(data, 1);
        break;
    case IDC_MOTOR_OFF:
        OnMotor(data, 0);
        break;
    case IDC_TRAJECTORY_ON:
        OnTrajectory(panel, data, 1);
        break;
    case IDC_TRAJECTORY_OFF:
        OnTrajectory(panel, data, 0);
        break;
    case IDC_STEP_PLUS:
    case IDC_STEP_MINUS:
        OnStep(panel, data, id == IDC_STEP_PLUS);
        break;
    case IDC_CLEAR:
        OnClear(data);
        break;
    case IDC_ZERO:
        OnZero(data);
        break;
    }
}

void OnDestroy(HWND panel)
{
    PanelWindowData* state = GetPanelData(panel);
    if (!state)
        return;
    SetWindowLongPtrA(panel, GWLP_USERDATA, 0);
    DeleteObject(state->brush);
    DeleteObject(state->font);
    delete state;
}

} // namespace

LRESULT CALLBACK PanelWndProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CREATE && !GetPanelData(panel))
        return DefWindowProcA(panel, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return OnCreate(panel);
    case WM_SIZE:
        OnSize(panel, HIWORD(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange(panel);
        return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return OnControlColor(panel, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        OnCommand(panel, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        OnDestroy(panel);
        return 0;
    default:
        return DefWindowProcA(panel, message, wParam, lParam);
    }
}

void UpdatePanelState(HWND panel)
{
    TuningWindowData* data = GetRecord(panel);
    if (!data)
        return;
    uint8_t trajectory = data->testSettings.Trajectory;
    g_tavro.TavroSetOperatingMode(data->controller, static_cast<short>(data->Axis), 0,
                                  trajectory ? 2 : 1);
    EnableWindow(GetDlgItem(panel, IDC_TRAJECTORY_ON), trajectory == 0);
    EnableWindow(GetDlgItem(panel, IDC_TRAJECTORY_OFF), trajectory != 0);
    CheckDlgButton(panel, IDC_TRAJECTORY_LAMP, trajectory ? 1 : 0);
}
