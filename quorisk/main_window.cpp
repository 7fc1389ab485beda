#include "main_window.h"

#include "control_panel.h"
#include "controller.h"
#include "gain_slider.h"
#include "help.h"
#include "option_parser.h"
#include "plot_refresh.h"
#include "printing.h"
#include "resource.h"
#include "settings.h"
#include "setup_dialogs.h"
#include "tavro_binding.h"
#include "tuning_data.h"
#include "tuning_files.h"
#include "vistrel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

const int PANEL_WIDTH = 220;
const int PLOT_GAP = 4;
const int MAX_READOUT_DECIMALS = 12;
const int MAX_COMMAND_WORDS = 32;

// Plot window style: child, visible, clipping its siblings, plus the plot
// class's own bit.
const DWORD PLOT_WINDOW_STYLE = 0x54000004;

void ShowVersionMessage(const char* library)
{
    char text[128];
    snprintf(text, sizeof(text), "This application requires version %d%d%d\nor later of the %s!", 3,
             5, 0, library);
    MessageBoxA(nullptr, text, PROGRAM_TITLE, MB_ICONERROR);
}

void ShowOpenError(HWND window, TuningWindowData* data)
{
    char error[128] = "";
    g_tavro.TavroTranslateErrorEx(data->controller, error, sizeof(error));
    error[sizeof(error) - 1] = '\0';
    char text[256];
    snprintf(text, sizeof(text), "Unable to open controller for the following reason:\n\nID %d  -  %s\n",
             data->ControllerID, error);
    MessageBoxA(window, text, PROGRAM_TITLE, MB_ICONWARNING);
}

void ReloadPanelSliders(TuningWindowData* data)
{
    if (data->panelWindow)
        ReloadSliders(data->panelWindow);
}

// --- WM_CREATE ---------------------------------------------------------------

void CreatePlotWindows(HWND window, TuningWindowData* data)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    for (HWND& plot : data->plotWindows) {
        plot = CreateWindowExA(WS_EX_CLIENTEDGE, PLOT_WINDOW_CLASS, nullptr, PLOT_WINDOW_STYLE, 0, 0,
                               0, 0, window, nullptr, instance, nullptr);
        SendMessageA(plot, PLM_SETXTITLE, 0, reinterpret_cast<LPARAM>("Time (ms)"));
        SendMessageA(plot, PLM_SETYTITLE, 0, reinterpret_cast<LPARAM>("Distance"));
    }
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    void* memory = operator new(sizeof(TuningWindowData), std::nothrow);
    if (!memory) {
        MessageBoxA(window, "Fatal Error: Cannot allocate memory for user window data.",
                    PROGRAM_TITLE, MB_ICONWARNING);
        return -1;
    }
    TuningWindowData* data = InitTuningWindowData(static_cast<TuningWindowData*>(memory));
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    CreatePlotWindows(window, data);
    data->modified = 0;
    data->mainWindow = window;
    LoadProgramSettings(data);
    if (data->AutoInit)
        CheckMenuItem(GetMenu(window), IDM_AUTO_INIT, MF_BYCOMMAND | MF_CHECKED);

    unsigned options = static_cast<unsigned>(reinterpret_cast<uintptr_t>(create->lpCreateParams));
    unsigned axis = options & 0xFFFF;
    unsigned board = (options >> 16) & 0xFFFF;
    // The axis is brought into range even when it came from the registry.
    SelectAxis(data, axis != AXIS_NOT_GIVEN ? static_cast<int>(axis) : data->Axis);
    if (board < BOARD_NOT_GIVEN)
        data->ControllerID = static_cast<int>(board);

    while (OpenController(data) <= 0) {
        if (data->controller < 0)
            ShowOpenError(window, data);
        short id = g_tavro.TavroDLG_SelectController(window, -1, 0, 0);
        data->ControllerID = id;
        if (id < 0)
            return 0;
    }
    double longest = ComputeCaptureTiming(&data->testSettings, data->controller,
                                          static_cast<short>(data->Axis), data->hasAdvancedCapture);
    if (longest > 0.0)
        data->testSettings.RecordTime = longest;
    LoadAxisSettings(window);
    ShareGantrySettings(data);
    SetGainFullScale(data);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return 0;
}

// --- WM_SIZE -------------------------------------------------------------------

void OnSize(HWND window, int width, int height)
{
    TuningWindowData* data = GetTuningData(window);
    if (!data)
        return;
    int k = CountPlotWindows(data);
    int n = k > 1 ? k : 1;
    bool multi = data->PlotStyle == PLOT_STYLE_MULTI;
    if (multi)
        n++;
    if (data->panelWindow)
        MoveWindow(data->panelWindow, 0, 0, PANEL_WIDTH, height, TRUE);
    int unit = (height - PLOT_GAP * n + PLOT_GAP) / n;
    if (unit < 0)
        unit = 0;
    int plotWidth = width - PANEL_WIDTH;
    int y = 0;
    for (int i = 0; i < PLOT_WINDOW_COUNT; i++) {
        HWND plot = data->plotWindows[i];
        if (i >= k) {
            EnableWindow(plot, FALSE);
            ShowWindow(plot, SW_HIDE);
            continue;
        }
        EnableWindow(plot, TRUE);
        ShowWindow(plot, SW_SHOW);
        int plotHeight = unit;
        if (multi && i == 0) {
            plotHeight = 2 * unit + PLOT_GAP;
            MoveWindow(plot, PANEL_WIDTH, y, plotWidth, plotHeight, TRUE);
            y += 2 * unit + 2 * PLOT_GAP;
        } else {
            MoveWindow(plot, PANEL_WIDTH, y, plotWidth, plotHeight, TRUE);
            y += unit + PLOT_GAP;
        }
        SetPlotGridDivisions(plot, plotWidth, plotHeight);
    }
    SetFocus(window);
}

// --- WM_TIMER ------------------------------------------------------------------

int ReadoutDecimals(double scale)
{
    double magnitude = std::fabs(scale);
    if (!(magnitude > 0.0) || !std::isfinite(magnitude))
        return 0;
    int decimals = static_cast<int>(std::log10(magnitude) + 0.99);
    return decimals > MAX_READOUT_DECIMALS ? MAX_READOUT_DECIMALS : decimals;
}

void ShowAxis(TuningWindowData* data)
{
    char text[32];
    if (GetGantryPartner(data) != 0)
        snprintf(text, sizeof(text), "%d  gantry", data->Axis);
    else
        snprintf(text, sizeof(text), "%u", static_cast<unsigned>(data->Axis));
    SetDlgItemTextA(data->panelWindow, IDC_AXIS_READOUT, text);
}

void ShowMotorState(TuningWindowData* data, DWORD status)
{
    HWND panel = data->panelWindow;
    short on = 0;
    short error = 0;
    if (data->controller > 0) {
        on = g_tavro.TavroDecodeStatus(data->controller, status, TAVRO_STAT_MOTOR_ON);
        error = g_tavro.TavroDecodeStatus(data->controller, status, TAVRO_STAT_ERROR);
    }
    EnableWindow(GetDlgItem(panel, IDC_MOTOR_OFF), on != 0);
    EnableWindow(GetDlgItem(panel, IDC_STEP_PLUS), on != 0);
    EnableWindow(GetDlgItem(panel, IDC_STEP_MINUS), on != 0);
    CheckDlgButton(panel, IDC_MOTOR_LAMP, on != 0 ? 1 : 0);
    if (error != 0)
        CheckDlgButton(panel, IDC_MOTOR_LAMP, 2);
}

// Touches a readout only when its value changed. With no controller open
// nothing is asked of the library: the axis is shown and the motor counts as
// off.
void OnTimer(HWND window)
{
    TuningWindowData* data = GetTuningData(window);
    if (!data || !data->panelWindow)
        return;
    short h = data->controller;
    short axis = static_cast<short>(data->Axis);
    if (data->Axis != data->lastAxisShown) {
        data->lastAxisShown = data->Axis;
        TavroScale scale = {};
        if (h > 0)
            g_tavro.TavroGetScale(h, axis, &scale);
        data->readoutDecimals = ReadoutDecimals(scale.positionScale);
        ShowAxis(data);
    }
    if (h > 0) {
        double position = 0.0;
        g_tavro.TavroGetPositionEx(h, axis, &position);
        if (position != data->lastPositionShown) {
            data->lastPositionShown = position;
            char text[128];
            snprintf(text, sizeof(text), "%.*f", data->readoutDecimals, position);
            SetDlgItemTextA(data->panelWindow, IDC_POSITION_READOUT, text);
        }
    }
    DWORD status = h > 0 ? g_tavro.TavroGetStatus(h, axis) : 0;
    if (status != data->lastStatusWord) {
        data->lastStatusWord = status;
        ShowMotorState(data, status);
    }
}

// --- WM_COMMAND ----------------------------------------------------------------

void OnSelectController(HWND window, TuningWindowData* data)
{
    short id = g_tavro.TavroDLG_SelectController(window, static_cast<short>(data->ControllerID), 0, 0);
    while (id >= 0) {
        SaveAxisSettings(window);
        data->ControllerID = id;
        if (data->controller > 0)
            g_tavro.TavroClose(data->controller);
        if (OpenController(data) > 0)
            break;
        if (data->controller < 0)
            ShowOpenError(window, data);
        id = g_tavro.TavroDLG_SelectController(window, static_cast<short>(data->ControllerID), 0, 0);
    }
    ShareGantrySettings(data);
    SetGainFullScale(data);
    ReloadPanelSliders(data);
    RelayoutMainWindow(window);
    RefreshPlots(window);
    data->lastAxisShown = -1;
}

void OnResetController(HWND window, TuningWindowData* data)
{
    if (MessageBoxA(window,
                    "This will reset all controller settings to their default values. Proceed?",
                    "Reset", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    g_tavro.TavroReset(data->controller, 0);
    ReloadPanelSliders(data);
    data->modified = 1;
}

void OnOpenCsv(HWND window)
{
    char name[MAX_PATH] = "*.csv";
    if (!ChooseFileToOpen(window, name, sizeof(name), 1) || name[0] == '\0')
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ImportCaptureCsv(window, name);
    RefreshPlots(window);
    SetCursor(previous);
}

void OnSaveCsv(HWND window)
{
    char name[MAX_PATH] = "";
    if (!ChooseFileToSave(window, name, sizeof(name), 1) || name[0] == '\0')
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ExportCaptureCsv(window, name);
    SetCursor(previous);
}

void OnAutoInit(HWND window, TuningWindowData* data)
{
    HMENU menu = GetMenu(window);
    if (GetMenuState(menu, IDM_AUTO_INIT, MF_BYCOMMAND) & MF_CHECKED) {
        CheckMenuItem(menu, IDM_AUTO_INIT, MF_BYCOMMAND | MF_UNCHECKED);
        data->AutoInit = 0;
        return;
    }
    CheckMenuItem(menu, IDM_AUTO_INIT, MF_BYCOMMAND | MF_CHECKED);
    data->AutoInit = 1;
    g_tavro.TavroDLG_RestoreAxis(data->controller, 0, 0, nullptr);
    ShareGantrySettings(data);
    ReloadPanelSliders(data);
}

void OnImportCommands(HWND window, TuningWindowData* data)
{
    char name[MAX_PATH] = "";
    if (!ChooseFileToOpen(window, name, sizeof(name), 0) || name[0] == '\0')
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    g_tavro.TavroReopen(data->controller, 1);
    g_tavro.TavroDLG_DownloadFile(window, data->controller, 0, name);
    g_tavro.TavroReopen(data->controller, 1);
    SetCursor(previous);
    ShareGantrySettings(data);
    ReloadPanelSliders(data);
    data->modified = 1;
}

void OnExportCommands(HWND window, TuningWindowData* data)
{
    if (data->controller <= 0) {
        MessageBoxA(window, "No controller is open; the command file was not written.",
                    PROGRAM_TITLE, MB_OK | MB_ICONERROR);
        return;
    }
    char name[MAX_PATH] = "";
    if (!ChooseFileToSave(window, name, sizeof(name), 0) || name[0] == '\0')
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    WriteTuningCommandFile(data->controller, name);
    SetCursor(previous);
}

void OnPrint(HWND window, TuningWindowData* data)
{
    if (!ShownAxisTested(data)) {
        MessageBoxA(window, "Cannot print - No tests have been performed", "Print Error",
                    MB_ICONERROR);
        return;
    }
    int error = PrintStepResponse(window);
    if (error == 0)
        return;
    char message[260] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(error), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), message,
                   sizeof(message), nullptr);
    char text[260];
    snprintf(text, sizeof(text), "%s", message);
    MessageBoxA(nullptr, text, "Printer Error", MB_ICONINFORMATION);
}

void OnAxisSetup(HWND window, TuningWindowData* data)
{
    if (g_tavro.TavroDLG_ConfigureAxis(window, data->controller, static_cast<short>(data->Axis), 0,
                                       nullptr) != 0)
        return;
    ShareGantrySettings(data);
    ReloadPanelSliders(data);
    data->modified = 1;
    data->lastAxisShown = -1;
}

void OnScalingSetup(HWND window, TuningWindowData* data)
{
    if (g_tavro.TavroDLG_Scaling(window, data->controller, static_cast<short>(data->Axis), 1,
                                 nullptr) != 0)
        return;
    ShareGantrySettings(data);
    data->modified = 1;
}

void OnSliderSetup(HWND window, TuningWindowData* data)
{
    data->sliderSetupMask = GAIN_BIT_P | GAIN_BIT_I | GAIN_BIT_D;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    DialogBoxParamA(instance, "PanelSetupDialog", window, PidSliderSetupDlgProc,
                    reinterpret_cast<LPARAM>(data));
}

void OnTestSetup(HWND window, TuningWindowData* data)
{
    if (ShowTestSetup(window) > 0) {
        RelayoutMainWindow(window);
        RefreshPlots(window);
        data->lastAxisShown = -1;
    }
}

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    TuningWindowData* data = GetTuningData(window);
    if (!data)
        return;
    switch (LOWORD(wParam)) {
    case IDM_SELECT_CONTROLLER:
        OnSelectController(window, data);
        break;
    case IDM_RESET_CONTROLLER:
        OnResetController(window, data);
        break;
    case IDM_OPEN:
        OnOpenCsv(window);
        break;
    case IDM_SAVE_AS:
        OnSaveCsv(window);
        break;
    case IDM_AUTO_INIT:
        OnAutoInit(window, data);
        break;
    case IDM_SAVE_AXIS_SETTINGS:
        g_tavro.TavroDLG_SaveAxis(data->controller, 0, 0, nullptr);
        data->modified = 0;
        break;
    case IDM_IMPORT_COMMANDS:
        OnImportCommands(window, data);
        break;
    case IDM_EXPORT_COMMANDS:
        OnExportCommands(window, data);
        break;
    case IDM_PRINT:
        OnPrint(window, data);
        break;
    case IDM_EXIT:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case IDM_AXIS_SETUP:
        OnAxisSetup(window, data);
        break;
    case IDM_SCALING_SETUP:
        OnScalingSetup(window, data);
        break;
    case IDM_SLIDER_SETUP:
        OnSliderSetup(window, data);
        break;
    case IDM_TEST_SETUP:
        OnTestSetup(window, data);
        break;
    case IDM_PLOT_SETUP:
        LumoConfigure(window, data->plotWindows, CountPlotWindows(data), 0, 0);
        break;
    case IDM_HELP_TOPICS:
        ShowHelp(window, HELP_FILE_NAME, HELP_INDEX, 0);
        break;
    case IDM_ABOUT:
        g_tavro.TavroDLG_AboutBox(window, PROGRAM_TITLE, 0);
        break;
    default:
        // Step, clear, zero and every other id belong to the panel.
        SendMessageA(data->panelWindow, WM_COMMAND, wParam, lParam);
        break;
    }
}

// --- shut-down -----------------------------------------------------------------

void OnClose(HWND window)
{
    TuningWindowData* data = GetTuningData(window);
    if (data) {
        SaveProgramSettings(data);
        SaveAxisSettings(window);
        ShowHelp(window, HELP_FILE_NAME, HELP_QUIT, 0);
        if (data->modified &&
            MessageBoxA(window,
                        "Do you wish to save the changes you\n have made to your tuning parameters?",
                        "Exit", MB_YESNO | MB_ICONQUESTION) == IDYES)
            g_tavro.TavroDLG_SaveAxis(data->controller, 0, 0, nullptr);
    }
    DestroyWindow(window);
}

// Leaves every axis in operating mode 2 and closes the controller.
void ReleaseController(TuningWindowData* data)
{
    if (data->controller <= 0)
        return;
    TavroBasicConfig basic = {};
    if (g_tavro.TavroGetConfiguration(data->controller, &basic) == TAVRO_OK) {
        for (int axis = 1; axis <= basic.axisCount; axis++)
            g_tavro.TavroSetOperatingMode(data->controller, static_cast<short>(axis), 0, 2);
    }
    g_tavro.TavroClose(data->controller);
    data->controller = 0;
}

void OnDestroy(HWND window)
{
    TuningWindowData* data = GetTuningData(window);
    if (data && data->readoutTimerOn && !KillTimer(window, READOUT_TIMER))
        MessageBoxA(window, "Could not stop Timer!", "Exit", MB_OK);
    if (data) {
        ReleaseController(data);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyTuningWindowData(data);
        operator delete(data);
    }
    PostQuitMessage(0);
}

void OnInitMenuPopup(HWND window, HMENU popup)
{
    TuningWindowData* data = GetTuningData(window);
    EnableMenuItem(popup, IDM_SAVE_AS,
                   MF_BYCOMMAND | (data && ShownAxisTested(data) ? MF_ENABLED : MF_GRAYED));
}

// Ends a start-up that fails after the main window exists.
HWND AbandonStartup(HWND window)
{
    DestroyWindow(window);
    return nullptr;
}

} // namespace

unsigned ParseTuningOptions(const char* commandLine)
{
    // The splitter cuts its text in place: work on a copy.
    std::vector<char> buffer;
    if (commandLine)
        buffer.assign(commandLine, commandLine + strlen(commandLine));
    buffer.push_back('\0');
    char* words[MAX_COMMAND_WORDS] = {};
    int count = SplitCommandLine(buffer.data(), words, MAX_COMMAND_WORDS);
    static const LongOption options[] = {
        {"axis", OPTION_REQUIRED_ARGUMENT, nullptr, 'a'},
        {"board", OPTION_REQUIRED_ARGUMENT, nullptr, 'b'},
        {nullptr, 0, nullptr, 0},
    };
    unsigned axis = AXIS_NOT_GIVEN;
    unsigned board = BOARD_NOT_GIVEN;
    OptionVerbose = 0;
    OptionIndex = 1;
    int option;
    while ((option = GetOptionLong(count, words, "a:b:", options, nullptr)) != -1) {
        long value = 0;
        if (option == 'a' && ParseOptionNumber(OptionArgument, &value))
            axis = static_cast<unsigned>(value) & 0xFFFF;
        else if (option == 'b' && ParseOptionNumber(OptionArgument, &value))
            board = static_cast<unsigned>(value) & 0xFFFF;
    }
    return axis | (board << 16);
}

ATOM RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSA slider = {};
    slider.lpfnWndProc = SliderWndProc;
    slider.hInstance = instance;
    slider.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    slider.lpszClassName = SLIDER_WINDOW_CLASS;
    if (!RegisterClassA(&slider))
        return 0;

    WNDCLASSA panel = {};
    panel.lpfnWndProc = PanelWndProc;
    panel.hInstance = instance;
    panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panel.lpszClassName = PANEL_WINDOW_CLASS;
    if (!RegisterClassA(&panel))
        return 0;

    WNDCLASSA main = {};
    main.style = CS_HREDRAW | CS_VREDRAW;
    main.lpfnWndProc = MainWndProc;
    main.hInstance = instance;
    main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QUORISK));
    main.hCursor = LoadCursor(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszMenuName = "TuneMenu";
    main.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassA(&main);
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand, const char* commandLine)
{
    LumoInitialize(instance);
    unsigned options = ParseTuningOptions(commandLine);
    if (BindTavroApi() != 0) {
        ShowVersionMessage("Tavro API");
        return nullptr;
    }
    if (BindTavroDialogs() != 0) {
        ShowVersionMessage("Tavro Dialogs");
        return nullptr;
    }
    return StartMainWindow(instance, showCommand, options);
}

HWND StartMainWindow(HINSTANCE instance, int showCommand, unsigned options)
{
    g_tavro.TavroDLG_Initialize();

    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, PROGRAM_TITLE,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr,
                                  nullptr, instance,
                                  reinterpret_cast<void*>(static_cast<uintptr_t>(options)));
    if (!window)
        return nullptr;
    TuningWindowData* data = GetTuningData(window);
    data->panelWindow = CreateWindowExA(0, PANEL_WINDOW_CLASS, nullptr, WS_CHILD | WS_VISIBLE, 0, 0,
                                        0, 0, window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PANEL)),
                                        instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    ReloadPanelSliders(data);
    while (!SetTimer(window, READOUT_TIMER, READOUT_PERIOD_MS, nullptr)) {
        if (MessageBoxA(window, "Too many clocks or timers!", PROGRAM_TITLE,
                        MB_ICONWARNING | MB_RETRYCANCEL) == IDCANCEL)
            return AbandonStartup(window);
    }
    data->readoutTimerOn = 1;
    EnableWindow(data->panelWindow, TRUE);
    return window;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        OnSize(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_SYSCOLORCHANGE: {
        TuningWindowData* data = GetTuningData(window);
        if (data && data->panelWindow)
            SendMessageA(data->panelWindow, WM_SYSCOLORCHANGE, 0, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = 640;
        info->ptMinTrackSize.y = 480;
        return 0;
    }
    case WM_COMMAND:
        OnCommand(window, wParam, lParam);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_INITMENUPOPUP:
        if (lParam != 0)
            return DefWindowProcA(window, message, wParam, lParam);
        OnInitMenuPopup(window, reinterpret_cast<HMENU>(wParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void SetPlotGridDivisions(HWND plot, int width, int height)
{
    SendMessageA(plot, PLM_SETYDIVISIONS, 0, height < 125 ? 2 : height < 250 ? 4 : 10);
    SendMessageA(plot, PLM_SETXDIVISIONS, 0, width < 200 ? 2 : width < 500 ? 4 : 10);
}

void RelayoutMainWindow(HWND mainWindow)
{
    RECT client;
    GetClientRect(mainWindow, &client);
    SendMessageA(mainWindow, WM_SIZE, 0, MAKELPARAM(client.right - client.left,
                                                    client.bottom - client.top));
}
