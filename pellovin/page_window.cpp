// The tab pages of analog channels and the page window that shows one.
#include "page_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "app_data.h"
#include "main_window.h"
#include "resource.h"
#include "setup_dialogs.h"
#include "tavro_binding.h"
#include "window_utils.h"

namespace {

const UINT_PTR PAGE_TIMER = 110;
const UINT kPagePeriodMs = 110;
const int kModuleChannels = 4;
const int kModuleResolutionBits = 12;
const char kReadoutClass[] = "TavroDLG_ReadoutWindowClass";
const DWORD kReadoutStyle = WS_CHILD | WS_VISIBLE | 0x0001;

const char* const kModuleTypeNames[] = {
    "Unknown Module Type",
    "Pelmo  4 Inputs and 4 Outputs",
    "Pelta  4 Inputs",
    "Pelzo  4 Outputs",
};

ChannelGroup* GroupOf(HWND page)
{
    return reinterpret_cast<ChannelGroup*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

HMENU ControlId(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// Lowest reference voltage the standard-inputs page accepts, by controller type.
double StandardMinimumReference(int controllerType)
{
    if (controllerType == 1)
        return 0.5;
    if (controllerType == 4 || controllerType == 5)
        return 4.0;
    return 0.0;
}

AnalogChannel* NewChannel(AppData* app, int number, bool isInput, int bits)
{
    AnalogChannel* channel = new AnalogChannel(app->Handle(), number, isInput);
    channel->SetConnection(app);
    channel->SetResolutionBits(bits);
    return channel;
}

ChannelGroup* BuildStandardInputs(AppData* app, int tab, int count)
{
    const ControllerTraits& traits = app->Traits();
    ChannelGroup* group = new ChannelGroup(tab, MODULE_STANDARD);
    // The minimum first: a stored reference below it is not taken.
    group->SetMinimumReference(StandardMinimumReference(traits.controllerType));
    group->Load(app->ControllerID(), app->IniPath());
    for (int number = 1; number <= count; ++number) {
        AnalogChannel* channel = NewChannel(app, number, true, traits.inputScale);
        channel->SetMaximumVolts(traits.inputMax);
        channel->SetMinimumVolts(traits.inputMin);
        channel->SetVoltsPerCount(VoltsPerCount(traits.inputMax - traits.inputMin, traits.inputScale));
        channel->SetVoltsOffset(traits.inputMin);
        channel->SetUserOffset(traits.inputMin);
        channel->Load(app->ControllerID(), app->IniPath());
        group->AddChannel(channel);
    }
    group->ScaleInputsToReference();
    return group;
}

ChannelGroup* BuildStandardOutputs(AppData* app, int tab, int count)
{
    ChannelGroup* group = new ChannelGroup(tab, MODULE_STANDARD);
    group->Load(app->ControllerID(), app->IniPath());
    for (int number = 1; number <= count; ++number) {
        AnalogChannel* channel = NewChannel(app, number, false, app->Traits().outputScale);
        channel->Load(app->ControllerID(), app->IniPath());
        group->AddChannel(channel);
    }
    return group;
}

ChannelGroup* BuildModule(AppData* app, int tab, int module, int standardInputs,
                          int standardOutputs)
{
    ChannelGroup* group = new ChannelGroup(tab, MODULE_UNKNOWN);
    group->Load(app->ControllerID(), app->IniPath());
    for (int i = 1; i <= kModuleChannels; ++i) {
        AnalogChannel* channel = NewChannel(app, standardInputs + kModuleChannels * module + i,
                                            true, kModuleResolutionBits);
        channel->Load(app->ControllerID(), app->IniPath());
        group->AddChannel(channel);
    }
    group->ScaleInputsToReference();
    for (int i = 1; i <= kModuleChannels; ++i) {
        AnalogChannel* channel = NewChannel(app, standardOutputs + kModuleChannels * module + i,
                                            false, kModuleResolutionBits);
        channel->Load(app->ControllerID(), app->IniPath());
        group->AddChannel(channel);
    }
    return group;
}

// Appends the group, makes its page window and its tab.
void AddPage(HWND mainWindow, AppData* app, ChannelGroup* group, const char* tabText, bool shown)
{
    app->Pages().push_back(group);
    const int tab = group->GroupIndex();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainWindow, GWLP_HINSTANCE));
    HWND page = CreateWindowExA(0, kPageClassName, nullptr,
                                shown ? WS_CHILD | WS_VISIBLE : WS_CHILD | WS_DISABLED, 0, 0, 0, 0,
                                mainWindow, ControlId(IDC_PAGE_FIRST + tab), instance, group);
    group->SetPageWindow(page);

    char text[256];
    snprintf(text, sizeof text, "%s", tabText);
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.iImage = -1;
    item.pszText = text;
    item.lParam = reinterpret_cast<LPARAM>(page);
    SendMessageA(app->TabControl(), TCM_INSERTITEMA, tab, reinterpret_cast<LPARAM>(&item));
}

void CreateReferenceControls(HWND page, HINSTANCE instance, const ChannelGroup* group)
{
    CreateChildWindow(0, "button", "Reference Voltage", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 4, 6,
                      142, 44, page, ControlId(IDC_REFERENCE_BOX), instance, nullptr);
    CreateWindowExA(0, kReadoutClass, "5.0000", kReadoutStyle, 32, 24, 70, 18, page,
                    ControlId(IDC_REFERENCE_READOUT), instance, nullptr);
    CreateChildWindow(0, "button", "...", WS_CHILD | WS_VISIBLE, 103, 24, 18, 18, page,
                      ControlId(IDC_REFERENCE_BUTTON), instance, nullptr);
    SetDlgItemDouble(page, IDC_REFERENCE_READOUT, group->ReferenceVoltage(), 4);
}

void CreateModuleControls(HWND page, HINSTANCE instance, const ChannelGroup* group)
{
    CreateChildWindow(0, "button", "Select Installed Module Type",
                      WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 156, 6, 242, 44, page,
                      ControlId(IDC_MODULE_BOX), instance, nullptr);
    HWND list = CreateChildWindow(0, "combobox", "",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 161, 22,
                                  230, 120, page, ControlId(IDC_MODULE_LIST), instance, nullptr);
    for (const char* name : kModuleTypeNames)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(list, CB_SETCURSEL, group->ModuleType(), 0);
}

// Group box, readout and Setup button of channel `index`, as block `block`.
void CreateChannelControls(HWND page, HINSTANCE instance, const AnalogChannel& channel, int index,
                           int block)
{
    const int x = 152 * (block % 4);
    const int y = 106 * (block / 4);
    char title[64];
    snprintf(title, sizeof title, channel.IsInput() ? "Analog Input %d" : "Analog Output %d",
             channel.ChannelNumber());
    CreateChildWindow(0, "button", title, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, x + 4, y + 66, 142,
                      91, page, ControlId(IDC_CHANNEL_BOX + index), instance, nullptr);
    CreateWindowExA(0, kReadoutClass, "", kReadoutStyle, x + 15, y + 90, 120, 20, page,
                    ControlId(IDC_CHANNEL_READOUT + index), instance, nullptr);
    CreateChildWindow(0, "button", "Setup", WS_CHILD | WS_VISIBLE, x + 49, y + 126, 50, 20, page,
                      ControlId(IDC_CHANNEL_SETUP + index), instance, nullptr);
}

LRESULT OnCreate(HWND page, const CREATESTRUCTA* create)
{
    ChannelGroup* group = static_cast<ChannelGroup*>(create->lpCreateParams);
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(group));
    SetTimer(page, PAGE_TIMER, kPagePeriodMs, nullptr);
    if (!group)
        return 0;
    HINSTANCE instance = create->hInstance;
    if (group->ModuleType() != MODULE_PELZO)
        CreateReferenceControls(page, instance, group);
    if (group->ModuleType() != MODULE_STANDARD)
        CreateModuleControls(page, instance, group);
    const std::vector<AnalogChannel*>& channels = group->Channels();
    int block = 0;
    for (size_t i = 0; i < channels.size(); ++i) {
        if (group->IsShown(*channels[i]))
            CreateChannelControls(page, instance, *channels[i], static_cast<int>(i), block++);
    }
    return 0;
}

// Only the enabled (shown) page reads its channels.
void OnTimer(HWND page)
{
    ChannelGroup* group = GroupOf(page);
    if (!group || !IsWindowEnabled(page))
        return;
    const std::vector<AnalogChannel*>& channels = group->Channels();
    for (size_t i = 0; i < channels.size(); ++i) {
        // A channel whose controller was closed has no value to show.
        char text[64] = "";
        if (channels[i]->IsLive())
            channels[i]->Format(text, sizeof text, true, 0);
        SetDlgItemTextA(page, IDC_CHANNEL_READOUT + static_cast<int>(i), text);
    }
}

void OnChannelSetup(HWND page, ChannelGroup* group, size_t index)
{
    if (index >= group->Channels().size())
        return;
    AnalogChannel* channel = group->Channels()[index];
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
    INT_PTR changed =
        channel->IsInput()
            ? DialogBoxParamA(instance, "InputSetupDlgBox", page, InputSetupDlgProc,
                              reinterpret_cast<LPARAM>(channel))
            : DialogBoxParamA(instance, "OutputSetupDlgBox", page, OutputSetupDlgProc,
                              reinterpret_cast<LPARAM>(channel));
    if (changed > 0)
        InvalidateRect(page, nullptr, TRUE);
}

void OnReference(HWND page, ChannelGroup* group)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(page, GWLP_HINSTANCE));
    if (DialogBoxParamA(instance, "ReferenceDlgBox", page, ReferenceDlgProc,
                        reinterpret_cast<LPARAM>(group)) > 0)
        SetDlgItemDouble(page, IDC_REFERENCE_READOUT, group->ReferenceVoltage(), 4);
}

void OnModuleSelected(HWND page, ChannelGroup* group)
{
    HWND list = GetDlgItem(page, IDC_MODULE_LIST);
    const int selection = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
    // An inert page (its list disabled) takes no module type.
    if (selection > 0 && IsWindowEnabled(list)) {
        group->SetModuleType(selection);
        PostMessageA(GetParent(page), APM_MODULECHANGED, group->GroupIndex(), 0);
        return;
    }
    if (selection == 0)
        MessageBoxA(page, "Please select a module type.", "Unknown Module Type",
                    MB_ICONQUESTION | MB_OK);
    SendMessageA(list, CB_SETCURSEL, group->ModuleType(), 0);
}

LRESULT OnCommand(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    ChannelGroup* group = GroupOf(page);
    const int id = LOWORD(wParam);
    if (group && id >= IDC_CHANNEL_SETUP && id < IDC_CHANNEL_SETUP + 100) {
        OnChannelSetup(page, group, static_cast<size_t>(id - IDC_CHANNEL_SETUP));
    } else if (group && id == IDC_REFERENCE_BUTTON) {
        OnReference(page, group);
        return 0;
    } else if (group && id == IDC_MODULE_LIST && HIWORD(wParam) == CBN_SELCHANGE) {
        OnModuleSelected(page, group);
    }
    return DefWindowProcA(page, message, wParam, lParam);
}

} // namespace

void BuildPages(HWND mainWindow, int requestedTab)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    DestroyPages(mainWindow);
    app->SetPagesControllerID(app->ControllerID());
    if (app->Handle() <= 0)
        return;

    TavroControllerConfig config = {};
    config.size = sizeof config;
    g_tavro.TavroGetConfigurationEx(app->Handle(), &config);
    const int modules = std::max(0, app->AnalogModuleCount());
    int standardInputs = config.analogInputs;
    int standardOutputs = config.analogOutputs;
    if (app->Traits().modular) {
        standardInputs -= kModuleChannels * modules;
        standardOutputs -= kModuleChannels * modules;
    }
    standardInputs = std::max(0, standardInputs);
    standardOutputs = std::max(0, standardOutputs);

    const int pageCount = (standardInputs > 0) + (standardOutputs > 0) + modules;
    const int shown = (requestedTab >= 0 && requestedTab < pageCount) ? requestedTab : 0;
    int tab = 0;
    if (standardInputs > 0) {
        AddPage(mainWindow, app, BuildStandardInputs(app, tab, standardInputs), "Standard Inputs",
                tab == shown);
        ++tab;
    }
    if (standardOutputs > 0) {
        AddPage(mainWindow, app, BuildStandardOutputs(app, tab, standardOutputs),
                "Standard Outputs", tab == shown);
        ++tab;
    }
    for (int module = 0; module < modules; ++module, ++tab) {
        char text[32];
        snprintf(text, sizeof text, "Module %d", module + 1);
        AddPage(mainWindow, app, BuildModule(app, tab, module, standardInputs, standardOutputs),
                text, tab == shown);
    }

    SendMessageA(app->TabControl(), TCM_SETCURSEL, shown, 0);
    RECT client;
    GetClientRect(mainWindow, &client);
    PostMessageA(mainWindow, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
}

void DestroyPages(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    for (ChannelGroup* group : app->Pages()) {
        if (group->PageWindow())
            DestroyWindow(group->PageWindow());
        delete group;
    }
    app->Pages().clear();
    if (app->TabControl())
        SendMessageA(app->TabControl(), TCM_DELETEALLITEMS, 0, 0);
}

void ShowPagesInert(HWND mainWindow)
{
    AppData* app = GetAppData(mainWindow);
    if (!app)
        return;
    for (ChannelGroup* group : app->Pages()) {
        HWND page = group->PageWindow();
        if (!page)
            continue;
        EnableWindow(GetDlgItem(page, IDC_REFERENCE_BUTTON), FALSE);
        EnableWindow(GetDlgItem(page, IDC_MODULE_LIST), FALSE);
        for (size_t i = 0; i < group->Channels().size(); ++i) {
            const int index = static_cast<int>(i);
            EnableWindow(GetDlgItem(page, IDC_CHANNEL_SETUP + index), FALSE);
            SetDlgItemTextA(page, IDC_CHANNEL_READOUT + index, "");
        }
    }
}

LRESULT CALLBACK DisplayWndProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(page, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        break;
    case WM_TIMER:
        if (wParam == PAGE_TIMER)
            OnTimer(page);
        return 0;
    case WM_COMMAND:
        return OnCommand(page, message, wParam, lParam);
    case WM_CLOSE:
    case WM_DESTROY:
        KillTimer(page, PAGE_TIMER);
        break;
    }
    return DefWindowProcA(page, message, wParam, lParam);
}
