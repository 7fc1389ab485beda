// Reset of every channel, the first-run marker, save and restore through the
// dialogs' store, and AutoConfig.
#include "sorvik_fixture.h"

#include <commctrl.h>

#include "resource.h"
#include "tavro_api.h"
#include "test_support.h"

using namespace testing_support;

namespace {

std::string MarkerKey(short id)
{
    return "Controller #" + std::to_string(id) + " Has Run";
}

unsigned short DirectionAndPolarity(short id, short channel)
{
    return TavroSim_GetDigitalConfig(id, channel) & (TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH);
}

} // namespace

TEST_F(SorvikTest, FirstRunResetsEveryChannelMarksAndStoresOnce)
{
    const TavroSimControllerInfo info = SimulatedControllerOfType(2);
    WriteSettings(0, info.id);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), info.digitalChannels);
    EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", MarkerKey(info.id).c_str(), 0, IniPath().c_str()), 1);
    EXPECT_NE(ReadTextFile(StorePath(info.id)), "");
    Close();

    DeleteFileA(StorePath(info.id).c_str());
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(ReadTextFile(StorePath(info.id)), "");
}

TEST_F(SorvikTest, Type5AndChannelessControllersAreNeitherResetNorMarked)
{
    // Type 5 has two pages; the analog-only type 4 has no digital channels.
    for (int type : {5, 4}) {
        const short id = SimulatedControllerOfType(type).id;
        WriteSettings(0, id);
        ASSERT_NE(Start(""), nullptr) << type;
        EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 0) << type;
        SelectTab(TabCount() - 1);
        DialogAnswerer& answerer = Answers();
        answerer.Expect(IDYES);
        Command(IDM_RESET_ALL);
        EXPECT_EQ(answerer.Count(), 1u) << type;
        EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), 0) << type;
        EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", MarkerKey(id).c_str(), 0, IniPath().c_str()), 0) << type;
        // The panel is refreshed all the same.
        EXPECT_EQ(App()->currentPage, 0) << type;
        EXPECT_EQ(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0), 0) << type;
        Close();
        TavroSim_ResetCallCounts();
    }
}

TEST_F(SorvikTest, ResetAllReturnsToPowerOnAndTheFirstPage)
{
    const TavroSimControllerInfo info = SimulatedControllerOfType(1);
    WriteSettings(0, info.id, MarkerKey(info.id) + "=1\r\n");
    ASSERT_NE(Start(""), nullptr);
    Click(IDC_DIRECTION_BUTTON_BASE);
    SelectTab(1);
    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDNO);
    Command(IDM_RESET_ALL);
    EXPECT_EQ(DirectionAndPolarity(info.id, 1), TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH);

    TavroSim_ResetCallCounts();
    answerer.Expect(IDYES);
    Command(IDM_RESET_ALL);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[1].caption, "Reset All Channels");
    EXPECT_EQ(answerer.Seen()[1].text,
              "All Digital I/O Channels will be restored to Power On State.\n\n\tDo you want to continue?");
    EXPECT_EQ(TavroSim_CallCount("TavroConfigureDigitalIO"), info.digitalChannels);
    EXPECT_EQ(DirectionAndPolarity(info.id, 1), TAVRO_DIO_ACTIVE_HIGH);
    EXPECT_EQ(ReadTextFile(StorePath(info.id)), "");
    EXPECT_EQ(App()->currentPage, 0);
    EXPECT_EQ(SendMessageA(Tabs(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE), "Inp");
}

TEST_F(SorvikTest, SaveThenRestoreBringsTheConfigurationBack)
{
    const short id = SimulatedControllerOfType(1).id;
    WriteSettings(0, id, MarkerKey(id) + "=1\r\n");
    ASSERT_NE(Start(""), nullptr);
    Click(IDC_DIRECTION_BUTTON_BASE);
    Click(IDC_POLARITY_BUTTON_BASE + 1);
    Command(IDM_SAVE_CONFIG);
    EXPECT_FALSE(App()->dirty);

    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDYES);
    Command(IDM_RESET_ALL);
    ASSERT_EQ(DirectionAndPolarity(id, 1), TAVRO_DIO_ACTIVE_HIGH);
    answerer.Expect(IDYES);
    Command(IDM_RESTORE_CONFIG);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[1].caption, "Restore Configuration");
    EXPECT_EQ(answerer.Seen()[1].text,
              "Restore Digital I/O Configuration from .ini file.\n\n\tDo you want to continue?");
    EXPECT_EQ(DirectionAndPolarity(id, 1), TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH);
    EXPECT_EQ(DirectionAndPolarity(id, 2), 0);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE), "Out");
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + 1), "Neg");
}

TEST_F(SorvikTest, RestoreWithNothingStoredShowsTheLatchesTheControllerKeeps)
{
    // Channels 9 and 15 of controller 1 can latch: positions 8 and 14 of page 1.
    WriteSettings(0, 1, MarkerKey(1) + "=1\r\n");
    DeleteFileA(StorePath(1).c_str());
    ASSERT_NE(Start(""), nullptr);
    Click(IDC_LATCH_SWITCH_BASE + 8);
    Click(IDC_LATCH_SWITCH_BASE + 14);
    ASSERT_NE(TavroSim_GetDigitalConfig(1, 9) & TAVRO_DIO_LATCHED, 0);

    DialogAnswerer& answerer = Answers();
    answerer.Expect(IDYES);
    Command(IDM_RESTORE_CONFIG);
    ASSERT_EQ(answerer.Count(), 1u);
    for (int position : {8, 14}) {
        const short channel = static_cast<short>(position + 1);
        EXPECT_NE(TavroSim_GetDigitalConfig(1, channel) & TAVRO_DIO_LATCHED, 0) << channel;
        EXPECT_TRUE(Checked(IDC_LATCH_SWITCH_BASE + position)) << channel;
    }
    EXPECT_FALSE(Checked(IDC_LATCH_SWITCH_BASE + 9));
}

TEST_F(SorvikTest, AutoConfigRestoresAtStartUpAndIsStored)
{
    const short id = SimulatedControllerOfType(1).id;
    WriteSettings(0, id, MarkerKey(id) + "=1\r\n");
    ASSERT_NE(Start(""), nullptr);
    Click(IDC_DIRECTION_BUTTON_BASE);
    Command(IDM_SAVE_CONFIG);
    Command(IDM_AUTO_CONFIG);
    EXPECT_EQ(MenuState(IDM_AUTO_CONFIG) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    Close();
    EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", "AutoConfig", -1, IniPath().c_str()), 1);

    // On: reset, then the stored configuration. Off: the power-on state.
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE), "Out");
    Command(IDM_AUTO_CONFIG);
    Close();
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(DirectionAndPolarity(id, 1), TAVRO_DIO_ACTIVE_HIGH);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE), "Inp");
}

TEST_F(SorvikTest, AMarkerThatCannotBeWrittenLeavesTheStoreAlone)
{
    const short id = SimulatedControllerOfType(1).id;
    WriteSettings(1, id, MarkerKey(id) + "=1\r\n");
    ASSERT_NE(Start(""), nullptr);
    Click(IDC_DIRECTION_BUTTON_BASE);
    Command(IDM_SAVE_CONFIG);
    Close();
    const std::string stored = ReadTextFile(StorePath(id));

    // drevalon.ini without the marker, held open against writing.
    WriteSettings(1, id);
    struct Held {
        HANDLE file;
        ~Held() { CloseHandle(file); }
    } held{CreateFileA(IniPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
    ASSERT_NE(held.file, INVALID_HANDLE_VALUE);
    ASSERT_NE(Start(""), nullptr);
    EXPECT_EQ(GetPrivateProfileIntA("Digital Panel", MarkerKey(id).c_str(), 0, IniPath().c_str()), 0);
    EXPECT_EQ(ReadTextFile(StorePath(id)), stored);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE), "Out");
}
