// Start-up, command line, tabs, menu, controller switch and closing.
#include "sorvik_fixture.h"

#include <commctrl.h>

#include "resource.h"
#include "test_support.h"

using namespace testing_support;

TEST_F(SorvikTest, TabsFollowTheChannelCountAndTheView)
{
    const TavroSimControllerInfo info = SimulatedControllerOfType(2);  // 144 channels
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(TabCount(), 9);
    EXPECT_EQ(TabLabel(0), "Standard I/O");
    EXPECT_EQ(TabLabel(8), "Module 8");
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 15), "Ch  16");
    EXPECT_EQ(MenuState(IDM_AUTO_CONFIG) & MF_CHECKED, 0u);

    Command(IDM_VIEW_CHANNELS);
    EXPECT_EQ(TabLabel(0), "1-16");
    EXPECT_EQ(TabLabel(8), "129-144");
    EXPECT_EQ(MenuState(IDM_VIEW_CHANNELS) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(MenuState(IDM_VIEW_MODULES) & MF_CHECKED, 0u);

    SelectTab(2);
    EXPECT_EQ(App()->currentPage, 2);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  33");
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 15), "Ch  48");
}

TEST_F(SorvikTest, NonModularControllerLabelsByRangeAndGraysTheView)
{
    WriteSettings(0, SimulatedControllerOfType(8).id);
    ASSERT_NE(Start(""), nullptr);
    ASSERT_FALSE(App()->Traits().modular);
    EXPECT_EQ(TabLabel(0), "1-16");
    EXPECT_NE(MenuState(IDM_VIEW_MODULES) & MF_GRAYED, 0u);
    EXPECT_NE(MenuState(IDM_VIEW_CHANNELS) & MF_GRAYED, 0u);
}

TEST_F(SorvikTest, CommandLineBoardAndPage)
{
    const short stored = SimulatedControllerOfType(1).id;
    const short large = SimulatedControllerOfType(2).id;
    WriteSettings(1, stored);
    ASSERT_NE(Start("--board=" + std::to_string(large) + " -p 1"), nullptr);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(App()->Handle()), large);
    EXPECT_EQ(App()->currentPage, 1);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  17");
    EXPECT_EQ(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0), 1);
    Close();
    EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", "ControllerID", -1, IniPath().c_str()), large);

    // Arguments that are missing or no numbers, and pages the controller
    // does not have, change nothing.
    for (const std::string& line : {"-b " + std::to_string(stored) + " -p x --board 7",
                                     std::string("-p 3"), std::string("--page=-1")}) {
        ASSERT_NE(Start(line), nullptr) << line;
        EXPECT_EQ(App()->ControllerID(), stored) << line;
        EXPECT_EQ(App()->currentPage, 0) << line;
        EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  1") << line;
        Close();
    }

    // Without AutoConfig the refresh shows the first page.
    WriteSettings(0, large);
    ASSERT_NE(Start("-p 1"), nullptr);
    EXPECT_EQ(App()->currentPage, 0);
}

TEST_F(SorvikTest, ChannelsBeyondWholePagesAreResetButNotShown)
{
    TempFolder simulated;
    const std::string config = simulated.File("tavrosim.ini");
    WriteTextFile(config, "[Controller0]\r\nType=1\r\nDigitalChannels=40\r\n"
                          "[Controller1]\r\nType=1\r\nDigitalChannels=12\r\n");
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
    SendMessageA(Page(), WM_COMMAND, IDC_POLARITY_BUTTON_BASE + 12, 0);
    EXPECT_FALSE(App()->dirty);
    TavroSim_ResetCallCounts();
    PumpFor(400);
    const long polled = TavroSim_CallCount("TavroGetDigitalIO");
    EXPECT_GT(polled, 0);
    EXPECT_EQ(polled % 12, 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}

TEST_F(SorvikTest, PollRunsEvery110msAnd880msOnType5)
{
    // Ticks of 16 calls each within the same 1.8 s: 16 at 110 ms, 2 at 880 ms.
    long calls[2] = {};
    const int types[2] = {1, 5};
    for (int i = 0; i < 2; ++i) {
        WriteSettings(0, SimulatedControllerOfType(types[i]).id);
        ASSERT_NE(Start(""), nullptr);
        TavroSim_ResetCallCounts();
        PumpFor(1800);
        calls[i] = TavroSim_CallCount("TavroGetDigitalIO");
        Close();
    }
    EXPECT_GE(calls[0], 9 * 16);
    EXPECT_LE(calls[0], 17 * 16);
    EXPECT_GE(calls[1], 1 * 16);
    EXPECT_LE(calls[1], 3 * 16);
}

TEST_F(SorvikTest, CancelledChoiceAtStartUpEndsWithNothingOpen)
{
    WriteSettings(0, SimulatedFailingController());
    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDOK);
    answerer.Expect(IDCANCEL);
    EXPECT_EQ(Start(""), nullptr);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(FindWindowA("DigitalTestPanel", nullptr), nullptr);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(SorvikTest, ClosingAsksOnlyAfterAChangeAndReleasesEverything)
{
    const short id = SimulatedControllerOfType(1).id;
    WriteSettings(0, id);
    ASSERT_NE(Start(""), nullptr);
    Close();
    EXPECT_EQ(Answers().Count(), 0u);
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
    EXPECT_NE(ReadTextFile(StorePath(id)).find("Channel 1=0x"), std::string::npos);
    EXPECT_FALSE(IsWindow(main_));
    PumpFor(300);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
}

TEST_F(SorvikTest, SwitchingControllersAsksSavesAndRelabels)
{
    const short large = SimulatedControllerOfType(2).id;
    const short small = SimulatedControllerOfType(1).id;  // 48 channels
    WriteSettings(0, large);
    ASSERT_NE(Start(""), nullptr);
    Command(IDM_VIEW_CHANNELS);
    Click(IDC_POLARITY_BUTTON_BASE + 8);

    // Save Yes, then cancel the selection: nothing else changes.
    DialogAnswerer* answerer = &Answers();
    answerer->Expect(IDYES);
    answerer->Expect(IDCANCEL);
    const short handle = App()->Handle();
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(answerer->Count(), 2u);
    EXPECT_EQ(answerer->Seen()[0].caption, "Save Configuration");
    EXPECT_EQ(answerer->Seen()[0].text, "Do you want to save Digital I/O configuration of \nthe current controller "
                                        "before switching to another controller?\n\n");
    EXPECT_EQ(App()->Handle(), handle);
    EXPECT_TRUE(App()->dirty);
    EXPECT_NE(ReadTextFile(StorePath(large)), "");

    answerer = &Answers();
    answerer->Expect(IDNO);
    AnswerControllerChoice(*answerer, small);
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(answerer->Count(), 2u);
    EXPECT_EQ(TavroSim_ControllerIdOfHandle(App()->Handle()), small);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 1);
    EXPECT_FALSE(App()->dirty);
    EXPECT_EQ(TabCount(), 3);
    EXPECT_EQ(TabLabel(0), "1-16");
    EXPECT_EQ(TabLabel(1), "17-32");
}

TEST_F(SorvikTest, FailedSwitchLeavesNoControllerAndNoPolling)
{
    WriteSettings(0, SimulatedControllerOfType(1).id);
    ASSERT_NE(Start(""), nullptr);
    DialogAnswerer& answerer = Answers();
    AnswerControllerChoice(answerer, SimulatedFailingController());
    answerer.Expect(IDOK);      // the open failure
    answerer.Expect(IDCANCEL);  // the renewed choice
    Command(IDM_SELECT_CONTROLLER);
    EXPECT_EQ(answerer.Count(), 3u);
    EXPECT_EQ(App()->Handle(), 0);
    EXPECT_EQ(TavroSim_OpenHandleCount(), 0);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  1");
    EXPECT_FALSE(Enabled(IDC_POLARITY_BUTTON_BASE));

    TavroSim_ResetCallCounts();
    PumpFor(400);
    Click(IDC_POLARITY_BUTTON_BASE);
    Command(IDM_RESET_ALL);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroGetDigitalIO"), 0);
    EXPECT_FALSE(App()->dirty);

    // Another tab still shows its own channels, inert, without asking the
    // controller anything.
    SelectTab(1);
    EXPECT_EQ(App()->currentPage, 1);
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE), "Ch  17");
    EXPECT_EQ(ItemText(IDC_CHANNEL_FRAME_BASE + 15), "Ch  32");
    for (int base : {IDC_DIRECTION_BUTTON_BASE, IDC_POLARITY_BUTTON_BASE, IDC_LATCH_SWITCH_BASE,
                     IDC_OUTPUT_SWITCH_BASE, IDC_TEST_FRAME_BASE}) {
        EXPECT_FALSE(Enabled(base)) << base;
        EXPECT_FALSE(Enabled(base + 15)) << base;
    }
    EXPECT_EQ(TavroSim_CallCount("TavroGetDigitalIOConfig"), 0);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}
