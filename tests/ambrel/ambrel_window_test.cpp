// Ambrel start-up, controller choice, menus, warnings and closing.
#include "ambrel_fixture.h"

namespace ambrel_test {
namespace {

using testing_support::PumpUntil;

const char kOpenFailure[] = "Unable to open controller for the following reason:\n\nID ";
const char kNoModules[] =
    "No motor modules are installed on this controller. Ambrel\n"
    "requires that at least one servo or stepper module be installed.";

TEST_F(AmbrelTest, FirstStartOpensControllerZeroAndFitsItsAxes)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(0u, answerer_.Count());
    RECT rect = WindowRect();
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(750, rect.right - rect.left);
    EXPECT_EQ(58 * 4 + 130, rect.bottom - rect.top);
    for (int axis = 1; axis <= 8; ++axis)
        EXPECT_EQ(axis <= 4, IsWindowVisible(Panel(axis)) != FALSE) << "axis " << axis;
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window_, IDC_POINT_TO_POINT));
    EXPECT_EQ(MF_UNCHECKED, GetMenuState(GetMenu(window_), IDM_AUTO_INIT, MF_BYCOMMAND) & MF_CHECKED);

    // The bar sits below the fourth panel.
    RECT bar;
    GetWindowRect(GetDlgItem(window_, IDC_MOVE_PLUS), &bar);
    POINT corner = {bar.left, bar.top};
    ScreenToClient(window_, &corner);
    EXPECT_EQ(394, corner.x);
    EXPECT_EQ(58 * 4 + 16, corner.y);

    // Motors are off at power-on: the first tick disables the six move buttons.
    Tick();
    for (int id : {IDC_MOVE_PLUS, IDC_MOVE_MINUS, IDC_STOP, IDC_ABORT, IDC_ALL_OFF, IDC_HOME})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, id))) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_ALL_ON)));
}

TEST_F(AmbrelTest, WindowFitsThreeAndTwelveAxes)
{
    testing_support::TempFolder folder;
    const std::string config = folder.File("tavrosim.ini");
    testing_support::WriteTextFile(config,
                                   "[Controller0]\nType=1\nDescription=Three\nAxes=3\n"
                                   "AxisModules=1,1,1\n"
                                   "[Controller5]\nType=1\nDescription=Twelve\nAxes=12\n"
                                   "AxisModules=1,1,1,1,1,1,1,1,1,1,1,1\n");
    ASSERT_EQ(0, TavroSim_Reload(config.c_str()));

    ASSERT_TRUE(Start());
    EXPECT_EQ(0u, answerer_.Count());
    EXPECT_EQ(750, WindowRect().right - WindowRect().left);
    EXPECT_EQ(304, WindowRect().bottom - WindowRect().top);
    for (int axis = 1; axis <= 8; ++axis)
        EXPECT_EQ(axis <= 3, IsWindowVisible(Panel(axis)) != FALSE) << "axis " << axis;

    answerer_.Expect(IDOK, Choose(5));
    answerer_.Expect(IDOK);
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(2u, answerer_.Count());
    EXPECT_NE(std::string::npos, answerer_.Seen()[1].text.find("first eight axes"));
    EXPECT_EQ(594, WindowRect().bottom - WindowRect().top);
    for (int axis = 1; axis <= 8; ++axis)
        EXPECT_TRUE(IsWindowVisible(Panel(axis))) << "axis " << axis;
    Tick();
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
}

TEST_F(AmbrelTest, MoreThanEightAxesShowsTheFirstEight)
{
    SetDword(kKey, "ControllerID", 1);
    for (int i = 0; i < 8; ++i)
        answerer_.Expect(IDOK);
    ASSERT_TRUE(Start());
    ASSERT_GE(answerer_.Count(), 1u);
    EXPECT_EQ("Ambrel", answerer_.Seen()[0].caption);
    EXPECT_NE(std::string::npos, answerer_.Seen()[0].text.find("only supports the\nfirst eight axes"));
    EXPECT_EQ(58 * 8 + 130, WindowRect().bottom - WindowRect().top);
    for (int axis = 1; axis <= 8; ++axis)
        EXPECT_TRUE(IsWindowVisible(Panel(axis))) << "axis " << axis;
}

TEST_F(AmbrelTest, FailedOpenReportsTheReasonAndCancelEndsStartUp)
{
    SetDword(kKey, "ControllerID", 7);
    answerer_.Expect(IDOK);      // failure box
    answerer_.Expect(IDCANCEL);  // controller choice
    EXPECT_EQ(nullptr, Start());
    ASSERT_EQ(2u, answerer_.Count());
    EXPECT_EQ("Ambrel", answerer_.Seen()[0].caption);
    EXPECT_EQ(0u, answerer_.Seen()[0].text.find(kOpenFailure));
    EXPECT_NE(std::string::npos, answerer_.Seen()[0].text.find("ID 7  -  "));
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
    // Nothing was open, so nothing was written.
    EXPECT_EQ(7, GetDword(kKey, "ControllerID"));
    EXPECT_EQ(-12345, GetDword(kKey, "StopWarn"));
}

TEST_F(AmbrelTest, FailedOpenThenChosenControllerIsKeptAndStored)
{
    SetDword(kKey, "ControllerID", 8);
    answerer_.Expect(IDOK);
    answerer_.Expect(IDOK, Choose(0));
    ASSERT_TRUE(Start());
    EXPECT_EQ(2u, answerer_.Count());
    EXPECT_EQ(1, TavroSim_OpenHandleCount());
    Close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, GetDword(kKey, "ControllerID"));
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
}

TEST_F(AmbrelTest, ControllerWithoutAxesIsRefusedWithoutFailureBox)
{
    SetDword(kKey, "ControllerID", 4);
    answerer_.Expect(IDOK);      // refusal
    answerer_.Expect(IDCANCEL);  // controller choice
    EXPECT_EQ(nullptr, Start());
    ASSERT_EQ(2u, answerer_.Count());
    EXPECT_EQ(kNoModules, answerer_.Seen()[0].text);
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
}

TEST_F(AmbrelTest, SwitchToRefusedControllerLeavesNoControllerAndClosesAtOnce)
{
    ASSERT_TRUE(Start());
    Command(IDC_ALL_ON);
    Tick();
    answerer_.Expect(IDOK, Choose(4));  // choice
    answerer_.Expect(IDOK);             // refusal
    answerer_.Expect(IDOK);             // failure box for handle 0
    answerer_.Expect(IDCANCEL);         // choice again
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(4u, answerer_.Count());
    EXPECT_EQ(kNoModules, answerer_.Seen()[1].text);
    EXPECT_EQ(0u, answerer_.Seen()[2].text.find(kOpenFailure));
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
    // The old controller's values were stored under its own id.
    EXPECT_EQ(1, GetDword(KeyOf(0, 1), "Enabled"));

    // Nothing reaches a closed controller: not the tick, not the bar.
    answerer_.Expect(IDOK);  // Stop Warning
    const int commands[] = {IDC_MOVE_PLUS, IDC_STOP,      IDC_ALL_ON,           IDC_ZERO,
                            IDM_INIT_AXES, IDM_SAVE_AXES, IDM_RESET_CONTROLLER, IDM_CONTROLLER_INFO};
    for (int id : commands)
        Command(id);
    Tick();
    PanelCommand(1, IDC_MOTOR_ON);
    PanelCommand(1, IDC_SETUP);
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
    EXPECT_EQ(5u, answerer_.Count());  // only the Stop Warning was added
    Close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
}

TEST_F(AmbrelTest, SwitchCancelledAtFirstChoiceKeepsController)
{
    ASSERT_TRUE(Start());
    answerer_.Expect(IDCANCEL);
    Command(IDM_SELECT_CONTROLLER);
    EXPECT_EQ(1u, answerer_.Count());
    EXPECT_EQ(1, TavroSim_OpenHandleCount());
    EXPECT_EQ(-12345, GetDword(kKey, "ControllerID"));  // nothing closed, nothing saved
}

TEST_F(AmbrelTest, SwitchToFailingControllerAndCancelClosesProgram)
{
    ASSERT_TRUE(Start());
    answerer_.Expect(IDOK, Choose(7));
    answerer_.Expect(IDOK);
    answerer_.Expect(IDCANCEL);
    Command(IDM_SELECT_CONTROLLER);
    ASSERT_EQ(3u, answerer_.Count());
    EXPECT_NE(std::string::npos, answerer_.Seen()[1].text.find("ID 7  -  "));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window_); }, 2000));
    EXPECT_EQ(0, GetDword(kKey, "ControllerID"));  // saved before the switch
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
}

TEST_F(AmbrelTest, CloseWhileMovingAsksFirst)
{
    ASSERT_TRUE(Start());
    Command(IDC_ALL_ON);
    SetDistance(1, "100000");
    Command(IDC_MOVE_PLUS);
    TavroSim_Advance(0.1);
    ASSERT_TRUE(Axis(1).moving);

    answerer_.Expect(IDCANCEL);
    Close();
    ASSERT_EQ(1u, answerer_.Count());
    EXPECT_EQ(0u, answerer_.Seen()[0].text.find("Exiting Ambrel will restore all motors"));
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(Axis(1).moving);

    answerer_.Expect(IDOK);
    Close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
    EXPECT_EQ(0, GetDword(kKey, "ControllerID"));
}

TEST_F(AmbrelTest, ExitAndCancelCommandCloseWhenAtRest)
{
    ASSERT_TRUE(Start());
    Command(IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window_); }, 2000));
    EXPECT_EQ(0u, answerer_.Count());
    EXPECT_EQ(0, TavroSim_OpenHandleCount());
}

TEST_F(AmbrelTest, StopWarningTurnsOffOnlyByItsBoxAndOnlyOkClosesIt)
{
    ASSERT_TRUE(Start());
    bool openAfterEscape = false;
    answerer_.Expect(IDOK, [&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        openAfterEscape = IsWindow(dialog) != FALSE;
        SendMessageA(dialog, WM_COMMAND, IDC_DONT_SHOW, 0);  // tick
        SendMessageA(dialog, WM_COMMAND, IDC_DONT_SHOW, 0);  // and untick
    });
    Command(IDC_STOP);
    ASSERT_EQ(1u, answerer_.Count());
    EXPECT_EQ("Stop Warning", answerer_.Seen()[0].caption);
    EXPECT_TRUE(openAfterEscape);

    answerer_.Expect(IDOK, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_DONT_SHOW, 0); });
    Command(IDC_STOP);  // still on after tick and untick
    EXPECT_EQ(2u, answerer_.Count());

    Command(IDC_STOP);  // now off
    EXPECT_EQ(2u, answerer_.Count());

    Command(IDM_ENABLE_WARNINGS);
    answerer_.Expect(IDOK);
    Command(IDC_STOP);
    EXPECT_EQ(3u, answerer_.Count());
}

TEST_F(AmbrelTest, HelpItemIsGrayedExactlyWhenBothWarningsAreOn)
{
    ASSERT_TRUE(Start());
    HMENU help = GetSubMenu(GetMenu(window_), 2);
    auto grayed = [&] {
        SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 2);
        return (GetMenuState(help, IDM_ENABLE_WARNINGS, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(grayed());
    SendMessageA(Panel(1), AXM_SETVELWARN, 0, 0);
    EXPECT_FALSE(grayed());
    Command(IDM_ENABLE_WARNINGS);
    EXPECT_TRUE(grayed());
    EXPECT_EQ(1, SendMessageA(Panel(3), AXM_GETVELWARN, 0, 0));
}

TEST_F(AmbrelTest, VelocityOverrideRefusedOnProfilesAndModulesWithWarning)
{
    // What the controller says about each axis decides which ones refuse.
    bool usable[9] = {};
    ASSERT_EQ(0, BindTavroApi());
    const short handle = g_tavro.TavroOpen(1, 2, nullptr);
    ASSERT_GT(handle, 0);
    int refused = 0;
    for (short axis = 1; axis <= 8; ++axis) {
        short profile = 0;
        TavroAxisConfig config = {};
        config.size = sizeof config;
        g_tavro.TavroGetProfile(handle, axis, &profile);
        g_tavro.TavroGetAxisConfiguration(handle, axis, &config);
        usable[axis] = profile == TAVRO_PROFILE_TRAPEZOIDAL &&
                       !(config.moduleType >= 4 && config.moduleType <= 7);
        refused += usable[axis] ? 0 : 1;
    }
    g_tavro.TavroClose(handle);
    ASSERT_GT(refused, 0);

    SetDword(kKey, "ControllerID", 1);
    for (int i = 0; i < 9; ++i)
        answerer_.Expect(IDOK);
    ASSERT_TRUE(Start());
    ASSERT_EQ(1u + refused, answerer_.Count());
    int seen = 1;
    for (int axis = 1; axis <= 8; ++axis) {
        HWND slider = GetDlgItem(Panel(axis), IDC_VELOCITY_SLIDER);
        EXPECT_EQ(usable[axis], IsWindowEnabled(slider) != FALSE) << "axis " << axis;
        EXPECT_EQ(usable[axis], IsWindowEnabled(GetDlgItem(Panel(axis), IDC_VELOCITY_LABEL)) != FALSE);
        if (!usable[axis]) {
            EXPECT_EQ("Axis " + std::to_string(axis) + " - Velocity Control Warning",
                      answerer_.Seen()[seen++].caption);
        }
    }

    // A refused axis is not driven by its slider.
    int refusedAxis = 1;
    while (usable[refusedAxis])
        ++refusedAxis;
    const double before = Axis(refusedAxis, 1).velocity;
    SetSlider(refusedAxis, 40);
    Tick();
    EXPECT_DOUBLE_EQ(before, Axis(refusedAxis, 1).velocity);

    // Reinitialising with the warning switched off by its box shows no more.
    SendMessageA(Panel(1), AXM_SETVELWARN, 0, 0);
    const size_t count = answerer_.Count();
    Command(IDM_INIT_AXES);
    EXPECT_EQ(count, answerer_.Count());
}

TEST_F(AmbrelTest, VelocityWarningEscapeClosesAndBoxClearsFlag)
{
    SetDword(kKey, "ControllerID", 1);
    answerer_.Expect(IDOK);  // eight axes
    answerer_.Expect(IDCANCEL, [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_DONT_SHOW, 0); });
    ASSERT_TRUE(Start());
    // The first warning turned the rest off.
    EXPECT_EQ(2u, answerer_.Count());
    EXPECT_EQ(0, SendMessageA(Panel(1), AXM_GETVELWARN, 0, 0));
    Close();
    EXPECT_EQ(0, GetDword(kKey, "VelocityWarn"));
}

TEST(AmbrelReadout, DecimalsFollowThePositionScale)
{
    EXPECT_EQ(0, ReadoutDecimals(1.0));
    EXPECT_EQ(3, ReadoutDecimals(1000.0));
    EXPECT_EQ(4, ReadoutDecimals(1024.0));
    EXPECT_EQ(4, ReadoutDecimals(-2000.0));
    EXPECT_EQ(2, ReadoutDecimals(20.0));
    EXPECT_EQ(0, ReadoutDecimals(0.5));
    EXPECT_EQ(0, ReadoutDecimals(0.0));
    EXPECT_EQ(0, ReadoutDecimals(1e-6));
    EXPECT_EQ(12, ReadoutDecimals(1e300));
}

} // namespace
} // namespace ambrel_test
