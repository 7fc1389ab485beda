// Ambrel's main window: classes, start-up, the bar of move commands, the
// poll tick with back-and-forth cycling, menus and closing.
#include "main_window.h"

#include "axis_panel.h"
#include "help.h"
#include "resource.h"
#include "tavro_binding.h"
#include "warnings.h"
#include "window_utils.h"

#include <commctrl.h>

#include <cstdio>

namespace {

// The six commands that follow the motors-on state.
const int kMoveButtons[] = {IDC_MOVE_PLUS, IDC_MOVE_MINUS, IDC_STOP,
                            IDC_ABORT,     IDC_ALL_OFF,    IDC_HOME};

struct BarControl {
    int id;
    const char* text;
    DWORD style;
    int width, height;
    int x, yOffset; // y = 58 N + yOffset
};

const BarControl kBar[] = {
    {IDC_POINT_TO_POINT, "Point to Point", BS_RADIOBUTTON, 90, 14, 300, 22},
    {IDC_CYCLE, "Cycle", BS_RADIOBUTTON, 90, 14, 300, 46},
    {IDC_MOVE_PLUS, "&Move +", BS_PUSHBUTTON, 75, 24, 394, 16},
    {IDC_MOVE_MINUS, "Mo&ve -", BS_PUSHBUTTON, 75, 24, 394, 43},
    {IDC_STOP, "&Stop", BS_PUSHBUTTON, 75, 24, 471, 16},
    {IDC_ABORT, "&Abort", BS_PUSHBUTTON, 75, 24, 471, 43},
    {IDC_ZERO, "&Zero", BS_PUSHBUTTON, 75, 24, 548, 16},
    {IDC_HOME, "&Home", BS_PUSHBUTTON, 75, 24, 548, 43},
    {IDC_ALL_ON, "All &On", BS_PUSHBUTTON, 75, 24, 645, 16},
    {IDC_ALL_OFF, "All O&ff", BS_PUSHBUTTON, 75, 24, 645, 43},
};
const int kBarGroupX = 286, kBarGroupYOffset = 2, kBarGroupWidth = 450, kBarGroupHeight = 70;

MainWindowData* DataOf(HWND window)
{
    return reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool HasController(const MainWindowData* data)
{
    return data->handle > 0;
}

void ShowVersionMessage(const char* library)
{
    char text[128];
    snprintf(text, sizeof text, "This application requires version %d%d%d\nor later of the %s!", 3, 0,
             0, library);
    MessageBoxA(nullptr, text, AMBREL_TITLE, MB_ICONERROR);
}

void CreateAxisPanels(HWND window, MainWindowData* data, HINSTANCE instance)
{
    for (int i = 1; i <= MAX_AXES; ++i) {
        const int top = PANEL_PITCH * (i - 1);
        CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 6, top, 730, 64,
                        window, nullptr, instance, nullptr);
        data->panels[i - 1] = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, AXIS_PANEL_CLASS, "", WS_CHILD | WS_VISIBLE, 8, top + 9,
            AXIS_PANEL_WIDTH, AXIS_PANEL_HEIGHT, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PANEL_FIRST + i - 1)), instance,
            reinterpret_cast<void*>(static_cast<INT_PTR>(i)));
    }
}

void CreateBar(HWND window, HINSTANCE instance)
{
    CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, 0, kBarGroupWidth,
                    kBarGroupHeight, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_BAR_GROUP)), instance,
                    nullptr);
    for (const BarControl& control : kBar)
        CreateChildWindow(0, "button", control.text, WS_CHILD | WS_VISIBLE | control.style, 0, 0,
                          control.width, control.height, window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                          nullptr);
}

// Puts the bar below the shown panels.
void PlaceBar(HWND window, const MainWindowData* data)
{
    const int base = PANEL_PITCH * data->axisCount;
    const UINT flags = SWP_NOZORDER | SWP_NOSIZE;
    HWND group = GetDlgItem(window, IDC_BAR_GROUP);
    if (group)
        SetWindowPos(group, nullptr, kBarGroupX, base + kBarGroupYOffset, 0, 0, flags);
    for (const BarControl& control : kBar) {
        HWND item = GetDlgItem(window, control.id);
        if (item)
            SetWindowPos(item, nullptr, control.x, base + control.yOffset, 0, 0, flags);
    }
}

// Polls timer until one is had; false when the user gives up.
bool StartPollTimer(HWND window)
{
    while (!SetTimer(window, POLL_TIMER, POLL_PERIOD_MS, nullptr)) {
        if (MessageBoxA(window, "Too many clocks or timers!", AMBREL_TITLE,
                        MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
            return false;
    }
    return true;
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    auto* data = new MainWindowData;
    InitMainWindowData(data, window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));

    LoadProgramSettings(data, 0);
    CreateAxisPanels(window, data, create->hInstance);
    if (!RunStartupOpenLoop(data))
        return -1;
    CreateBar(window, create->hInstance);
    PlaceBar(window, data);

    const int mode = data->cycleMode ? IDC_CYCLE : IDC_POINT_TO_POINT;
    SendMessageA(window, WM_COMMAND, mode, reinterpret_cast<LPARAM>(GetDlgItem(window, mode)));
    CheckMenuItem(GetMenu(window), IDM_AUTO_INIT,
                  MF_BYCOMMAND | (data->autoInit ? MF_CHECKED : MF_UNCHECKED));

    if (!StartPollTimer(window))
        return -1;
    ShowWindow(window, SW_SHOW);
    return 0;
}

void OnDestroy(HWND window)
{
    MainWindowData* data = DataOf(window);
    if (data) {
        DestroyMainWindowData(data);
        delete data;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    PostQuitMessage(0);
}

void OnClose(HWND window, MainWindowData* data)
{
    if (!HasController(data) || g_tavro.TavroIsStopped(data->handle, 0, 0.0)) {
        DestroyWindow(window);
        return;
    }
    const int answer = MessageBoxA(
        window,
        "Exiting Ambrel will restore all motors to their 100% velocity settings.\n"
        "If motors are moving this can cause them to change speed abruptly. Click on\n"
        "OK to restore velocities and exit or Cancel to return to Ambrel.\n",
        AMBREL_TITLE, MB_OKCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDOK)
        DestroyWindow(window);
}

// Deactivates the overrides, runs `change` on the controller, activates again;
// `allowWarning` lets an axis whose override cannot be used say so.
template <typename Change>
void ChangeAxisSettings(MainWindowData* data, Change change, int allowWarning = 1)
{
    BroadcastToPanels(data->mainWindow, AXM_ACTIVATE, 0, 0);
    change();
    BroadcastToPanels(data->mainWindow, AXM_ACTIVATE, 1, allowWarning);
}

void InitializeAllAxes(MainWindowData* data)
{
    if (!HasController(data))
        return;
    ChangeAxisSettings(data, [data] {
        g_tavro.TavroDLG_RestoreAxis(data->handle, 0, AXIS_DIALOG_FLAGS, nullptr);
    });
}

void OnAutoInit(MainWindowData* data)
{
    data->autoInit = !data->autoInit;
    CheckMenuItem(GetMenu(data->mainWindow), IDM_AUTO_INIT,
                  MF_BYCOMMAND | (data->autoInit ? MF_CHECKED : MF_UNCHECKED));
    if (data->autoInit)
        InitializeAllAxes(data);
}

// The store keeps each axis's full velocity, not the slider's share of it.
// Only at rest: while the overrides are off an axis would run at its full
// velocity.
void OnSaveAxes(MainWindowData* data)
{
    if (!HasController(data))
        return;
    if (data->cycleDirection != 0 || !g_tavro.TavroIsStopped(data->handle, 0, 0.0)) {
        MessageBoxA(data->mainWindow, "Axis settings cannot be saved while a motor is moving.",
                    "Warning", MB_ICONEXCLAMATION);
        return;
    }
    ChangeAxisSettings(data, [data] { g_tavro.TavroDLG_SaveAxis(data->handle, 0, 0, nullptr); }, 0);
}

void OnControllerInfo(MainWindowData* data)
{
    if (HasController(data))
        g_tavro.TavroDLG_ControllerInfo(data->mainWindow, data->handle, 0, nullptr);
}

void OnResetController(MainWindowData* data)
{
    if (!HasController(data))
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ChangeAxisSettings(data, [data] {
        g_tavro.TavroReset(data->handle, 0);
        if (data->autoInit)
            g_tavro.TavroDLG_RestoreAxis(data->handle, 0, AXIS_DIALOG_FLAGS, nullptr);
    });
    SetCursor(previous);
}

void OnEnableWarnings(MainWindowData* data)
{
    data->stopWarn = 1;
    SendMessageA(data->panels[0], AXM_SETVELWARN, 0, 1);
}

void OnCycleMode(MainWindowData* data, int id)
{
    data->cycleMode = id == IDC_CYCLE ? 1 : 0;
    CheckRadioButton(data->mainWindow, IDC_POINT_TO_POINT, IDC_CYCLE, id);
    BroadcastToPanels(data->mainWindow, AXM_SETCYCLE, data->cycleMode, 0);
}

void OnMove(MainWindowData* data, int direction)
{
    if (data->cycleMode)
        data->cycleDirection = direction;
    BroadcastToPanels(data->mainWindow, AXM_MOVE, direction > 0 ? 1 : 0, 0);
}

// Stop, Abort, All On, All Off, Zero and Home end a running cycle.
void OnEndingCommand(MainWindowData* data, UINT message, WPARAM wParam)
{
    BroadcastToPanels(data->mainWindow, message, wParam, 0);
    data->cycleDirection = 0;
}

void OnStop(MainWindowData* data)
{
    OnEndingCommand(data, AXM_STOP, 0);
    if (data->stopWarn)
        ShowStopWarning(data);
}

void OnCommand(HWND window, MainWindowData* data, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    switch (id) {
    case IDM_AUTO_INIT: OnAutoInit(data); break;
    case IDM_INIT_AXES: InitializeAllAxes(data); break;
    case IDM_SAVE_AXES: OnSaveAxes(data); break;
    case IDM_CONTROLLER_INFO: OnControllerInfo(data); break;
    case IDM_SELECT_CONTROLLER: RunSwitchLoop(data); break;
    case IDM_RESET_CONTROLLER: OnResetController(data); break;
    case IDM_EXIT:
    case IDCANCEL: PostMessageA(window, WM_CLOSE, 0, 0); break;
    case IDM_HELP_TOPICS: ShowHelp(window, AMBREL_HELP_FILE, HELP_FINDER, 0); break;
    case IDM_ENABLE_WARNINGS: OnEnableWarnings(data); break;
    case IDM_ABOUT: g_tavro.TavroDLG_AboutBox(window, AMBREL_TITLE, 0); break;
    case IDC_POINT_TO_POINT:
    case IDC_CYCLE: OnCycleMode(data, id); break;
    case IDC_MOVE_PLUS: OnMove(data, +1); break;
    case IDC_MOVE_MINUS: OnMove(data, -1); break;
    case IDC_STOP: OnStop(data); break;
    case IDC_ABORT: OnEndingCommand(data, AXM_ABORT, 0); break;
    case IDC_ALL_ON: OnEndingCommand(data, AXM_ENABLEMOTOR, 1); break;
    case IDC_ALL_OFF: OnEndingCommand(data, AXM_ENABLEMOTOR, 0); break;
    case IDC_ZERO: OnEndingCommand(data, AXM_ZERO, 0); break;
    case IDC_HOME: OnEndingCommand(data, AXM_HOME, 0); break;
    default: break;
    }
}

void OnTimer(HWND window, MainWindowData* data)
{
    int sum = 0;
    for (int i = 0; i < data->axisCount; ++i)
        sum += static_cast<int>(SendMessageA(data->panels[i], AXM_POLL, 0, 0));
    if (sum != data->motorsOnCount) {
        for (int id : kMoveButtons)
            EnableWindow(GetDlgItem(window, id), sum != 0);
        data->motorsOnCount = sum;
    }
    if (data->cycleDirection != 0 && HasController(data) &&
        g_tavro.TavroIsStopped(data->handle, 0, 0.0)) {
        data->cycleDirection = -data->cycleDirection;
        BroadcastToPanels(window, AXM_MOVE, data->cycleDirection > 0 ? 1 : 0, 0);
    }
}

void OnInitMenuPopup(HWND window, MainWindowData* data, HMENU menu, LPARAM lParam)
{
    if (lParam == 1) {
        for (int id : kMoveButtons)
            EnableMenuItem(menu, id,
                           MF_BYCOMMAND |
                               (IsWindowEnabled(GetDlgItem(window, id)) ? MF_ENABLED : MF_GRAYED));
    } else if (lParam == 2) {
        const bool bothOn = data->stopWarn && SendMessageA(data->panels[0], AXM_GETVELWARN, 0, 0);
        EnableMenuItem(menu, IDM_ENABLE_WARNINGS, MF_BYCOMMAND | (bothOn ? MF_GRAYED : MF_ENABLED));
    }
}

void OnSetFont(HWND window, MainWindowData* data, WPARAM wParam, LPARAM lParam)
{
    data->font = reinterpret_cast<HFONT>(wParam);
    if (lParam)
        InvalidateRect(window, nullptr, FALSE);
}

} // namespace

void InitMainWindowData(MainWindowData* data, HWND mainWindow)
{
    data->autoInit = 0;
    data->cycleMode = 0;
    data->cycleDirection = 0;
    data->handle = 0;
    data->font = nullptr;
    data->mainWindow = mainWindow;
    for (HWND& panel : data->panels)
        panel = nullptr;
    data->axisCount = 0;
    data->controllerId = 0;
    data->motorsOnCount = 1;
    data->stopWarn = 1;
}

void BroadcastToPanels(HWND mainWindow, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainWindowData* data = DataOf(mainWindow);
    if (!data)
        return;
    for (int i = 0; i < data->axisCount && i < MAX_AXES; ++i)
        SendMessageA(data->panels[i], message, wParam, lParam);
}

ATOM RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSA panelClass = {};
    panelClass.lpfnWndProc = AxisPanelWndProc;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = AXIS_PANEL_CLASS;
    RegisterClassA(&panelClass);

    WNDCLASSA mainClass = {};
    mainClass.lpfnWndProc = MainWndProc;
    mainClass.hInstance = instance;
    mainClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_AMBREL));
    mainClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    mainClass.lpszMenuName = "AmbrelMenu";
    mainClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassA(&mainClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    InitCommonControls();
    if (BindTavroApi() != 0) {
        ShowVersionMessage("Tavro API");
        return nullptr;
    }
    if (BindTavroDialogs() != 0) {
        ShowVersionMessage("Tavro Dialogs");
        return nullptr;
    }
    return CreateChildWindow(WS_EX_WINDOWEDGE, MAIN_WINDOW_CLASS, AMBREL_TITLE,
                             WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, MAIN_WINDOW_WIDTH, 400,
                             nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY: OnDestroy(window); return 0;
    default: break;
    }
    MainWindowData* data = DataOf(window);
    if (!data)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_SIZE: PlaceBar(window, data); return 0;
    case WM_CLOSE: OnClose(window, data); return 0;
    case WM_SETFONT: OnSetFont(window, data, wParam, lParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data->font);
    case WM_COMMAND: OnCommand(window, data, wParam); return 0;
    case WM_TIMER: OnTimer(window, data); return 0;
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(window, data, reinterpret_cast<HMENU>(wParam), lParam);
        return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
