#include "panel_fixture.h"

#include <windows.h>

#include <commctrl.h>

#include "main_window.h"
#include "test_support.h"

using testing_support::ExeSiblingPath;
using testing_support::WriteTextFile;

namespace {
const int kSelectList = 1001; // the selection dialog's controller list
}

void AnalogPanelTest::SetUp()
{
    DeleteFileA(IniPath().c_str());
    ASSERT_EQ(TavroSim_Reload(nullptr), 0);
    TavroSim_ResetCallCounts();
    static bool registered = RegisterWindowClasses(GetModuleHandleA(nullptr)) != FALSE;
    ASSERT_TRUE(registered);
}

void AnalogPanelTest::TearDown()
{
    Close();
    DeleteFileA(IniPath().c_str());
}

bool AnalogPanelTest::FindController(const std::function<bool(const TavroSimControllerInfo&)>& match,
                               TavroSimControllerInfo* info)
{
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count; ++i) {
        if (TavroSim_ControllerAt(i, info) == 0 && info->openError == 0 && match(*info))
            return true;
    }
    return false;
}

TavroSimControllerInfo AnalogPanelTest::ModularController()
{
    TavroSimControllerInfo info = {};
    EXPECT_TRUE(FindController(
        [](const TavroSimControllerInfo& c) {
            return c.controllerType == 1 && c.analogInputs > 4 && c.analogOutputs > 4;
        },
        &info));
    return info;
}

TavroSimControllerInfo AnalogPanelTest::AnalogOnlyController()
{
    TavroSimControllerInfo info = {};
    EXPECT_TRUE(FindController(
        [](const TavroSimControllerInfo& c) { return c.controllerType == 4 && c.analogInputs > 0; },
        &info));
    return info;
}

HWND AnalogPanelTest::Start(const std::string& commandLine)
{
    window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOW, commandLine.c_str());
    testing_support::PumpFor(50);
    return window;
}

HWND AnalogPanelTest::StartOn(short id, const std::string& extra)
{
    HWND started = Start("-b " + std::to_string(id) + (extra.empty() ? "" : " " + extra));
    EXPECT_NE(started, nullptr);
    return started;
}

void AnalogPanelTest::Close()
{
    if (window && IsWindow(window))
        SendMessageA(window, WM_CLOSE, 0, 0);
    window = nullptr;
    // Takes the quit message the main window posted, so that the next modal
    // loop of this test does not end at once.
    testing_support::PumpFor(30);
}

AppData* AnalogPanelTest::App() const
{
    return GetAppData(window);
}

HWND AnalogPanelTest::Tab() const
{
    return GetDlgItem(window, 120);
}

int AnalogPanelTest::TabCount() const
{
    return static_cast<int>(SendMessageA(Tab(), TCM_GETITEMCOUNT, 0, 0));
}

int AnalogPanelTest::CurrentTab() const
{
    return static_cast<int>(SendMessageA(Tab(), TCM_GETCURSEL, 0, 0));
}

std::string AnalogPanelTest::TabText(int index) const
{
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(Tab(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND AnalogPanelTest::Page(int index) const
{
    return GetDlgItem(window, 130 + index);
}

ChannelGroup* AnalogPanelTest::Group(int index) const
{
    return App()->Pages().at(index);
}

void AnalogPanelTest::SelectTab(int index)
{
    NMHDR header = {Tab(), 120, static_cast<UINT>(TCN_SELCHANGING)};
    SendMessageA(window, WM_NOTIFY, 120, reinterpret_cast<LPARAM>(&header));
    SendMessageA(Tab(), TCM_SETCURSEL, index, 0);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageA(window, WM_NOTIFY, 120, reinterpret_cast<LPARAM>(&header));
}

std::string AnalogPanelTest::IniPath() const
{
    return ExeSiblingPath("drevalon.ini");
}

std::string AnalogPanelTest::IniValue(const std::string& section, const std::string& key) const
{
    char text[256] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", text, sizeof text,
                             IniPath().c_str());
    return text;
}

void AnalogPanelTest::WriteIni(const std::string& text) const
{
    WriteTextFile(IniPath(), text);
}

void AnalogPanelTest::ChooseController(HWND dialog, short id)
{
    HWND list = GetDlgItem(dialog, kSelectList);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<short>(SendMessageA(list, LB_GETITEMDATA, i, 0)) == id) {
            SendMessageA(list, LB_SETCURSEL, i, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSelectList, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            return;
        }
    }
    ADD_FAILURE() << "controller " << id << " is not offered";
}
