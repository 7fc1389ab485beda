// Pellovin's main window.
#include "main_window.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app_data.h"
#include "controller_choice.h"
#include "help.h"
#include "option_parser.h"
#include "page_window.h"
#include "resource.h"
#include "tavro_binding.h"
#include "window_utils.h"

const char kMainClassName[] = "AnalogTestPanel";
const char kPageClassName[] = "DisplayWindowClass";

namespace {

const char kHelpFile[] = "analog.hlp";
const char kNoAnalogText[] =
    "The selected motion controller does not have any Analog\nInput or Analog Output channels. "
    "Click Retry to select another\nmotion controller or Cancel to exit the Analog setup panel.";
const int kMainWidth = 621;
const int kMainHeight = 354;

bool HasAnalogChannels(const AppData* app)
{
    return app->AnalogInputCount() > 0 || app->AnalogOutputCount() > 0;
}

int AskAboutNoAnalogChannels(HWND window)
{
    return MessageBoxA(window, kNoAnalogText, "Analog", MB_RETRYCANCEL | MB_ICONWARNING);
}

// The page window a tab carries in its item parameter.
HWND TabPage(HWND tab, int index)
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!SendMessageA(tab, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<HWND>(item.lParam);
}

// The display area of the tab control over the main window's client area.
RECT PageRect(HWND window, HWND tab)
{
    RECT rect;
    GetClientRect(window, &rect);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void HideCurrentPage(HWND tab)
{
    HWND page = TabPage(tab, static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)));
    if (page) {
        EnableWindow(page, FALSE);
        ShowWindow(page, SW_HIDE);
    }
}

void ShowCurrentPage(HWND window, HWND tab)
{
    HWND page = TabPage(tab, static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0)));
    if (!page)
        return;
    RECT rect = PageRect(window, tab);
    EnableWindow(page, TRUE);
    ShowWindow(page, SW_SHOW);
    SetWindowPos(page, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, 0);
}

// Reads -b/--board into the record's controller id and -p/--page into
// `firstPage`; options without a usable number are ignored.
void ReadCommandLine(AppData* app, const char* commandLine, int* firstPage)
{
    const std::string line = commandLine ? commandLine : "";
    std::vector<char> text(line.c_str(), line.c_str() + line.size() + 1);
    char* words[32];
    int count = SplitCommandLine(text.data(), words, 32);
    static const LongOption options[] = {
        {"board", OPTION_REQUIRED_ARGUMENT, nullptr, 'b'},
        {"page", OPTION_REQUIRED_ARGUMENT, nullptr, 'p'},
        {nullptr, 0, nullptr, 0},
    };
    OptionVerbose = 0;
    OptionIndex = 1;
    int option;
    while ((option = GetOptionLong(count, words, "b:p:", options, nullptr)) != -1) {
        long value = 0;
        if (option == 'b' && ParseOptionNumber(OptionArgument, &value))
            app->SetControllerID(static_cast<short>(value));
        else if (option == 'p' && ParseOptionNumber(OptionArgument, &value))
            *firstPage = static_cast<int>(value);
    }
}

// Start-up after a failure: nothing open, nothing on screen.
HWND AbandonStartUp(HWND window)
{
    if (AppData* app = GetAppData(window)) {
        DestroyPages(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete app;
    }
    DestroyWindow(window);
    return nullptr;
}

// Opens a controller with analog channels, asking the user as needed; false
// when the user gave up.
bool OpenStartUpController(HWND window, AppData* app)
{
    int id = -1;
    for (;;) {
        if (OpenControllerWithChoice(app, id) < 1)
            return false;
        if (HasAnalogChannels(app))
            return true;
        if (AskAboutNoAnalogChannels(window) != IDRETRY)
            return false;
        id = g_tavro.TavroDLG_SelectController(window, -1, 0, 0);
        if (id < 0)
            return true; // keeps the controller without analog channels
    }
}

LRESULT OnCreate(HWND window)
{
    AppData* app = new AppData(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    app->RestoreSettings();
    return 0;
}

LRESULT OnSize(HWND window, WPARAM type, LPARAM size)
{
    AppData* app = GetAppData(window);
    if (type == SIZE_MINIMIZED || !app || !app->TabControl())
        return 0;
    HWND tab = app->TabControl();
    int current = static_cast<int>(SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    int count = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
    if (current < 0 || current >= count)
        return 0;
    HWND page = TabPage(tab, current);
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    RECT rect = {0, 0, width, height};
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    HDWP positions = BeginDeferWindowPos(2);
    if (positions)
        positions = DeferWindowPos(positions, tab, nullptr, 0, 0, width, height,
                                   SWP_NOMOVE | SWP_NOZORDER);
    if (positions && page)
        positions = DeferWindowPos(positions, page, nullptr, rect.left, rect.top,
                                   rect.right - rect.left, rect.bottom - rect.top, 0);
    if (positions)
        EndDeferWindowPos(positions);
    return 0;
}

void OnTabNotify(HWND window, const NMHDR* header)
{
    AppData* app = GetAppData(window);
    if (!app || header->hwndFrom != app->TabControl())
        return;
    if (header->code == TCN_SELCHANGING)
        HideCurrentPage(app->TabControl());
    else if (header->code == TCN_SELCHANGE)
        ShowCurrentPage(window, app->TabControl());
}

void OnDefaultOutputVoltages(HWND window, AppData* app)
{
    if (app->AnalogOutputCount() <= 0) {
        MessageBoxA(window, "No Outputs configured.", "Analog Outputs", MB_ICONWARNING | MB_OK);
        return;
    }
    if (MessageBoxA(window,
                    "Set all Output Voltages to default.\n\n+5V = 2.5\nDAC Counts = 2048\n"
                    "-10V to +10V = 0.000\n\nDo you want to continue?",
                    "Analog Outputs", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        SetDefaultOutputs(window);
}

void OnResetAll(HWND window, AppData* app)
{
    if (MessageBoxA(window, "All Channels restored to Power On state.\n\nDo you want to continue?",
                    "Reset All", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    HWND tab = app->TabControl();
    if (tab && SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0) > 0) {
        HideCurrentPage(tab);
        SendMessageA(tab, TCM_SETCURSEL, 0, 0);
        ShowCurrentPage(window, tab);
    }
    SetDefaultOutputs(window);
}

void OnSelectController(HWND window, AppData* app)
{
    SaveAllChannels(window);
    int id = g_tavro.TavroDLG_SelectController(nullptr, app->ControllerID(), 0, 0);
    // The selection has no owner: the window may have been closed meanwhile.
    if (!IsWindow(window) || GetAppData(window) != app || id < 0)
        return;
    // The outputs of the controller about to be closed go to mid-scale, as
    // they do when the program closes; their settings are already stored.
    SetDefaultOutputs(window);
    for (;;) {
        // A failed choice leaves no controller open and the old pages shown,
        // inert: their channels no longer reach any controller.
        if (OpenControllerWithChoice(app, id) < 1) {
            ShowPagesInert(window);
            return;
        }
        if (HasAnalogChannels(app))
            break;
        if (AskAboutNoAnalogChannels(window) != IDRETRY) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
        }
        id = g_tavro.TavroDLG_SelectController(window, -1, 0, 0);
        if (id < 0)
            break;
    }
    BuildPages(window, 0);
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    AppData* app = GetAppData(window);
    if (!app)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDM_DEFAULT_OUTPUTS:
        OnDefaultOutputVoltages(window, app);
        return 0;
    case IDM_RESET_ALL:
        OnResetAll(window, app);
        return 0;
    case IDM_SELECT_CONTROLLER:
        OnSelectController(window, app);
        return 0;
    case IDM_CONTROLLER_INFO:
        g_tavro.TavroDLG_ControllerInfo(window, app->Handle(), 0,
                                        "Currently Selected Controller's Information");
        return 0;
    case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case IDM_HELP_TOPICS:
        ShowHelp(window, kHelpFile, HELP_INDEX, 0);
        return 0;
    case IDM_ABOUT:
        g_tavro.TavroDLG_AboutBox(window, "Analog Test Panel", 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnModuleChanged(HWND window, WPARAM tabIndex)
{
    SaveAllChannels(window);
    BuildPages(window, static_cast<int>(tabIndex));
    return 0;
}

// Outputs to mid-scale, settings saved, pages and then the record freed.
LRESULT OnClose(HWND window)
{
    if (AppData* app = GetAppData(window)) {
        SetDefaultOutputs(window);
        app->SaveSettings();
        SaveAllChannels(window);
        ShowHelp(window, kHelpFile, HELP_QUIT, 0);
        DestroyPages(window);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete app;
    }
    DestroyWindow(window);
    return 0;
}

} // namespace

AppData* GetAppData(HWND mainWindow)
{
    return reinterpret_cast<AppData*>(GetWindowLongPtrA(mainWindow, GWLP_USERDATA));
}

BOOL RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSEXA main = {};
    main.cbSize = sizeof main;
    main.style = CS_HREDRAW | CS_VREDRAW;
    main.lpfnWndProc = MainWndProc;
    main.hInstance = instance;
    main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PELLOVIN));
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    main.lpszMenuName = "Analog_Menu";
    main.lpszClassName = kMainClassName;
    if (!RegisterClassExA(&main))
        return FALSE;

    WNDCLASSEXA page = {};
    page.cbSize = sizeof page;
    page.lpfnWndProc = DisplayWndProc;
    page.hInstance = instance;
    page.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    page.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    page.lpszClassName = kPageClassName;
    return RegisterClassExA(&page) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, int /*showCommand*/, const char* commandLine)
{
    InitCommonControls();
    char text[256];
    if (BindTavroApi() != 0) {
        snprintf(text, sizeof text, "This application requires version %d.%d.%d or\nlater of the Tavro API!", 3, 4, 0);
        MessageBoxA(nullptr, text, kMainClassName, MB_ICONERROR);
        return nullptr;
    }
    if (BindTavroDialogs() != 0) {
        snprintf(text, sizeof text, "This application requires version %d.%d.%d or\nlater of the Tavro Dialogs!", 3, 4, 0);
        MessageBoxA(nullptr, text, kMainClassName, MB_ICONERROR);
        return nullptr;
    }
    g_tavro.TavroDLG_Initialize();

    HWND window = CreateWindowExA(0, kMainClassName, "Analog Test Panel",
                                  WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth, kMainHeight, nullptr,
                                  nullptr, instance, nullptr);
    if (!window)
        return nullptr;
    AppData* app = GetAppData(window);
    if (!app)
        return AbandonStartUp(window);

    RECT client;
    GetClientRect(window, &client);
    HWND tab = CreateChildWindow(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                                 0, client.right, client.bottom, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TAB)), instance,
                                 nullptr);
    if (!tab)
        return AbandonStartUp(window);
    app->SetTabControl(tab);

    int firstPage = 0;
    ReadCommandLine(app, commandLine, &firstPage);
    if (!OpenStartUpController(window, app))
        return AbandonStartUp(window);
    BuildPages(window, firstPage);
    return window;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        return OnSize(window, wParam, lParam);
    case WM_NOTIFY:
        OnTabNotify(window, reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        return OnCommand(window, message, wParam, lParam);
    case APM_MODULECHANGED:
        OnModuleChanged(window, wParam);
        break;
    case WM_CLOSE:
        return OnClose(window);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void SetDefaultOutputs(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    for (ChannelGroup* group : app->Pages()) {
        for (AnalogChannel* channel : group->Channels()) {
            if (channel->IsInput())
                continue;
            const int mode = channel->DisplayMode();
            channel->SetDisplayMode(MODE_DAC_COUNTS);
            channel->Write(kDefaultOutputCounts, 0);
            channel->SetDisplayMode(mode);
        }
    }
}

void SaveAllChannels(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    for (ChannelGroup* group : app->Pages()) {
        for (AnalogChannel* channel : group->Channels())
            channel->Save(app->PagesControllerID(), app->IniPath());
        group->Save(app->PagesControllerID(), app->IniPath());
    }
}
