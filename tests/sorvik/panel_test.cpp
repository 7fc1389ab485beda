// Start-up, command line, tabs, menu, controller switch and closing.
#include "sorvik_fixture.h"

#include <commctrl.h>

#include "resource.h"
#include "test_support.h"

using namespace testing_support;

namespace {

int ExpectedPages(int channels)
{
    const int pages = channels / 16;
    return pages < 1 ? 1 : (pages > 9 ? 9 : pages);
}

bool HasPartialPage(const TavroSimControllerInfo& c)
{
    return c.controllerType != 5 && c.digitalChannels > 16 && c.digitalChannels % 16 != 0;
}

} // namespace

TEST_F(SorvikTest, StartUpShowsOneTabPerPageAndTheFirstChannels)
{
    const TavroSimControllerInfo info = ControllerOfType(1);
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(App()->ControllerID(), info.id);
    EXPECT_EQ(TabCount(), ExpectedPages(info.digitalChannels));
    EXPECT_EQ(TabLabel(0), "Standard I/O");
    if (TabCount() > 1) {
        EXPECT_EQ(TabLabel(1), "Module 1");
    }
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  1");
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 15), "Ch  16");
    EXPECT_EQ(MenuState(IDM_AUTO_CONFIG) & MF_CHECKED, 0u);
    EXPECT_EQ(MenuState(IDM_VIEW_MODULES) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    Command(IDM_VIEW_CHANNELS);
    EXPECT_EQ(TabLabel(0), "1-16");
    if (TabCount() > 1) {
        EXPECT_EQ(TabLabel(1), "17-32");
    }
    EXPECT_EQ(MenuState(IDM_VIEW_CHANNELS) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(MenuState(IDM_VIEW_MODULES) & MF_CHECKED, 0u);
    Command(IDM_VIEW_MODULES);
    EXPECT_EQ(TabLabel(0), "Standard I/O");
}

TEST_F(SorvikTest, LargeControllerGetsNineTabsAndPagesSwitch)
{
    const TavroSimControllerInfo info = ControllerOfType(2);
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(TabCount(), ExpectedPages(info.digitalChannels));
    ASSERT_GE(TabCount(), 3);
    SelectTab(2);
    EXPECT_EQ(App()->currentPage, 2);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  33");
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 15), "Ch  48");
}

TEST_F(SorvikTest, NonModularControllerLabelsByRangeAndGraysTheView)
{
    TavroSimControllerInfo info = {};
    ASSERT_TRUE(FindController([](const TavroSimControllerInfo& c) { return c.controllerType == 8; }, &info));
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    ASSERT_FALSE(App()->Traits().modular);
    EXPECT_EQ(TabLabel(0), "1-16");
    EXPECT_NE(MenuState(IDM_VIEW_MODULES) & MF_GRAYED, 0u);
    EXPECT_NE(MenuState(IDM_VIEW_CHANNELS) & MF_GRAYED, 0u);
}

TEST_F(SorvikTest, BoardOptionOverridesTheSettingsAndIsSavedOnClose)
{
    const TavroSimControllerInfo first = ControllerOfType(1);
    const TavroSimControllerInfo other = ControllerOfType(2);
    WriteSettings(0, first.id);
    ASSERT_NE(Start("--board=" + std::to_string(other.id)), nullptr);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(App()->Handle()), other.id);
    Close();
    EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", "ControllerID", -1, IniPath().c_str()), other.id);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(SorvikTest, ShortBoardOptionAndIgnoredArguments)
{
    const TavroSimControllerInfo first = ControllerOfType(1);
    const TavroSimControllerInfo other = ControllerOfType(2);
    WriteSettings(1, first.id);
    // A long option without "=" and a page that is no number change nothing.
    ASSERT_NE(Start("-b " + std::to_string(other.id) + " -p x --board 7"), nullptr);
    EXPECT_EQ(App()->ControllerID(), other.id);
    EXPECT_EQ(App()->currentPage, 0);
}

TEST_F(SorvikTest, PageOptionWithAutoConfigShowsThatPage)
{
    const TavroSimControllerInfo info = ControllerOfType(2);
    WriteSettings(1, info.id);
    ASSERT_NE(Start("-p 1"), nullptr);
    EXPECT_EQ(App()->currentPage, 1);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  17");
    EXPECT_EQ(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0), 1);
}

TEST_F(SorvikTest, PageOptionWithoutAutoConfigOrOutOfRangeShowsFirstPage)
{
    const TavroSimControllerInfo info = ControllerOfType(2);
    WriteSettings(0, info.id);
    ASSERT_NE(Start("-p 1"), nullptr);
    EXPECT_EQ(App()->currentPage, 0);
    Close();

    WriteSettings(1, info.id);
    ASSERT_NE(Start("-p " + std::to_string(ExpectedPages(info.digitalChannels))), nullptr);
    EXPECT_EQ(App()->currentPage, 0);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  1");
}

TEST_F(SorvikTest, PositionsBeyondTheChannelsAreInert)
{
    TavroSimControllerInfo info = {};
    if (!FindController(HasPartialPage, &info) &&
        !FindController([](const TavroSimControllerInfo& c) { return c.controllerType != 5 && c.digitalChannels < 16; }, &info))
        GTEST_SKIP() << "no simulated controller with a partial page";
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    const int pages = ExpectedPages(info.digitalChannels);
    EXPECT_EQ(TabCount(), pages);
    SelectTab(pages - 1);
    const int shown = info.digitalChannels - (pages - 1) * 16;
    if (shown >= 16)
        GTEST_SKIP() << "the partial page is beyond the last tab";
    const int position = shown;  // first position without a channel
    EXPECT_FALSE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
    EXPECT_FALSE(Enabled(IDC_POLARITY_BUTTON_BASE + position));
    TavroSim_ResetCallCounts();
    SendMessageA(Page(), WM_COMMAND, IDC_POLARITY_BUTTON_BASE + position, 0);
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 0);
    EXPECT_FALSE(App()->dirty);
}

TEST_F(SorvikTest, ChannelsBeyondWholePagesAreResetButNotShown)
{
    TempFolder simulated;
    const std::string config = simulated.File("tavrosim.ini");
    WriteTextFile(config, "[Controller0]\r\nType=1\r\nDescription=Forty\r\nDigitalChannels=40\r\n"
                          "[Controller1]\r\nType=1\r\nDescription=Twelve\r\nDigitalChannels=12\r\n");
    ASSERT_EQ(TavroSim_Reload(config.c_str()), 0);
    TavroSim_ResetCallCounts();
    WriteSettings(0, 0);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(TabCount(), 2);
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 40);
    Close();

    // Fewer channels than a page: one page, the missing positions inert.
    TavroSim_ResetCallCounts();
    WriteSettings(0, 1);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(TabCount(), 1);
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 12);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 11), "Ch  12");
    EXPECT_TRUE(Enabled(IDC_DIRECTION_BUTTON_BASE + 11));
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 12), "");
    EXPECT_FALSE(Enabled(IDC_DIRECTION_BUTTON_BASE + 12));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SWITCH_BASE + 15));
    TavroSim_ResetCallCounts();
    PumpFor(400);
    // Only the 12 real channels are polled.
    const long polled = TavroSim_CallCount("TavroGetDigitalIO");
    EXPECT_GT(polled, 0);
    EXPECT_EQ(polled % 12, 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}

TEST_F(SorvikTest, PollRunsEvery110msAnd880msOnType5)
{
    const TavroSimControllerInfo fast = ControllerOfType(1);
    WriteSettings(0, fast.id);
    ASSERT_NE(Start(""), nullptr);
    TavroSim_ResetCallCounts();
    PumpFor(1000);
    const long fastCalls = TavroSim_CallCount("TavroGetDigitalIO");
    Close();
    EXPECT_GE(fastCalls, 7 * 16);
    EXPECT_LE(fastCalls, 10 * 16);

    const TavroSimControllerInfo slow = ControllerOfType(5);
    WriteSettings(0, slow.id);
    ASSERT_NE(Start(""), nullptr);
    TavroSim_ResetCallCounts();
    PumpFor(1900);
    const long slowCalls = TavroSim_CallCount("TavroGetDigitalIO");
    const int perTick = slow.digitalChannels < 16 ? slow.digitalChannels : 16;
    EXPECT_GE(slowCalls, 2 * perTick);
    EXPECT_LE(slowCalls, 3 * perTick);
}

TEST_F(SorvikTest, CancelledChoiceAtStartUpEndsWithNothingOpen)
{
    TavroSimControllerInfo failing = {};
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count && failing.openError == 0; ++i)
        TavroSim_ControllerAt(i, &failing);
    ASSERT_NE(failing.openError, 0);
    WriteSettings(0, failing.id);
    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDOK);
    answerer.Expect(IDCANCEL);
    EXPECT_EQ(Start(""), nullptr);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(FindWindowA("DigitalTestPanel", nullptr), nullptr);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST_F(SorvikTest, ClosingAsksOnlyAfterAChangeAndReleasesEverything)
{
    const TavroSimControllerInfo info = ControllerOfType(1);
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    {
        DialogAnswerer& answerer = Answers();
        Close();
        EXPECT_EQ(answerer.Count(), 0u);
    }
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);

    ASSERT_NE(Start(""), nullptr);
    Click(IDC_POLARITY_BUTTON_BASE);
    ASSERT_TRUE(App()->dirty);
    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDYES);
    Close();
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Save Configuration");
    EXPECT_EQ(answerer.Seen()[0].text, "Save Digital I/O Configuration to .ini file?\n\n");
    EXPECT_NE(ReadTextFile(StorePath(info.id)).find("Channel 1=0x"), std::string::npos) << StorePath(info.id);
    EXPECT_FALSE(IsWindow(main_));
    PumpFor(300);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(SorvikTest, SwitchingControllersAsksSavesAndRelabels)
{
    const TavroSimControllerInfo large = ControllerOfType(2);
    const TavroSimControllerInfo small = ControllerOfType(1);
    WriteSettings(0, large.id);
    ASSERT_NE(Start(""), nullptr);
    Command(IDM_VIEW_CHANNELS);
    Click(IDC_POLARITY_BUTTON_BASE);

    {
        // Save Yes, then cancel the selection: nothing else changes.
        DialogAnswerer& answerer = Answers();
        answerer.Expect(IDYES);
        answerer.Expect(IDCANCEL);
        const short handle = App()->Handle();
        Command(IDM_SELECT_CONTROLLER);
        ASSERT_EQ(answerer.Count(), 2u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Save Configuration");
        EXPECT_EQ(App()->Handle(), handle);
        EXPECT_TRUE(App()->dirty);
        EXPECT_NE(ReadTextFile(StorePath(large.id)), "");
    }

    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDNO);
    answerer.Expect(IDOK, [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, 0);
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[16] = "";
            GetClassNameA(child, name, sizeof name);
            if (_stricmp(name, "ListBox") == 0)
                list = child;
        }
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (static_cast<short>(SendMessageA(list, LB_GETITEMDATA, i, 0)) == small.id)
                SendMessageA(list, LB_SETCURSEL, i, 0);
        }
    });
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(App()->Handle()), small.id);
    EXPECT_FALSE(App()->dirty);
    EXPECT_EQ(TabCount(), ExpectedPages(small.digitalChannels));
    EXPECT_EQ(TabLabel(0), "1-16");
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
}

TEST_F(SorvikTest, FailedSwitchLeavesNoControllerAndNoPolling)
{
    const TavroSimControllerInfo info = ControllerOfType(1);
    TavroSimControllerInfo failing = {};
    const int count = TavroSim_ControllerCount();
    for (int i = 0; i < count && failing.openError == 0; ++i)
        TavroSim_ControllerAt(i, &failing);
    ASSERT_NE(failing.openError, 0);
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);

    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDOK, [&](HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[16] = "";
            GetClassNameA(child, name, sizeof name);
            if (_stricmp(name, "ListBox") != 0)
                continue;
            const int items = static_cast<int>(SendMessageA(child, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < items; ++i) {
                if (static_cast<short>(SendMessageA(child, LB_GETITEMDATA, i, 0)) == failing.id)
                    SendMessageA(child, LB_SETCURSEL, i, 0);
            }
        }
    });
    answerer.Expect(IDOK);      // the open failure
    answerer.Expect(IDCANCEL);  // the renewed choice
    Command(IDM_SELECT_CONTROLLER);
    EXPECT_EQ(answerer.Count(), 3u);
    EXPECT_EQ(App()->Handle(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  1");

    TavroSim_ResetCallCounts();
    PumpFor(400);
    Click(IDC_POLARITY_BUTTON_BASE);
    Command(IDM_RESET_ALL);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroGetDigitalIO"), 0);
    EXPECT_FALSE(App()->dirty);
}
