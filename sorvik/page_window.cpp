// The channel page window: controls of the 16 positions, polling and the
// per-channel digital I/O commands.
#include "page_window.h"

#include <cstdio>

#include "resource.h"
#include "tavro_binding.h"
#include "window_utils.h"

const char kPageWindowClass[] = "DisplayWindowClass";

namespace {

// Window extra bytes of the page window: its ChannelState.
const int kStateOffset = 0;

const UINT kFastPeriodMs = 110;
const UINT kSlowPeriodMs = 880;
const int kSlowControllerType = 5;
const DWORD kLampCreationValue = 0xFFFF;
const DWORD kReadoutStyle = 0x0001;

AppData* GetAppData(HWND window)
{
    return reinterpret_cast<AppData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

ChannelState* GetState(HWND pageWindow)
{
    return reinterpret_cast<ChannelState*>(GetWindowLongPtrA(pageWindow, kStateOffset));
}

// The current page is one the panel shows.
bool PageIsShown(const AppData* app)
{
    return app && app->currentPage >= 0 && app->currentPage < PanelPageCount(app);
}

// The controller is open and the current page is one the panel shows.
bool PageIsLive(const AppData* app)
{
    return PageIsShown(app) && app->Handle() > 0;
}

int ChannelNumber(int page, int position)
{
    return page * CHANNELS_PER_PAGE + position + 1;
}

// The configuration word of a channel; a failed query counts as nothing set.
unsigned short QueryConfig(const AppData* app, int channel)
{
    unsigned short word = 0;
    if (g_tavro.TavroGetDigitalIOConfig(app->Handle(), static_cast<short>(channel), &word) < 0)
        word = 0;
    return word;
}

void EnableItem(HWND window, int id, bool enable)
{
    EnableWindow(GetDlgItem(window, id), enable ? TRUE : FALSE);
}

void CreatePositionControls(HWND window, HINSTANCE instance, int position)
{
    const int x = 70 * (position % 8);
    const int y = 160 * (position / 8);
    auto id = [position](int base) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(base + position)); };
    DWORD lampValue = kLampCreationValue;

    CreateChildWindow(0, "button", "", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10 + x, 20 + y, 60, 140,
                      window, id(IDC_CHANNEL_FRAME_BASE), instance, nullptr);
    CreateChildWindow(0, "button", "Test", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 16 + x, 110 + y, 49, 40,
                      window, id(IDC_TEST_FRAME_BASE), instance, nullptr);
    CreateWindowExA(0, TAVRO_LED_CLASS, nullptr, WS_CHILD | WS_VISIBLE, 22 + x, 128 + y, 16, 16, window,
                    id(IDC_LAMP_BASE), instance, &lampValue);
    CreateWindowExA(0, TAVRO_READOUT_CLASS, "Inp", WS_CHILD | WS_VISIBLE | kReadoutStyle, 16 + x, 40 + y,
                    32, 16, window, id(IDC_DIRECTION_READOUT_BASE), instance, nullptr);
    CreateWindowExA(0, TAVRO_READOUT_CLASS, "Pos", WS_CHILD | WS_VISIBLE | kReadoutStyle, 16 + x, 65 + y,
                    32, 16, window, id(IDC_POLARITY_READOUT_BASE), instance, nullptr);
    CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, 49 + x,
                    90 + y, 16, 16, window, id(IDC_LATCH_SWITCH_BASE), instance, nullptr);
    CreateChildWindow(0, "static", "Latch", WS_CHILD | WS_VISIBLE, 17 + x, 91 + y, 32, 14, window,
                      id(IDC_LATCH_LABEL_BASE), instance, nullptr);
    CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE, 49 + x, 40 + y, 16, 16, window,
                    id(IDC_DIRECTION_BUTTON_BASE), instance, nullptr);
    CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE, 49 + x, 65 + y, 16, 16, window,
                    id(IDC_POLARITY_BUTTON_BASE), instance, nullptr);
    CreateWindowExA(0, "button", "", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_PUSHLIKE, 42 + x,
                    126 + y, 16, 16, window, id(IDC_OUTPUT_SWITCH_BASE), instance, nullptr);
}

void CreateChannelControls(HWND window)
{
    ResetChannelState(window);
    LoadChannelState(window);
    StartPollTimer(window);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    for (int position = 0; position < CHANNELS_PER_PAGE; ++position)
        CreatePositionControls(window, instance, position);
}

// A position whose channel cannot be used from the panel (beyond the
// controller's channels, reserved for a stepper axis, or no controller open):
// its buttons are disabled and nothing of a channel shown before at this
// position stays lit or checked.
void ShowInertChannel(HWND window, int position, const char* direction, const char* polarity)
{
    SetDlgItemTextA(window, IDC_DIRECTION_READOUT_BASE + position, direction);
    SetDlgItemTextA(window, IDC_POLARITY_READOUT_BASE + position, polarity);
    CheckDlgButton(window, IDC_LAMP_BASE + position, 0);
    CheckDlgButton(window, IDC_LATCH_SWITCH_BASE + position, BST_UNCHECKED);
    CheckDlgButton(window, IDC_OUTPUT_SWITCH_BASE + position, BST_UNCHECKED);
    for (int base : {IDC_POLARITY_BUTTON_BASE, IDC_DIRECTION_BUTTON_BASE, IDC_LATCH_LABEL_BASE,
                     IDC_LATCH_SWITCH_BASE, IDC_TEST_FRAME_BASE, IDC_OUTPUT_SWITCH_BASE})
        EnableItem(window, base + position, false);
}

void ShowChannel(HWND window, const AppData* app, const ChannelState* state, int position)
{
    const int page = app->currentPage;
    const int channel = ChannelNumber(page, position);
    const unsigned short word = QueryConfig(app, channel);
    if (word & TAVRO_DIO_STEPPER) {
        // Never polled: the lamp would keep another page's state.
        ShowInertChannel(window, position, "Stppr", "----");
        return;
    }

    const bool isOutput = state->isOutput[page][position] != 0;
    SetDlgItemTextA(window, IDC_DIRECTION_READOUT_BASE + position, isOutput ? "Out" : "Inp");
    EnableItem(window, IDC_DIRECTION_BUTTON_BASE + position, !(word & TAVRO_DIO_FIXED));
    SetDlgItemTextA(window, IDC_POLARITY_READOUT_BASE + position,
                    (word & TAVRO_DIO_ACTIVE_HIGH) ? "Pos" : "Neg");
    const bool latchable = (word & TAVRO_DIO_CAN_LATCH) && !isOutput;
    EnableItem(window, IDC_LATCH_LABEL_BASE + position, latchable);
    EnableItem(window, IDC_LATCH_SWITCH_BASE + position, latchable);
    CheckDlgButton(window, IDC_LATCH_SWITCH_BASE + position,
                   state->latchOn[page][position] ? BST_CHECKED : BST_UNCHECKED);
    EnableItem(window, IDC_POLARITY_BUTTON_BASE + position, true);
    EnableItem(window, IDC_TEST_FRAME_BASE + position, true);
    EnableItem(window, IDC_OUTPUT_SWITCH_BASE + position, isOutput);
    CheckDlgButton(window, IDC_OUTPUT_SWITCH_BASE + position,
                   state->outputOn[page][position] ? BST_CHECKED : BST_UNCHECKED);
}

LRESULT OnCreate(HWND window)
{
    SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(GetParent(window), GWLP_USERDATA));
    SetWindowLongPtrA(window, kStateOffset, reinterpret_cast<LONG_PTR>(new ChannelState()));
    CreateChannelControls(window);
    return 0;
}

void OnTimer(HWND window)
{
    const AppData* app = GetAppData(window);
    ChannelState* state = GetState(window);
    if (!PageIsLive(app) || !state)
        return;
    const int page = app->currentPage;
    for (int position = 0; position < CHANNELS_PER_PAGE; ++position) {
        const int channel = ChannelNumber(page, position);
        if (channel > app->DigitalChannelCount())
            break;
        if (QueryConfig(app, channel) & TAVRO_DIO_STEPPER)
            continue;
        const bool on = g_tavro.TavroGetDigitalIO(app->Handle(), static_cast<short>(channel)) != 0;
        CheckDlgButton(window, IDC_LAMP_BASE + position, on ? 1 : 0);
        const bool outputOn = on && state->isOutput[page][position];
        CheckDlgButton(window, IDC_OUTPUT_SWITCH_BASE + position, outputOn ? BST_CHECKED : BST_UNCHECKED);
        state->outputOn[page][position] = outputOn ? 1 : 0;
    }
}

void OnOutputSwitch(HWND window, AppData* app, ChannelState* state, int position, int channel)
{
    int& outputOn = state->outputOn[app->currentPage][position];
    outputOn = !outputOn;
    const bool checked = IsDlgButtonChecked(window, IDC_OUTPUT_SWITCH_BASE + position) == BST_CHECKED;
    CheckDlgButton(window, IDC_LAMP_BASE + position, checked ? 1 : 0);
    g_tavro.TavroEnableDigitalIO(app->Handle(), static_cast<short>(channel), checked ? 1 : 0);
}

void OnPolarityButton(HWND window, AppData* app, ChannelState* state, int position, int channel)
{
    int& positive = state->positive[app->currentPage][position];
    positive = !positive;
    SetDlgItemTextA(window, IDC_POLARITY_READOUT_BASE + position, positive ? "Pos" : "Neg");
    g_tavro.TavroConfigureDigitalIO(app->Handle(), static_cast<short>(channel),
                                    positive ? TAVRO_DIO_MODE_HIGH : TAVRO_DIO_MODE_LOW);
}

void OnLatchSwitch(HWND window, AppData* app, ChannelState* state, int position, int channel)
{
    int& latchOn = state->latchOn[app->currentPage][position];
    latchOn = !latchOn;
    const bool checked = IsDlgButtonChecked(window, IDC_LATCH_SWITCH_BASE + position) == BST_CHECKED;
    g_tavro.TavroConfigureDigitalIO(app->Handle(), static_cast<short>(channel),
                                    checked ? TAVRO_DIO_MODE_LATCH : TAVRO_DIO_MODE_INPUT);
}

void OnDirectionButton(HWND window, AppData* app, ChannelState* state, int position, int channel)
{
    const int page = app->currentPage;
    int& isOutput = state->isOutput[page][position];
    isOutput = !isOutput;
    SetDlgItemTextA(window, IDC_DIRECTION_READOUT_BASE + position, isOutput ? "Out" : "Inp");
    const unsigned short word = QueryConfig(app, channel);
    state->outputOn[page][position] = state->outputOn[page][position] && isOutput;
    state->latchOn[page][position] = state->latchOn[page][position] && !isOutput;
    EnableItem(window, IDC_OUTPUT_SWITCH_BASE + position, isOutput != 0);
    const bool latchable = (word & TAVRO_DIO_CAN_LATCH) && !isOutput;
    EnableItem(window, IDC_LATCH_SWITCH_BASE + position, latchable);
    EnableItem(window, IDC_LATCH_LABEL_BASE + position, latchable);
    CheckDlgButton(window, IDC_LATCH_SWITCH_BASE + position, BST_UNCHECKED);
    CheckDlgButton(window, IDC_OUTPUT_SWITCH_BASE + position, BST_UNCHECKED);
    const unsigned short mode =
        (isOutput ? TAVRO_DIO_MODE_OUTPUT : TAVRO_DIO_MODE_INPUT) |
        (state->positive[page][position] ? TAVRO_DIO_MODE_HIGH : TAVRO_DIO_MODE_LOW);
    g_tavro.TavroConfigureDigitalIO(app->Handle(), static_cast<short>(channel), mode);
}

void OnCommand(HWND window, int id)
{
    typedef void (*ChannelCommand)(HWND, AppData*, ChannelState*, int, int);
    struct { int base; ChannelCommand command; } const kCommands[] = {
        {IDC_OUTPUT_SWITCH_BASE, OnOutputSwitch},
        {IDC_POLARITY_BUTTON_BASE, OnPolarityButton},
        {IDC_LATCH_SWITCH_BASE, OnLatchSwitch},
        {IDC_DIRECTION_BUTTON_BASE, OnDirectionButton},
    };
    AppData* app = GetAppData(window);
    ChannelState* state = GetState(window);
    if (!PageIsLive(app) || !state)
        return;
    for (const auto& entry : kCommands) {
        const int position = id - entry.base;
        if (position < 0 || position >= CHANNELS_PER_PAGE)
            continue;
        const int channel = ChannelNumber(app->currentPage, position);
        // Disabled controls (absent, fixed or reserved channels) command nothing.
        if (channel > app->DigitalChannelCount() || !IsWindowEnabled(GetDlgItem(window, id)))
            return;
        entry.command(window, app, state, position, channel);
        app->dirty = true;
        return;
    }
}

void OnNcDestroy(HWND window)
{
    KillTimer(window, PAGE_TIMER);
    delete GetState(window);
    SetWindowLongPtrA(window, kStateOffset, 0);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

} // namespace

int PanelPageCount(const AppData* app)
{
    if (!app)
        return 1;
    const int pages = app->PageCount();
    if (pages < 1)
        return 1;
    return pages > MAX_PAGES ? MAX_PAGES : pages;
}

void StartPollTimer(HWND pageWindow)
{
    const AppData* app = GetAppData(pageWindow);
    if (!app || app->Handle() <= 0) {
        KillTimer(pageWindow, PAGE_TIMER);
        return;
    }
    const UINT period = app->ControllerType() == kSlowControllerType ? kSlowPeriodMs : kFastPeriodMs;
    SetTimer(pageWindow, PAGE_TIMER, period, nullptr);
}

void RedrawPage(HWND pageWindow)
{
    const AppData* app = GetAppData(pageWindow);
    const ChannelState* state = GetState(pageWindow);
    if (!PageIsShown(app) || !state)
        return;
    // With no controller open the page's channels are titled but inert, and
    // nothing is asked of the controller.
    const bool open = app->Handle() > 0;
    for (int position = 0; position < CHANNELS_PER_PAGE; ++position) {
        const int channel = ChannelNumber(app->currentPage, position);
        char title[48] = "";
        if (channel <= app->DigitalChannelCount())
            snprintf(title, sizeof title, "Ch  %d", channel);
        SetDlgItemTextA(pageWindow, IDC_CHANNEL_FRAME_BASE + position, title);
        if (open && title[0])
            ShowChannel(pageWindow, app, state, position);
        else
            ShowInertChannel(pageWindow, position, "", "");
    }
}

void ResetChannelState(HWND pageWindow)
{
    const AppData* app = GetAppData(pageWindow);
    ChannelState* state = GetState(pageWindow);
    if (!app || !state)
        return;
    for (int page = 0; page < MAX_PAGES; ++page) {
        for (int position = 0; position < CHANNELS_PER_PAGE; ++position) {
            state->isOutput[page][position] = 0;
            state->positive[page][position] = 1;
            state->latchOn[page][position] = 0;
            state->outputOn[page][position] = 0;
        }
    }
}

void LoadChannelState(HWND pageWindow, bool latches)
{
    const AppData* app = GetAppData(pageWindow);
    ChannelState* state = GetState(pageWindow);
    if (!app || !state || app->Handle() <= 0)
        return;
    const int pages = PanelPageCount(app);
    for (int page = 0; page < pages; ++page) {
        for (int position = 0; position < CHANNELS_PER_PAGE; ++position) {
            const int channel = ChannelNumber(page, position);
            if (channel > app->DigitalChannelCount())
                return;
            const unsigned short word = QueryConfig(app, channel);
            state->isOutput[page][position] = (word & TAVRO_DIO_OUTPUT) ? 1 : 0;
            state->positive[page][position] = (word & TAVRO_DIO_ACTIVE_HIGH) ? 1 : 0;
            if (latches)
                state->latchOn[page][position] =
                    (word & TAVRO_DIO_LATCHED) && !(word & TAVRO_DIO_OUTPUT) ? 1 : 0;
        }
    }
}

LRESULT CALLBACK DisplayWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        break;
    case WM_TIMER:
        if (wParam == PAGE_TIMER)
            OnTimer(window);
        break;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        break;
    case WM_NCDESTROY:
        OnNcDestroy(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
