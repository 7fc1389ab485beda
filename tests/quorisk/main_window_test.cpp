// The main window: start-up options, layout, readouts and lamps, axis
// selection and the shut-down.
#include "tuning_fixture.h"

#include "controller.h"
#include "main_window.h"
#include "plot_refresh.h"
#include "resource.h"
#include "step_test.h"
#include "tuning_files.h"
#include "vistrel.h"

using testing_support::DialogAnswerer;
using testing_support::ItemText;
using testing_support::IsItemEnabled;
using testing_support::ReadTextFile;
using testing_support::TempFolder;
using testing_support::WriteTextFile;

TEST_F(TuningWindowTest, CommandLineChoosesAxisAndBoard)
{
    Start("-a 3 -b 2");
    EXPECT_EQ(Data()->Axis, 3);
    EXPECT_EQ(Data()->ControllerID, 2);
    ASSERT_FALSE(LoggedCalls({"TavroOpen"}).empty());
    EXPECT_EQ(LoggedCalls({"TavroOpen"})[0], "TavroOpen(2, 2, \"\")");
    EXPECT_EQ(LoggedCalls({"TavroErrorNotify"}).back(), "TavroErrorNotify(1, -2)");
}

TEST_F(TuningWindowTest, LongOptionsAndOptionsLeftOut)
{
    Start("--axis=2 --board=5");
    EXPECT_EQ(Data()->Axis, 2);
    EXPECT_EQ(Data()->ControllerID, 5);
    DestroyWindow(main_);

    Fake() = FakeController();
    InstallFakeController();
    // Axis 0 and a board of 0x8000 or above count as not given: the stored
    // axis and controller stay in force.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Korvane\\Drevalon\\Servo Tuning", 0,
                              nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD storedAxis = 3;
    const DWORD storedBoard = 2;
    RegSetValueExA(key, "Axis", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&storedAxis), 4);
    RegSetValueExA(key, "ControllerID", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&storedBoard),
                   4);
    RegCloseKey(key);
    Start("-a 0 -b 40000");
    EXPECT_EQ(Data()->Axis, 3);
    EXPECT_EQ(Data()->ControllerID, 2);
    ASSERT_FALSE(LoggedCalls({"TavroOpen"}).empty());
    EXPECT_EQ(LoggedCalls({"TavroOpen"})[0], "TavroOpen(2, 2, \"\")");
}

TEST_F(TuningWindowTest, AxisOutsideTheControllerBecomesAxisOne)
{
    Start("-a 9");
    EXPECT_EQ(Data()->Axis, 1);
    DestroyWindow(main_);

    Fake() = FakeController();
    InstallFakeController();
    Fake().axisCount = 20; // more axes than the record keeps series for
    Start("-a 17");
    EXPECT_EQ(Data()->Axis, 1);
    SelectAxis(Data(), 16);
    EXPECT_EQ(Data()->Axis, 16);
    SendMessageA(Panel(), WM_COMMAND, IDC_AXIS_BUTTON, 0);
    EXPECT_EQ(Data()->Axis, 1); // wraps at 16, not at 20
}

TEST_F(TuningWindowTest, FailedOpenShowsErrorThenRunsWithoutController)
{
    Fake().openResult = TAVRO_ERR_NO_CONTROLLER;
    Fake().selections = {3, -1};
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    Start("");
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Servo Tuning");
    EXPECT_NE(answerer.Seen()[0].text.find("Unable to open controller for the following reason:"),
              std::string::npos);
    EXPECT_NE(answerer.Seen()[0].text.find("ID 0  -  fake error -6"), std::string::npos);
    EXPECT_NE(answerer.Seen()[1].text.find("ID 3  -  fake error -6"), std::string::npos);
    EXPECT_EQ(Data()->ControllerID, -1);
    EXPECT_LT(Data()->controller, 0);

    // Without a controller the timer asks nothing of the library, and the
    // shut-down neither sets modes nor closes anything.
    Fake().log.clear();
    Tick();
    EXPECT_EQ(Fake().calls["TavroGetStatus"], 0);
    EXPECT_EQ(ItemText(Panel(), IDC_AXIS_READOUT), "1");
    DestroyWindow(main_);
    EXPECT_TRUE(LoggedCalls({"TavroSetOperatingMode", "TavroClose", "TavroGetConfiguration"}).empty());
}

TEST_F(TuningWindowTest, ExportWithoutAControllerSaysSoAndLeavesTheFile)
{
    Fake().openResult = TAVRO_ERR_NO_CONTROLLER;
    Fake().selections = {-1};
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    Start("");
    ASSERT_LE(Data()->controller, 0);
    SendMessageA(main_, WM_COMMAND, IDM_EXPORT_COMMANDS, 0);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[1].caption, "Servo Tuning");
    EXPECT_EQ(answerer.Seen()[1].text, "No controller is open; the command file was not written.");

    TempFolder folder;
    std::string path = folder.File("tuning.tcl");
    WriteTextFile(path, "1SG2\r\n");
    WriteTuningCommandFile(Data()->controller, path.c_str());
    EXPECT_EQ(ReadTextFile(path), "1SG2\r\n");
}

TEST_F(TuningWindowTest, ControllerWithoutMotorsIsRefused)
{
    Fake().axisCount = 0;
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    Start("");
    ASSERT_GE(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("No motor modules are installed on this controller."),
              std::string::npos);
    EXPECT_EQ(Data()->controller, 0);
    EXPECT_EQ(LoggedCalls({"TavroClose"}).size(), 1u);
    EXPECT_EQ(LoggedCalls({"TavroDLG_SelectController"}).size(), 1u);
}

TEST_F(TuningWindowTest, LayoutFollowsThePlotStyle)
{
    Start("");
    Data()->PlotStyle = PLOT_STYLE_SINGLE;
    Resize(800, 600);
    RECT r = PlotRect(0);
    EXPECT_EQ(r.left, 220);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom - r.top, 600);
    EXPECT_FALSE(IsWindowVisible(Data()->plotWindows[1]));

    // Multi with actual, optimal and error: two windows, the first double.
    Data()->PlotStyle = PLOT_STYLE_MULTI;
    Resize(800, 600);
    EXPECT_EQ(PlotRect(0).top, 0);
    EXPECT_EQ(PlotRect(0).bottom - PlotRect(0).top, 398);
    EXPECT_EQ(PlotRect(1).top, 402);
    EXPECT_EQ(PlotRect(1).bottom - PlotRect(1).top, 197);
    EXPECT_TRUE(IsWindowVisible(Data()->plotWindows[1]));
    EXPECT_FALSE(IsWindowVisible(Data()->plotWindows[2]));

    // Separate with four traces.
    Data()->PlotStyle = PLOT_STYLE_SEPARATE;
    Data()->PlotTorque = 1;
    Resize(800, 600);
    const int tops[4] = {0, 151, 302, 453};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(PlotRect(i).top, tops[i]) << "plot " << i;
        EXPECT_EQ(PlotRect(i).bottom - PlotRect(i).top, 147) << "plot " << i;
    }
    EXPECT_FALSE(IsWindowEnabled(Data()->plotWindows[4]));

    RECT panel;
    GetWindowRect(Panel(), &panel);
    EXPECT_EQ(panel.right - panel.left, 220);
    EXPECT_EQ(panel.bottom - panel.top, 600);
}

TEST_F(TuningWindowTest, GridDivisionsFollowThePlotSize)
{
    Start("");
    HWND plot = Data()->plotWindows[0];
    struct Case { int width, height, x, y; } cases[] = {
        {199, 124, 2, 2}, {200, 125, 4, 4}, {499, 249, 4, 4}, {500, 250, 10, 10},
    };
    for (const Case& c : cases) {
        SetPlotGridDivisions(plot, c.width, c.height);
        EXPECT_EQ(SendMessageA(plot, PLM_GETXDIVISIONS, 0, 0), c.x) << c.width;
        EXPECT_EQ(SendMessageA(plot, PLM_GETYDIVISIONS, 0, 0), c.y) << c.height;
    }
}

TEST_F(TuningWindowTest, ReadoutsAndLampFollowTheController)
{
    Fake().axes[1].scale.positionScale = 1000.0;
    Fake().axes[1].position = 12.5;
    Start("");
    Tick();
    EXPECT_EQ(ItemText(Panel(), IDC_AXIS_READOUT), "1");
    EXPECT_EQ(ItemText(Panel(), IDC_POSITION_READOUT), "12.500");
    EXPECT_EQ(IsDlgButtonChecked(Panel(), IDC_MOTOR_LAMP), 0u);
    EXPECT_FALSE(IsItemEnabled(Panel(), IDC_STEP_PLUS));
    EXPECT_FALSE(IsItemEnabled(Panel(), IDC_MOTOR_OFF));

    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Tick();
    EXPECT_EQ(IsDlgButtonChecked(Panel(), IDC_MOTOR_LAMP), 1u);
    EXPECT_TRUE(IsItemEnabled(Panel(), IDC_STEP_PLUS));
    EXPECT_TRUE(IsItemEnabled(Panel(), IDC_STEP_MINUS));
    EXPECT_TRUE(IsItemEnabled(Panel(), IDC_MOTOR_OFF));

    Fake().axes[1].status |= 1u << TAVRO_STAT_ERROR;
    Tick();
    EXPECT_EQ(IsDlgButtonChecked(Panel(), IDC_MOTOR_LAMP), 2u);

    // A scale of 0 gives whole numbers instead of a logarithm of zero.
    Fake().axes[2].scale.positionScale = 0.0;
    Fake().axes[2].position = 7.25;
    Data()->Gantry = 1;
    SendMessageA(Panel(), WM_COMMAND, IDC_AXIS_BUTTON, 0);
    Tick();
    EXPECT_EQ(ItemText(Panel(), IDC_AXIS_READOUT), "2  gantry");
    EXPECT_EQ(ItemText(Panel(), IDC_POSITION_READOUT), "7");
}

TEST_F(TuningWindowTest, AxisCommandWrapsAndGantryPartnerIsChecked)
{
    Start("-a 4");
    EXPECT_EQ(Data()->Axis, 4);
    SendMessageA(Panel(), WM_COMMAND, IDC_AXIS_BUTTON, 0);
    EXPECT_EQ(Data()->Axis, 1);

    Data()->Gantry = 1;
    Data()->GantryMaster = 1;
    Data()->GantrySlave = 2;
    EXPECT_EQ(GetGantryPartner(Data()), 2);
    Data()->Axis = 2;
    EXPECT_EQ(GetGantryPartner(Data()), 1);
    Data()->Axis = 3;
    EXPECT_EQ(GetGantryPartner(Data()), 0);
    // A partner the controller lacks, or the axis itself, is none.
    Data()->Axis = 1;
    Data()->GantrySlave = 7;
    EXPECT_EQ(GetGantryPartner(Data()), 0);
    Data()->GantrySlave = 1;
    EXPECT_EQ(GetGantryPartner(Data()), 0);
    Data()->Gantry = 0;
    Data()->GantrySlave = 2;
    EXPECT_EQ(GetGantryPartner(Data()), 0);
}

TEST_F(TuningWindowTest, GantryShareCopiesOnlyWhatCouldBeRead)
{
    Start("");
    Data()->Gantry = 1;
    Data()->GantryShare = 1;
    Fake().axes[1].position = 42.0;
    Fake().axes[1].scale.positionScale = 500.0;
    Fake().axes[1].failFilterRead = true;
    Fake().log.clear();
    ShareGantrySettings(Data());
    EXPECT_EQ(LoggedCalls({"TavroSetScale"}), std::vector<std::string>{"TavroSetScale(1, 2, 500)"});
    EXPECT_EQ(LoggedCalls({"TavroSetPosition"}),
              std::vector<std::string>{"TavroSetPosition(1, 2, 42)"});
    EXPECT_TRUE(LoggedCalls({"TavroSetFilterConfig"}).empty());
    EXPECT_EQ(LoggedCalls({"TavroSetMotionConfig", "TavroSetProfile"}).size(), 2u);

    Data()->GantryShare = 0;
    Fake().log.clear();
    ShareGantrySettings(Data());
    EXPECT_TRUE(Fake().log.empty());
}

TEST_F(TuningWindowTest, ShutDownLeavesEveryAxisInModeTwo)
{
    Start("");
    Fake().log.clear();
    DestroyWindow(main_);
    std::vector<std::string> expected = {
        "TavroSetOperatingMode(1, 1, 0, 2)", "TavroSetOperatingMode(1, 2, 0, 2)",
        "TavroSetOperatingMode(1, 3, 0, 2)", "TavroSetOperatingMode(1, 4, 0, 2)",
        "TavroClose(1)"};
    EXPECT_EQ(LoggedCalls({"TavroSetOperatingMode", "TavroClose"}), expected);
}

TEST_F(TuningWindowTest, SaveAsIsGrayedUntilATestExists)
{
    Start("");
    RecordPlots();
    HMENU file = GetSubMenu(GetMenu(main_), 0);
    auto saveAsGrayed = [&] {
        SendMessageA(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
        return (GetMenuState(file, IDM_SAVE_AS, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    EXPECT_TRUE(saveAsGrayed());

    // Axis 1 tested over 100, then axis 2 over 500: axis 1 keeps its target.
    Data()->testSettings.points = 5;
    Data()->testSettings.Distance = 100.0;
    ASSERT_TRUE(ReadCaptureSeries(main_, 1, 0, 0, 0, true));
    Data()->testSettings.Distance = 500.0;
    ASSERT_TRUE(ReadCaptureSeries(main_, 2, 0, 0, 0, true));
    Data()->testDone = 1;
    ClearPlotCalls();
    RefreshPlots(main_);
    ASSERT_EQ(PlotCalls(0, PLM_SETTRACEDATA).size(), 2u);
    ASSERT_EQ(PlotCalls(0, PLM_SETTRACEDATA)[1].values, (std::vector<double>{100, 100}));
    EXPECT_FALSE(saveAsGrayed());

    // An axis without a test of its own has nothing to save or print.
    Data()->Axis = 3;
    ASSERT_TRUE(saveAsGrayed());
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    SendMessageA(main_, WM_COMMAND, IDM_PRINT, 0);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Print Error");
    EXPECT_EQ(answerer.Seen()[0].text, "Cannot print - No tests have been performed");

    // Another controller keeps no series from before, also after its own test.
    Fake().selections = {2};
    SendMessageA(main_, WM_COMMAND, IDM_SELECT_CONTROLLER, 0);
    ASSERT_TRUE(ReadCaptureSeries(main_, 3, 0, 0, 0, true));
    Data()->testDone = 1;
    Data()->Axis = 1;
    EXPECT_TRUE(Data()->actualSeries[0].empty());
    EXPECT_TRUE(saveAsGrayed());
}

TEST_F(TuningWindowTest, SelectingAnotherControllerReopens)
{
    Start("");
    Fake().log.clear();
    SendMessageA(main_, WM_COMMAND, IDM_SELECT_CONTROLLER, 0); // cancelled: nothing changes
    EXPECT_TRUE(LoggedCalls({"TavroClose", "TavroOpen"}).empty());
    EXPECT_EQ(Data()->controller, 1);

    Fake().log.clear();
    Fake().selections = {2};
    Data()->testDone = 1;
    SendMessageA(main_, WM_COMMAND, IDM_SELECT_CONTROLLER, 0);
    EXPECT_EQ(LoggedCalls({"TavroClose", "TavroOpen"}),
              (std::vector<std::string>{"TavroClose(1)", "TavroOpen(2, 2, \"\")"}));
    EXPECT_EQ(Data()->ControllerID, 2);
    EXPECT_EQ(Data()->testDone, 0);
    EXPECT_EQ(LoggedCalls({"TavroGetGain"}).size(), 1u); // sliders reloaded
}

TEST_F(TuningWindowTest, AcceleratorsReachTheTestCommands)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), "Tuning");
    ASSERT_NE(table, nullptr);
    ACCEL entries[8] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 8), 5);
    auto find = [&](WORD command) {
        for (const ACCEL& a : entries)
            if (a.cmd == command)
                return a;
        return ACCEL{};
    };
    EXPECT_EQ(find(IDM_CLEAR_PLOT).key, 14);
    EXPECT_FALSE(find(IDM_CLEAR_PLOT).fVirt & FVIRTKEY);
    EXPECT_EQ(find(IDM_PRINT).key, 16);
    EXPECT_EQ(find(IDM_ZERO_POSITION).key, 26);
    EXPECT_EQ(find(IDM_STEP_PLUS).key, VK_F5);
    EXPECT_EQ(find(IDM_STEP_PLUS).fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY);
    EXPECT_EQ(find(IDM_STEP_MINUS).fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);

    // Ctrl+Z zeroes the current axis through the panel.
    Start("");
    MSG key = {main_, WM_CHAR, 26, 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateAcceleratorA(main_, table, &key));
    EXPECT_EQ(LoggedCalls({"TavroSetPosition"}).back(), "TavroSetPosition(1, 1, 0)");
}
