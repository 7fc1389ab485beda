// Ambrel's registry settings: written when a controller closes, read back at
// the next start, per controller and axis, and read defensively.
#include "ambrel_fixture.h"

namespace ambrel_test {
namespace {

TEST_F(AmbrelTest, SettingsWrittenOnCloseAreReadAtNextStart)
{
    ASSERT_TRUE(Start());
    Command(IDC_CYCLE);
    Command(IDM_AUTO_INIT);
    answerer_.Expect(IDOK, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_DONT_SHOW, 0); });
    Command(IDC_STOP);
    PanelCommand(2, IDC_AXIS_BUTTON);
    PanelCommand(2, IDC_ABS);
    SetDistance(2, "12.5");
    SetSlider(2, 80);
    SetWindowPos(window_, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close();
    ASSERT_FALSE(IsWindow(window_));

    EXPECT_EQ(0, GetDword(kKey, "ControllerID"));
    EXPECT_EQ(1, GetDword(kKey, "AutoInit"));
    EXPECT_EQ(1, GetDword(kKey, "Cycle"));
    EXPECT_EQ(1, GetDword(kKey, "VelocityWarn"));
    EXPECT_EQ(0, GetDword(kKey, "StopWarn"));
    EXPECT_EQ(100, GetDword(kKey, "XPos"));
    EXPECT_EQ(50, GetDword(kKey, "YPos"));
    EXPECT_EQ(0, GetDword(KeyOf(0, 2), "Enabled"));
    EXPECT_EQ("12.5", GetString(KeyOf(0, 2), "Distance"));
    EXPECT_EQ(0, GetDword(KeyOf(0, 2), "Mode"));
    EXPECT_EQ(80, GetDword(KeyOf(0, 2), "Velocity"));
    EXPECT_EQ(1, GetDword(KeyOf(0, 1), "Enabled"));
    EXPECT_EQ("0", GetString(KeyOf(0, 1), "Distance"));
    EXPECT_EQ(1, GetDword(KeyOf(0, 1), "Mode"));
    EXPECT_EQ(100, GetDword(KeyOf(0, 1), "Velocity"));
    EXPECT_EQ(-12345, GetDword(KeyOf(0, 5), "Enabled"));  // axis not shown

    ASSERT_TRUE(Start());
    EXPECT_EQ(100, WindowRect().left);
    EXPECT_EQ(50, WindowRect().top);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window_, IDC_CYCLE));
    EXPECT_EQ(UINT(MF_CHECKED), GetMenuState(GetMenu(window_), IDM_AUTO_INIT, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(Panel(2), IDC_AXIS_BUTTON));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(1), IDC_AXIS_BUTTON));
    EXPECT_EQ("12.5", testing_support::ItemText(Panel(2), IDC_DISTANCE));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(2), IDC_ABS));
    EXPECT_EQ(80, Slider(2));
    Command(IDC_STOP);  // warning stays off
    EXPECT_EQ(1u, answerer_.Count());
}

TEST_F(AmbrelTest, EachControllerHasItsOwnAxisSettings)
{
    SetDword(KeyOf(1, 1), "Enabled", 0);
    SetDword(KeyOf(0, 1), "Velocity", 70);
    ASSERT_TRUE(Start());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(1), IDC_AXIS_BUTTON));
    EXPECT_EQ(70, Slider(1));

    // Switching stores controller 0 under its own id before the new one opens.
    PanelCommand(3, IDC_AXIS_BUTTON);
    for (int i = 0; i < 9; ++i)
        answerer_.Expect(IDOK, i == 0 ? Choose(1) : nullptr);
    Command(IDM_SELECT_CONTROLLER);
    EXPECT_EQ(0, GetDword(KeyOf(0, 3), "Enabled"));
    EXPECT_EQ(0, GetDword(kKey, "ControllerID"));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(Panel(1), IDC_AXIS_BUTTON));
    EXPECT_EQ(58 * 8 + 130, WindowRect().bottom - WindowRect().top);

    answerer_.Expect(IDOK);  // exit question in case an axis still moves
    Close();
    EXPECT_EQ(1, GetDword(kKey, "ControllerID"));
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
}

TEST_F(AmbrelTest, StoredValuesOfWrongSizeOrRangeAreNotTakenWhateverTheirType)
{
    SetDword(kKey, "XPos", static_cast<DWORD>(-40));
    SetDword(kKey, "YPos", 100000);
    SetBytes(kKey, "VelocityWarn", REG_SZ, "0", 2);
    const unsigned long long wide = 0;
    SetBytes(kKey, "StopWarn", REG_QWORD, &wide, sizeof wide);
    SetBytes(KeyOf(0, 1), "Enabled", REG_SZ, "0", 2);
    SetDword(KeyOf(0, 1), "Velocity", 1000);
    std::string unterminated(40, 'x');
    SetBytes(KeyOf(0, 1), "Distance", REG_SZ, unterminated.data(), 40);
    std::string tooLong(100, '7');
    SetBytes(KeyOf(0, 3), "Distance", REG_SZ, tooLong.c_str(), 101);
    SetDword(KeyOf(0, 2), "Velocity", static_cast<DWORD>(-5));
    SetBytes(KeyOf(0, 2), "Mode", REG_BINARY, "\0\0", 2);
    SetBytes(KeyOf(0, 2), "Distance", REG_BINARY, "2.5", 3);
    SetBytes(KeyOf(0, 3), "Velocity", REG_BINARY, "\x28\0\0\0", 4);

    ASSERT_TRUE(Start());
    EXPECT_EQ(0, WindowRect().left);
    EXPECT_EQ(0, WindowRect().top);
    EXPECT_EQ(1, SendMessageA(Panel(1), AXM_GETVELWARN, 0, 0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(1), IDC_AXIS_BUTTON));
    EXPECT_EQ(150, Slider(1));
    EXPECT_EQ(unterminated, testing_support::ItemText(Panel(1), IDC_DISTANCE));
    EXPECT_EQ("0", testing_support::ItemText(Panel(3), IDC_DISTANCE));
    EXPECT_EQ(0, Slider(2));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(Panel(2), IDC_REL));
    EXPECT_EQ("2.5", testing_support::ItemText(Panel(2), IDC_DISTANCE));
    EXPECT_EQ(40, Slider(3));

    answerer_.Expect(IDOK);
    Command(IDC_STOP);  // StopWarn of the wrong size left the warning on
    EXPECT_EQ(1u, answerer_.Count());
}

TEST_F(AmbrelTest, MinimisedWindowKeepsStoredPosition)
{
    SetDword(kKey, "XPos", 120);
    SetDword(kKey, "YPos", 80);
    ASSERT_TRUE(Start());
    EXPECT_EQ(120, WindowRect().left);
    ShowWindow(window_, SW_MINIMIZE);
    Close();
    EXPECT_EQ(120, GetDword(kKey, "XPos"));
    EXPECT_EQ(80, GetDword(kKey, "YPos"));
}

} // namespace
} // namespace ambrel_test
