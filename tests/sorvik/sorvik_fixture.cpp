#include "sorvik_fixture.h"

#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "main_window.h"
#include "option_parser.h"
#include "os_probes.h"
#include "resource.h"

using namespace testing_support;

void SorvikTest::SetUp()
{
    static const bool registered = RegisterWindowClasses(GetModuleHandleA(nullptr)) != FALSE;
    ASSERT_TRUE(registered);
    Answers();
    // The store's folder is found through shell32, looked up once loaded.
    LoadLibraryA("shell32.dll");
    OptionIndex = 1;
    ASSERT_EQ(TavroSim_Reload(nullptr), 0);
    TavroSim_ResetCallCounts();
    DeleteFileA(IniPath().c_str());
    for (int i = 0; i < TavroSim_ControllerCount(); ++i) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == 0)
            DeleteFileA(StorePath(info.id).c_str());
    }
}

void SorvikTest::TearDown()
{
    if (main_ && IsWindow(main_)) {
        Answers().Expect(IDNO);
        Close();
    }
    Answers();
    answers_.reset();
    DeleteFileA(IniPath().c_str());
}

DialogAnswerer& SorvikTest::Answers()
{
    // With a failure, every box the last answerer met.
    if (answers_ && HasFailure()) {
        for (const SeenDialog& seen : answers_->Seen())
            printf("box \"%s\": %s\n", seen.caption.c_str(), seen.text.c_str());
    }
    answers_.reset();
    answers_.reset(new DialogAnswerer());
    return *answers_;
}

void SorvikTest::WriteSettings(int autoConfig, int controllerId, const std::string& extra)
{
    WriteTextFile(IniPath(), "[Digital Panel]\r\nAutoConfig=" + std::to_string(autoConfig) +
                                 "\r\nControllerID=" + std::to_string(controllerId) + "\r\n" + extra);
}

HWND SorvikTest::Start(const std::string& commandLine)
{
    std::vector<char> text(commandLine.begin(), commandLine.end());
    text.push_back('\0');
    OptionIndex = 1;
    main_ = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOW, text.data());
    PumpFor(50);
    MSG message;  // an abandoned start-up posts its quit
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return main_;
}

void SorvikTest::Close()
{
    SendMessageA(main_, WM_CLOSE, 0, 0);
    PumpFor(20);
    MSG message;  // the quit posted by the main window
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

AppData* SorvikTest::App() const
{
    return reinterpret_cast<AppData*>(GetWindowLongPtrA(main_, GWLP_USERDATA));
}

HWND SorvikTest::Page() const { return GetDlgItem(main_, IDC_PAGE_WINDOW); }
HWND SorvikTest::Tabs() const { return GetDlgItem(main_, IDC_TAB_CONTROL); }
int SorvikTest::TabCount() const { return static_cast<int>(SendMessageA(Tabs(), TCM_GETITEMCOUNT, 0, 0)); }
void SorvikTest::Command(int id) { SendMessageA(main_, WM_COMMAND, id, 0); }
void SorvikTest::Click(int id) { SendMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0); }
std::string SorvikTest::ItemText(int id) const { return testing_support::ItemText(Page(), id); }
bool SorvikTest::Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Page(), id)) != FALSE; }
bool SorvikTest::Checked(int id) const { return SendMessageA(GetDlgItem(Page(), id), BM_GETCHECK, 0, 0) == 1; }
UINT SorvikTest::MenuState(int id) const { return GetMenuState(GetMenu(main_), id, MF_BYCOMMAND); }

std::string SorvikTest::TabLabel(int index) const
{
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Tabs(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

void SorvikTest::SelectTab(int index)
{
    SendMessageA(Tabs(), TCM_SETCURSEL, index, 0);
    NMHDR header = {Tabs(), IDC_TAB_CONTROL, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(main_, WM_NOTIFY, IDC_TAB_CONTROL, reinterpret_cast<LPARAM>(&header));
}

int SorvikTest::FindChannel(short id, int channels, unsigned short with, unsigned short without)
{
    for (int channel = 1; channel <= channels; ++channel) {
        const unsigned short word = TavroSim_GetDigitalConfig(id, static_cast<short>(channel));
        if ((word & with) == with && (word & without) == 0)
            return channel;
    }
    return 0;
}

std::string SorvikTest::StorePath(short id)
{
    char folder[MAX_PATH] = "";
    GetAppDataFolder(folder, "Drevalon", "Controllers");
    return std::string(folder) + "controller-" + std::to_string(id) + ".ini";
}

std::string SorvikTest::IniPath()
{
    return ExeSiblingPath("drevalon.ini");
}
