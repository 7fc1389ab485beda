// Sorvik's main window: start-up, tabs, menu commands, controller switch and
// closing.
#include "main_window.h"

#include <commctrl.h>
#include <cstdio>

#include "configuration.h"
#include "controller_choice.h"
#include "digital_app_data.h"
#include "help.h"
#include "option_parser.h"
#include "page_window.h"
#include "resource.h"
#include "tavro_binding.h"
#include "window_utils.h"

const char kMainWindowClass[] = "DigitalTestPanel";

namespace {

const char kTitle[] = "Digital I/O Test Panel";
const char kHelpFile[] = "digital.hlp";
const int kMainWidth = 600;
const int kMainHeight = 410;
const int kCommandWords = 32;
const UINT kQuestionStyle = MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2;

AppData* GetAppData(HWND window)
{
    return reinterpret_cast<AppData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND PageWindow(HWND mainWindow)
{
    return GetDlgItem(mainWindow, IDC_PAGE_WINDOW);
}

HWND TabControl(HWND mainWindow)
{
    return GetDlgItem(mainWindow, IDC_TAB_CONTROL);
}

bool Ask(HWND owner, const char* text, const char* caption)
{
    return MessageBoxA(owner, text, caption, kQuestionStyle) == IDYES;
}

void LoadLabel(int stringId, char* label, int size)
{
    label[0] = '\0';
    LoadStringA(GetModuleHandleA(nullptr), stringId, label, size);
}

bool SetTabLabel(HWND tabs, int index, int stringId)
{
    char label[256];
    LoadLabel(stringId, label, sizeof label);
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    return SendMessageA(tabs, TCM_SETITEMA, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

bool InsertTab(HWND tabs, int index, int stringId)
{
    char label[256];
    LoadLabel(stringId, label, sizeof label);
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.iImage = -1;
    item.pszText = label;
    return SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)) != -1;
}

void ShowVersionMessage(const char* library)
{
    char text[256];
    snprintf(text, sizeof text, "This application requires version %d.%d.%d or\nlater of the %s!", 3, 4, 0,
             library);
    MessageBoxA(nullptr, text, kMainWindowClass, MB_ICONERROR);
}

// Releases the record: the page window and its timer first, as they borrow
// it, then the record itself, which closes the controller.
void ReleaseAppData(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    HWND pageWindow = PageWindow(mainWindow);
    if (pageWindow)
        DestroyWindow(pageWindow);
    delete app;
    SetWindowLongPtrA(mainWindow, GWLP_USERDATA, 0);
}

void ApplyCommandLine(AppData* app, char* commandLine)
{
    static const LongOption kOptions[] = {
        {"board", OPTION_REQUIRED_ARGUMENT, nullptr, 'b'},
        {"page", OPTION_REQUIRED_ARGUMENT, nullptr, 'p'},
        {nullptr, 0, nullptr, 0},
    };
    char* words[kCommandWords];
    const int count = SplitCommandLine(commandLine, words, kCommandWords);
    OptionVerbose = 0;
    int option;
    while ((option = GetOptionLong(count, words, "b:p:", kOptions, nullptr)) != -1) {
        long value = 0;
        if (!ParseOptionNumber(OptionArgument, &value))
            continue;
        if (option == 'b')
            app->SetControllerID(static_cast<short>(value));
        else if (option == 'p' && value >= 0 && value < MAX_PAGES)
            app->currentPage = static_cast<int>(value);
    }
}

// After every accepted open: power-on state, poll period, then the stored
// configuration or the controller's own.
void ShowOpenedController(HWND mainWindow, AppData* app)
{
    ResetAllChannels(mainWindow);
    StartPollTimer(PageWindow(mainWindow));
    app->dirty = false;
    if (app->AutoConfig())
        RestoreConfiguration(mainWindow);
    else
        RefreshPanel(mainWindow);
}

void LabelAllTabs(HWND mainWindow, int firstString)
{
    HWND tabs = TabControl(mainWindow);
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count && index < MAX_PAGES; ++index)
        SetTabLabel(tabs, index, firstString + index);
}

LRESULT OnCreate(HWND window)
{
    AppData* app = new AppData(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    app->RestoreSettings();
    return 0;
}

void OnSize(HWND window, int width, int height)
{
    RECT display = {0, 0, width, height};
    HWND tabs = TabControl(window);
    HWND pageWindow = PageWindow(window);
    if (!tabs || !pageWindow)
        return;
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    HDWP positions = BeginDeferWindowPos(2);
    if (positions)
        positions = DeferWindowPos(positions, tabs, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    if (positions)
        positions = DeferWindowPos(positions, pageWindow, HWND_TOP, display.left, display.top,
                                   display.right - display.left, display.bottom - display.top, 0);
    if (positions)
        EndDeferWindowPos(positions);
}

void OnNotify(HWND window, const NMHDR* header)
{
    if (header->idFrom != IDC_TAB_CONTROL || header->code != static_cast<UINT>(TCN_SELCHANGE))
        return;
    AppData* app = GetAppData(window);
    app->currentPage = static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0));
    RedrawPage(PageWindow(window));
}

void OnRestoreConfiguration(HWND window, AppData* app)
{
    if (app->Handle() <= 0)
        return;
    if (Ask(window, "Restore Digital I/O Configuration from .ini file.\n\n\tDo you want to continue?",
            "Restore Configuration"))
        RestoreConfiguration(window);
}

void OnSaveConfiguration(AppData* app)
{
    if (app->Handle() <= 0)
        return;
    g_tavro.TavroDLG_SaveDigitalIO(app->Handle(), 1, static_cast<short>(app->DigitalChannelCount()), nullptr);
    app->dirty = false;
}

void OnAutoConfigure(HWND window, AppData* app)
{
    app->SetAutoConfig(app->AutoConfig() == 0 ? 1 : 0);
    CheckMenuItem(GetMenu(window), IDM_AUTO_CONFIG, app->AutoConfig() ? MF_CHECKED : MF_UNCHECKED);
}

void OnResetAll(HWND window, AppData* app)
{
    if (app->Handle() <= 0)
        return;
    if (Ask(window, "All Digital I/O Channels will be restored to Power On State.\n\n\tDo you want to continue?",
            "Reset All Channels")) {
        ResetAllChannels(window);
        RefreshPanel(window);
    }
}

void OnSelectController(HWND window, AppData* app)
{
    if (app->dirty && app->Handle() > 0 &&
        Ask(window,
            "Do you want to save Digital I/O configuration of \nthe current controller before switching "
            "to another controller?\n\n",
            "Save Configuration"))
        g_tavro.TavroDLG_SaveDigitalIO(app->Handle(), 0, 0, nullptr);

    const short id = g_tavro.TavroDLG_SelectController(nullptr, app->ControllerID(), 0, 0);
    if (id < 0)
        return;
    if (OpenControllerWithChoice(app, id) < 1) {
        // No controller is left open: the old pages stay, inert; nothing polls.
        StartPollTimer(PageWindow(window));
        RedrawPage(PageWindow(window));
        return;
    }
    ShowOpenedController(window, app);
}

void OnControllerInfo(HWND window, AppData* app)
{
    if (app->Handle() > 0)
        g_tavro.TavroDLG_ControllerInfo(window, app->Handle(), 0, nullptr);
}

// Labels every tab by module (mode 0) or by channel range (mode 1).
void SetTabLabelMode(HWND window, AppData* app, int mode)
{
    HMENU menu = GetMenu(window);
    CheckMenuItem(menu, IDM_VIEW_MODULES, mode == 0 ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, IDM_VIEW_CHANNELS, mode == 1 ? MF_CHECKED : MF_UNCHECKED);
    app->tabLabelMode = mode;
    LabelAllTabs(window, mode == 0 ? IDS_TAB_MODULE_FIRST : IDS_TAB_RANGE_FIRST);
}

// False for commands this window does not handle.
bool OnCommand(HWND window, int id)
{
    AppData* app = GetAppData(window);
    if (!app)
        return false;
    switch (id) {
    case IDM_RESTORE_CONFIG: OnRestoreConfiguration(window, app); return true;
    case IDM_SAVE_CONFIG: OnSaveConfiguration(app); return true;
    case IDM_AUTO_CONFIG: OnAutoConfigure(window, app); return true;
    case IDM_RESET_ALL: OnResetAll(window, app); return true;
    case IDM_SELECT_CONTROLLER: OnSelectController(window, app); return true;
    case IDM_CONTROLLER_INFO: OnControllerInfo(window, app); return true;
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); return true;
    case IDM_VIEW_MODULES: SetTabLabelMode(window, app, 0); return true;
    case IDM_VIEW_CHANNELS: SetTabLabelMode(window, app, 1); return true;
    case IDM_HELP_TOPICS: ShowHelp(window, kHelpFile, HELP_INDEX, 0); return true;
    case IDM_ABOUT: g_tavro.TavroDLG_AboutBox(window, kTitle, 0); return true;
    }
    return false;
}

void OnClose(HWND window)
{
    AppData* app = GetAppData(window);
    if (app) {
        if (app->dirty && app->Handle() > 0 &&
            Ask(window, "Save Digital I/O Configuration to .ini file?\n\n", "Save Configuration"))
            g_tavro.TavroDLG_SaveDigitalIO(app->Handle(), 1, static_cast<short>(app->DigitalChannelCount()),
                                           nullptr);
        app->SaveSettings();
    }
    ShowHelp(window, kHelpFile, HELP_QUIT, 0);
    ReleaseAppData(window);
}

void OnDestroy(HWND window)
{
    // Only an abandoned start-up still holds the record here.
    ReleaseAppData(window);
    PostQuitMessage(0);
}

} // namespace

BOOL RegisterWindowClasses(HINSTANCE instance)
{
    WNDCLASSEXA main = {};
    main.cbSize = sizeof main;
    main.style = CS_HREDRAW | CS_VREDRAW;
    main.lpfnWndProc = MainWndProc;
    main.hInstance = instance;
    main.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SORVIK));
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    main.lpszMenuName = "DigitalIOMenu";
    main.lpszClassName = kMainWindowClass;
    if (!RegisterClassExA(&main))
        return FALSE;

    WNDCLASSEXA page = {};
    page.cbSize = sizeof page;
    page.lpfnWndProc = DisplayWndProc;
    page.cbWndExtra = sizeof(LONG_PTR);
    page.hInstance = instance;
    page.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    page.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    page.lpszClassName = kPageWindowClass;
    if (!RegisterClassExA(&page)) {
        UnregisterClassA(kMainWindowClass, instance);
        return FALSE;
    }
    return TRUE;
}

HWND CreateTabControl(HWND mainWindow)
{
    RECT client;
    GetClientRect(mainWindow, &client);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    HWND tabs = CreateChildWindow(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                                  client.right, client.bottom, mainWindow,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TAB_CONTROL)), instance,
                                  nullptr);
    if (!tabs)
        return nullptr;
    const AppData* app = GetAppData(mainWindow);
    int pages = app ? app->PageCount() : 0;
    if (pages > MAX_PAGES - 1)
        pages = MAX_PAGES - 1;
    for (int index = 0; index <= pages; ++index) {
        if (!InsertTab(tabs, index, IDS_TAB_MODULE_FIRST + index)) {
            DestroyWindow(tabs);
            return nullptr;
        }
    }
    return tabs;
}

void UpdateTabLabels(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    HWND tabs = TabControl(mainWindow);
    if (!app || !tabs)
        return;
    HMENU menu = GetMenu(mainWindow);
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    const int pages = PanelPageCount(app);
    const bool modular = app->Traits().modular;
    const int firstString = (modular && app->tabLabelMode == 0) ? IDS_TAB_MODULE_FIRST : IDS_TAB_RANGE_FIRST;

    SetTabLabel(tabs, 0, firstString);
    const UINT viewState = modular ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_VIEW_MODULES, MF_BYCOMMAND | viewState);
    EnableMenuItem(menu, IDM_VIEW_CHANNELS, MF_BYCOMMAND | viewState);
    DrawMenuBar(mainWindow);

    for (int index = count; index < pages; ++index)
        InsertTab(tabs, index, firstString + index);
    for (int index = count - 1; index >= pages; --index)
        SendMessageA(tabs, TCM_DELETEITEM, index, 0);
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand, char* commandLine)
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
    g_tavro.TavroDLG_Initialize();

    HWND window = CreateWindowExA(0, kMainWindowClass, kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth, kMainHeight, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return nullptr;
    if (!CreateTabControl(window)) {
        DestroyWindow(window);
        return nullptr;
    }
    if (!CreateWindowExA(0, kPageWindowClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PAGE_WINDOW)), instance, nullptr)) {
        DestroyWindow(window);
        return nullptr;
    }
    RECT client;
    GetClientRect(window, &client);
    OnSize(window, client.right, client.bottom);

    HMENU menu = GetMenu(window);
    EnableMenuItem(menu, IDM_RESTORE_CONFIG, MF_BYCOMMAND | MF_ENABLED);
    EnableMenuItem(menu, IDM_SAVE_CONFIG, MF_BYCOMMAND | MF_ENABLED);
    CheckMenuItem(menu, IDM_AUTO_CONFIG, MF_CHECKED);
    CheckMenuItem(menu, IDM_VIEW_MODULES, MF_CHECKED);

    AppData* app = GetAppData(window);
    ApplyCommandLine(app, commandLine);
    if (OpenControllerWithChoice(app, -1) < 1) {
        DestroyWindow(window);
        return nullptr;
    }
    CheckMenuItem(menu, IDM_AUTO_CONFIG, app->AutoConfig() ? MF_CHECKED : MF_UNCHECKED);
    ShowOpenedController(window, app);

    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return window;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_SIZE:
        OnSize(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_NOTIFY:
        OnNotify(window, reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam)))
            return 0;
        break;
    case WM_CLOSE:
        OnClose(window);
        break;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
