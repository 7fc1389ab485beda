// Ambrel moving axes: the bar's commands, cycling, lamps, the velocity slider
// and keys typed into a distance box.
#include "ambrel_fixture.h"

#include "os_probes.h"

namespace ambrel_test {
namespace {

const int kMoveButtons[] = {IDC_MOVE_PLUS, IDC_MOVE_MINUS, IDC_STOP, IDC_ABORT, IDC_ALL_OFF, IDC_HOME};

class MotionTest : public AmbrelTest {
protected:
    void SetUp() override
    {
        AmbrelTest::SetUp();
        ASSERT_TRUE(Start());
        Command(IDC_ALL_ON);
        Tick();
    }

    // Dispatches this thread's messages through Ambrel's accelerator table.
    void PumpWithAccelerators(DWORD ms)
    {
        HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), "Accelerators");
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!TranslateAcceleratorA(window_, table, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            Sleep(5);
        }
    }

    std::string Readout(int axis, int id) const
    {
        return testing_support::ItemText(Panel(axis), id);
    }
};

TEST_F(MotionTest, RelativeAndAbsoluteMovesArriveAtTypedPositions)
{
    SetDistance(1, "250");
    PanelCommand(2, IDC_ABS);
    SetDistance(2, "300");
    SetDistance(3, "12.5 mm");
    SetDistance(4, "                              12");  // only 31 characters count

    Command(IDC_MOVE_PLUS);
    EXPECT_DOUBLE_EQ(250.0, Axis(1).target);
    EXPECT_DOUBLE_EQ(300.0, Axis(2).target);
    EXPECT_DOUBLE_EQ(12.5, Axis(3).target);
    EXPECT_DOUBLE_EQ(1.0, Axis(4).target);
    RunUntilStopped();
    EXPECT_NEAR(250.0, Axis(1).position, 2.0);
    EXPECT_NEAR(300.0, Axis(2).position, 2.0);

    Command(IDC_MOVE_MINUS);
    EXPECT_DOUBLE_EQ(0.0, Axis(1).target);     // relative: back by 250
    EXPECT_DOUBLE_EQ(-300.0, Axis(2).target);  // absolute: to the negative
    RunUntilStopped();
    EXPECT_NEAR(-300.0, Axis(2).position, 2.0);

    // A number that is not finite sends no move; text with no number moves by, or to, 0.0.
    SetDistance(1, "nan");
    SetDistance(2, "1e400");
    SetDistance(3, "-inf");
    SetDistance(4, "abc");
    const long relative = TavroSim_CallCount("TavroMoveRelative");
    Command(IDC_MOVE_PLUS);
    EXPECT_EQ(relative + 1, TavroSim_CallCount("TavroMoveRelative"));  // axis 4 alone
    EXPECT_DOUBLE_EQ(-300.0, Axis(2).target);
    SetDistance(2, "abc");
    Command(IDC_MOVE_PLUS);
    EXPECT_DOUBLE_EQ(0.0, Axis(2).target);
    EXPECT_EQ(0, TavroSim_DeadHandleCallCount());
}

TEST_F(MotionTest, DisabledAxisIgnoresTheBarButKeepsPolling)
{
    PanelCommand(3, IDC_AXIS_BUTTON);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(Panel(3), IDC_AXIS_BUTTON));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Panel(3), IDC_DISTANCE)));
    SetDistance(3, "500");
    SetDistance(1, "500");
    Command(IDC_MOVE_PLUS);
    EXPECT_DOUBLE_EQ(500.0, Axis(1).target);
    EXPECT_DOUBLE_EQ(0.0, Axis(3).target);
    RunUntilStopped();

    const double velocity = Axis(3).velocity;
    SetSlider(3, 30);
    Tick();
    EXPECT_DOUBLE_EQ(velocity, Axis(3).velocity);
    EXPECT_EQ("30%", Readout(3, IDC_VELOCITY_READOUT));

    Command(IDC_ALL_OFF);
    EXPECT_TRUE(Axis(3).motorOn);
    EXPECT_FALSE(Axis(1).motorOn);

    // With every enabled axis off, a motor that is on adds nothing.
    Command(IDC_ALL_OFF);
    Tick();
    for (int axis : {1, 2, 4})
        PanelCommand(axis, IDC_AXIS_BUTTON);
    Command(IDC_ALL_ON);
    Tick();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_MOVE_PLUS)));
}

TEST_F(MotionTest, MoveButtonsFollowMotorsOnlyOnChange)
{
    Command(IDC_ALL_OFF);
    Tick();
    for (int id : kMoveButtons)
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, id))) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_ALL_ON)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_ZERO)));

    HMENU move = GetSubMenu(GetMenu(window_), 1);
    SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(move), 1);
    EXPECT_TRUE(GetMenuState(move, IDC_STOP, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(move, IDC_ALL_ON, MF_BYCOMMAND) & MF_GRAYED);

    PanelCommand(2, IDC_MOTOR_ON);
    Tick();
    for (int id : kMoveButtons)
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, id))) << id;
    SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(move), 1);
    EXPECT_FALSE(GetMenuState(move, IDC_STOP, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(MotionTest, CycleReversesWhenAllAxesRestAndEachEndingCommandStopsIt)
{
    // Point to point: nothing reverses.
    SetDistance(1, "100");
    Command(IDC_MOVE_PLUS);
    RunUntilStopped();
    Tick();
    EXPECT_DOUBLE_EQ(100.0, Axis(1).target);

    Command(IDC_CYCLE);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Panel(1), IDC_ABS)));
    PanelCommand(1, IDC_ABS);  // cycling moves relatively whatever the box says
    SetDistance(1, "200");

    Command(IDC_MOVE_PLUS);
    EXPECT_DOUBLE_EQ(300.0, Axis(1).target);
    TavroSim_Advance(0.05);
    Tick();  // still moving: no new leg
    EXPECT_DOUBLE_EQ(300.0, Axis(1).target);
    RunUntilStopped();
    Tick();
    EXPECT_DOUBLE_EQ(100.0, Axis(1).target);
    RunUntilStopped();
    Tick();
    EXPECT_DOUBLE_EQ(300.0, Axis(1).target);

    // Point to point does not end a running cycle.
    Command(IDC_POINT_TO_POINT);
    RunUntilStopped();
    Tick();
    EXPECT_DOUBLE_EQ(-200.0, Axis(1).target);  // Abs now: to the negative
    Command(IDC_CYCLE);

    const int endings[] = {IDC_STOP, IDC_ABORT, IDC_ALL_ON, IDC_ALL_OFF, IDC_ZERO, IDC_HOME};
    for (int ending : endings) {
        Command(IDC_ALL_ON);
        RunUntilStopped();
        Command(IDC_MOVE_MINUS);
        if (ending == IDC_STOP)
            answerer_.Expect(IDOK);
        Command(ending);
        RunUntilStopped();
        Tick();
        const double target = Axis(1).target;
        RunUntilStopped();
        Tick();
        EXPECT_DOUBLE_EQ(target, Axis(1).target) << "ending command " << ending;
    }
    EXPECT_EQ(1u, answerer_.Count());
}

TEST_F(MotionTest, PanelsShownAgainBySwitchFollowTheBarsMode)
{
    const auto switchTo = [this](int id) {
        answerer_.Expect(IDOK, Choose(id));
        Command(IDM_SELECT_CONTROLLER);
    };
    switchTo(2);  // two axes: panels 3 and 4 hidden
    Command(IDC_CYCLE);
    switchTo(0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Panel(4), IDC_ABS)));
    Command(IDC_ALL_ON);
    PanelCommand(4, IDC_ABS);
    SetDistance(4, "300");
    Command(IDC_MOVE_PLUS);
    RunUntilStopped();
    Tick();
    EXPECT_DOUBLE_EQ(0.0, Axis(4).target);  // a relative leg back

    Command(IDC_ABORT);
    switchTo(2);
    Command(IDC_POINT_TO_POINT);
    switchTo(0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Panel(4), IDC_ABS)));
    EXPECT_EQ(4u, answerer_.Count());
}

TEST_F(MotionTest, StopRetakesTargetOnceTheAxisRests)
{
    SetDistance(1, "100000");
    Command(IDC_MOVE_PLUS);
    TavroSim_Advance(0.3);
    answerer_.Expect(IDOK);
    Command(IDC_STOP);
    const long before = TavroSim_CallCount("TavroEnableAxis");
    RunUntilStopped();
    Tick();
    EXPECT_EQ(before + 4, TavroSim_CallCount("TavroEnableAxis"));
    Tick();
    EXPECT_EQ(before + 4, TavroSim_CallCount("TavroEnableAxis"));
    EXPECT_NEAR(Axis(1).position, Axis(1).target, 2.0);
}

TEST_F(MotionTest, LampsShowAStatusOnePollAfterItIsRead)
{
    Command(IDC_ALL_OFF);
    Tick();
    Tick();
    EXPECT_EQ(0u, IsDlgButtonChecked(Panel(1), IDC_LAMP_ON));
    Command(IDC_ALL_ON);
    Tick();
    EXPECT_EQ(0u, IsDlgButtonChecked(Panel(1), IDC_LAMP_ON));
    Tick();
    EXPECT_EQ(1u, IsDlgButtonChecked(Panel(1), IDC_LAMP_ON));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Panel(1), IDC_MOTOR_OFF)));

    TavroSim_ForceAxisError(0, 2);
    TavroSim_SetLimit(0, 3, 0, 1);
    Tick();
    Tick();
    EXPECT_EQ(1u, IsDlgButtonChecked(Panel(2), IDC_LAMP_ERROR));
    EXPECT_EQ(0u, IsDlgButtonChecked(Panel(2), IDC_LAMP_LIMIT));
    EXPECT_EQ(1u, IsDlgButtonChecked(Panel(3), IDC_LAMP_LIMIT));
    EXPECT_EQ(0u, IsDlgButtonChecked(Panel(3), IDC_LAMP_ERROR));

    // The position readout is right-aligned in at least 12 characters.
    std::string text = Readout(1, IDC_POSITION);
    EXPECT_GE(text.size(), 12u);
    EXPECT_EQ(' ', text[0]);
    EXPECT_NEAR(Axis(1).position, strtod(text.c_str(), nullptr), 1.0);
}

TEST_F(MotionTest, SetupRefusedWhileMovingAndCancelledSetupKeepsOverride)
{
    SetDistance(1, "100000");
    Command(IDC_MOVE_PLUS);
    TavroSim_Advance(0.1);
    answerer_.Expect(IDOK);
    PanelCommand(1, IDC_SETUP);
    ASSERT_EQ(1u, answerer_.Count());
    EXPECT_EQ("Warning", answerer_.Seen()[0].caption);
    EXPECT_EQ("Setup cannot be changed while the motor is moving.", answerer_.Seen()[0].text);

    Command(IDC_ABORT);
    TavroSim_Advance(0.1);
    answerer_.Expect(IDCANCEL);
    PanelCommand(1, IDC_SETUP);
    EXPECT_EQ(2u, answerer_.Count());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Panel(1), IDC_VELOCITY_SLIDER)));
    const double full = Axis(1).velocity;
    SetSlider(1, 50);
    Tick();
    EXPECT_DOUBLE_EQ(full / 2, Axis(1).velocity);
}

TEST_F(MotionTest, SliderDrivesVelocityEveryTickAndExitRestoresIt)
{
    const double full = Axis(1).velocity;
    ASSERT_GT(full, 0.0);
    ASSERT_TRUE(IsWindowEnabled(GetDlgItem(Panel(1), IDC_VELOCITY_SLIDER)));
    for (int percent : {50, 150, 0}) {
        SetSlider(1, percent);
        Tick();
        EXPECT_DOUBLE_EQ(full * percent / 100.0, Axis(1).velocity) << percent;
        EXPECT_EQ(std::to_string(percent) + "%", Readout(1, IDC_VELOCITY_READOUT));
    }
    SetSlider(1, 200);
    EXPECT_EQ(150, Slider(1));
    Close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_DOUBLE_EQ(full, Axis(1).velocity);
}

TEST_F(MotionTest, SaveAllAxesStoresTheFullVelocityWhateverTheSlider)
{
    char folder[MAX_PATH] = "";
    GetAppDataFolder(folder, "Drevalon", "Controllers");
    const std::string store = std::string(folder) + "controller-0.ini";
    DeleteFileA(store.c_str());
    const double full = Axis(1).velocity;
    SetSlider(1, 25);
    Tick();
    // Refused while an axis moves: saving takes the overrides off.
    SetDistance(1, "100000");
    Command(IDC_MOVE_PLUS);
    answerer_.Expect(IDOK);
    Command(IDM_SAVE_AXES);
    ASSERT_EQ(1u, answerer_.Count());
    EXPECT_EQ("Axis settings cannot be saved while a motor is moving.", answerer_.Seen()[0].text);
    EXPECT_DOUBLE_EQ(full / 4, Axis(1).velocity);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(store.c_str()));
    answerer_.Expect(IDOK);  // Stop's own warning
    Command(IDC_STOP);
    RunUntilStopped();
    ASSERT_EQ(2u, answerer_.Count());

    Command(IDM_SAVE_AXES);
    EXPECT_DOUBLE_EQ(full / 4, Axis(1).velocity);  // the slider rules at once
    EXPECT_EQ(2u, answerer_.Count());
    Command(IDM_INIT_AXES);
    SetSlider(1, 100);
    Tick();
    EXPECT_DOUBLE_EQ(full, Axis(1).velocity);
    DeleteFileA(store.c_str());
}

TEST_F(MotionTest, LettersInDistanceBoxAreCommandsAndDigitsAreText)
{
    HWND edit = GetDlgItem(Panel(1), IDC_DISTANCE);
    SetFocus(edit);
    SetWindowTextA(edit, "");
    for (char c : std::string("-12.5"))
        PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    PumpWithAccelerators(100);
    EXPECT_EQ("-12.5", testing_support::WindowText(edit));

    PostMessageA(edit, WM_CHAR, 'm', 1);
    PumpWithAccelerators(100);
    EXPECT_DOUBLE_EQ(-12.5, Axis(1).target);
    EXPECT_EQ("-12.5", testing_support::WindowText(edit));

    answerer_.Expect(IDOK);
    PostMessageA(edit, WM_CHAR, 's', 1);
    PumpWithAccelerators(100);
    EXPECT_EQ(1u, answerer_.Count());
    EXPECT_EQ(4, TavroSim_CallCount("TavroStop"));
    EXPECT_EQ("-12.5", testing_support::WindowText(edit));
}

} // namespace
} // namespace ambrel_test
