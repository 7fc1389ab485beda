// The "Test Setup" sheet and the "PID Setup" dialog, driven as a user would:
// entries typed, boxes clicked, OK, Apply and Cancel pressed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dialogs_resource.h"
#include "quorisk_test_env.h"
#include "setup_dialogs.h"
#include "test_support.h"

using namespace quorisk_test;
using testing_support::DialogAnswerer;
using testing_support::ItemText;

namespace {

HWND ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void Click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
void Type(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
void Choose(HWND page, int id, int index) { SendDlgItemMessageA(page, id, CB_SETCURSEL, index, 0); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

class SetupDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeController();
        data_->controller = FAKE_HANDLE;
        data_->hasAdvancedCapture = 256;
        data_->hasTorqueCapture = 1;
        data_->hasAuxEncoder = 1;
    }

    TuningWindow window_;
    TuningWindowData* data_ = window_.Data();
};

TEST_F(SetupDialogsTest, MotionEntriesAreShownAndStored)
{
    data_->testSettings.Delay = 0.02;
    data_->testSettings.RecordTime = 0.4;
    std::string shown;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND sheet) {
        HWND page = ShowPage(sheet, 0);
        shown = ItemText(page, IDC_MOTION_TIME) + " " + ItemText(page, IDC_MOTION_DELAY);
        EXPECT_FALSE(Enabled(page, IDC_MOTION_CYCLE_DWELL));
        Type(page, IDC_MOTION_DISTANCE, "-25");
        Type(page, IDC_MOTION_TIME, "0");
        Type(page, IDC_MOTION_DELAY, "-5");
        Click(page, IDC_MOTION_CYCLE);
        EXPECT_TRUE(Enabled(page, IDC_MOTION_CYCLE_DWELL));
        Type(page, IDC_MOTION_CYCLE_DWELL, "-100");
        Click(page, IDC_MOTION_REPEAT);
        Type(page, IDC_MOTION_COUNT, "-3");
        Type(page, IDC_MOTION_RDWELL, "250");
        Click(page, IDC_MOTION_GANTRY);
        Choose(page, IDC_MOTION_MASTER, 0);
        Choose(page, IDC_MOTION_SLAVE, 2);
        Click(page, IDC_MOTION_SHARE); // unchecking warns
    });
    answerer.Expect(IDOK);
    EXPECT_GT(ShowTestSetup(window_.Window()), 0);

    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Warning", answerer.Seen()[1].caption);
    EXPECT_EQ("Sharing PID settings in Gantry mode is recommended. Disabling\n"
              "sharing allows the each gantry axis to have unique settings. This\n"
              "may result in erratic or dangerous operation.",
              answerer.Seen()[1].text);
    EXPECT_EQ("400.000 20.0", shown);
    const TestSettings& test = data_->testSettings;
    EXPECT_DOUBLE_EQ(25.0, test.Distance);
    EXPECT_DOUBLE_EQ(0.4, test.RecordTime);
    EXPECT_DOUBLE_EQ(0.02, test.Delay);
    EXPECT_EQ(1, test.Cycle);
    EXPECT_DOUBLE_EQ(0.1, test.Dwell);
    EXPECT_EQ(1, test.Repeat);
    EXPECT_EQ(3, test.Count);
    EXPECT_DOUBLE_EQ(0.25, test.RDwell);
    EXPECT_EQ(1, data_->Gantry);
    EXPECT_EQ(1, data_->GantryMaster);
    EXPECT_EQ(3, data_->GantrySlave);
    EXPECT_EQ(0, data_->GantryShare);
}

TEST_F(SetupDialogsTest, CountZeroEndsRepeatAndTheCountStaysWithinRange)
{
    for (const char* entry : {"0", "-2147483648"}) {
        data_->testSettings.Repeat = 1;
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND sheet) { Type(ShowPage(sheet, 0), IDC_MOTION_COUNT, entry); });
        ShowTestSetup(window_.Window());
        bool zero = entry[0] == '0';
        EXPECT_EQ(zero ? 0 : INT_MAX, data_->testSettings.Count);
        EXPECT_EQ(zero ? 0 : 1, data_->testSettings.Repeat);
    }
}

TEST_F(SetupDialogsTest, GantryAxisOutsideTheListsIsKeptOnlyWithoutAController)
{
    // No controller open: the lists are empty, yet the stored pair stays and
    // gantry mode does not refuse every apply. With a controller open, a
    // slave beyond its axes has no selection and is stored as 0.
    for (int axes : {0, 2}) {
        g_fake.config.axisCount = axes;
        data_->controller = axes ? FAKE_HANDLE : 0;
        data_->Gantry = 1;
        data_->GantryMaster = 1;
        data_->GantrySlave = 3;
        LRESULT items = -1;
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND sheet) {
            HWND page = ShowPage(sheet, 0);
            items = SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_GETCOUNT, 0, 0);
            Type(page, IDC_MOTION_DISTANCE, "9");
        });
        EXPECT_GT(ShowTestSetup(window_.Window()), 0);
        EXPECT_EQ(axes, items);
        EXPECT_EQ(1u, answerer.Count()) << axes;
        EXPECT_DOUBLE_EQ(9.0, data_->testSettings.Distance);
        EXPECT_EQ(1, data_->GantryMaster);
        EXPECT_EQ(axes ? 0 : 3, data_->GantrySlave);
    }
}

// Types a record time and a distance, presses Apply; the Apply result.
bool ApplyMotion(HWND sheet, const char* time, bool sameGantryAxes)
{
    HWND page = ShowPage(sheet, 0);
    Type(page, IDC_MOTION_TIME, time);
    Type(page, IDC_MOTION_DISTANCE, "7");
    if (sameGantryAxes) {
        Click(page, IDC_MOTION_GANTRY);
        Choose(page, IDC_MOTION_MASTER, 1);
        Choose(page, IDC_MOTION_SLAVE, 1);
    }
    return SendMessageA(sheet, PSM_APPLY, 0, 0) != FALSE;
}

TEST_F(SetupDialogsTest, RefusedApplyKeepsTheSheetOpenAndTheRestUnwritten)
{
    bool accepted[2] = {true, true};
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [&](HWND sheet) { accepted[0] = ApplyMotion(sheet, "300", true); });
    answerer.Expect(IDOK);
    ShowTestSetup(window_.Window());
    EXPECT_FALSE(accepted[0]);
    EXPECT_EQ("Parameter Error", answerer.Seen().at(1).caption);
    EXPECT_EQ("The master and slave axis settings for gantry\n"
              "mode may not be set to the same axis number.",
              answerer.Seen()[1].text);
    EXPECT_DOUBLE_EQ(0.3, data_->testSettings.RecordTime); // written before the checks
    EXPECT_DOUBLE_EQ(100.0, data_->testSettings.Distance);
    EXPECT_EQ(0, data_->Gantry);

    // 512 points at 0.5 ms hold 0.256 s: Cancel returns to the sheet, OK
    // takes the limit and the rest of the page.
    data_->hasAdvancedCapture = 0;
    DialogAnswerer limit;
    limit.Expect(IDOK, [&](HWND sheet) {
        accepted[0] = ApplyMotion(sheet, "500", false);
        accepted[1] = ApplyMotion(sheet, "500", false);
    });
    limit.Expect(IDCANCEL);
    limit.Expect(IDOK);
    limit.Expect(IDOK);
    EXPECT_GT(ShowTestSetup(window_.Window()), 0);
    EXPECT_FALSE(accepted[0]);
    EXPECT_TRUE(accepted[1]);
    EXPECT_EQ("This controller cannot support data capture times of longer than 0.256000 seconds\n"
              "Select OK to fix the settings and continue or Cancel to return to the dialog box",
              limit.Seen().at(1).text);
    EXPECT_DOUBLE_EQ(0.256, data_->testSettings.RecordTime);
    EXPECT_DOUBLE_EQ(7.0, data_->testSettings.Distance);
}

TEST_F(SetupDialogsTest, PlotPageStylesTracesAndSampling)
{
    data_->hasTorqueCapture = 0;
    data_->PlotError = 0;
    std::vector<bool> seen;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND sheet) {
        HWND page = ShowPage(sheet, 1);
        seen.push_back(Enabled(page, IDC_PLOT_ACTUAL));  // Multi: disabled
        seen.push_back(Enabled(page, IDC_PLOT_TORQUE));  // no torque capture
        Click(page, IDC_PLOT_SEPARATE);
        Click(page, IDC_PLOT_MULTI);
        seen.push_back(IsDlgButtonChecked(page, IDC_PLOT_ERROR) == BST_CHECKED);
        Click(page, IDC_PLOT_SINGLE);
        seen.push_back(Enabled(page, IDC_PLOT_ERROR));
        Click(page, IDC_PLOT_TARGET);
        Click(page, IDC_PLOT_AUXILIARY);
        Type(page, IDC_PLOT_SCALE, "2.5");
        seen.push_back(Enabled(sheet, 0x3021)); // Apply: trace boxes do not enable it
        Click(page, IDC_PLOT_EVERY_FOURTH);
        seen.push_back(Enabled(sheet, 0x3021));
    });
    EXPECT_GT(ShowTestSetup(window_.Window()), 0);

    EXPECT_EQ((std::vector<bool>{false, false, true, true, false, true}), seen);
    EXPECT_EQ(PLOT_STYLE_SINGLE, data_->PlotStyle);
    EXPECT_EQ(1, data_->PlotError);
    EXPECT_EQ(0, data_->PlotTarget);
    EXPECT_EQ(1, data_->PlotAuxiliary);
    EXPECT_DOUBLE_EQ(2.5, data_->AuxiliaryScale);
    EXPECT_EQ(4, data_->testSettings.Sampling);
}

TEST_F(SetupDialogsTest, InfoPageDescribesTheCurrentAxis)
{
    data_->Axis = 2;
    TavroAxisConfig& axis = g_fake.axes[2].config;
    axis.moduleType = 9;
    axis.captureBufferSize = 2048;
    axis.captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED | TAVRO_CAPTURE_STATUS;
    std::vector<std::string> texts;
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [&](HWND sheet) {
        HWND page = ShowPage(sheet, 2);
        for (int id = IDC_INFO_FRAME; id <= IDC_INFO_MODES; ++id) {
            texts.push_back(ItemText(page, id));
        }
    });
    ShowTestSetup(window_.Window());
    EXPECT_EQ((std::vector<std::string>{"Axis 2 Settings", "Module 9", "2048", "0.000500", "Yes",
                                        "Position, Optimal, Error, Torque, Status"}),
              texts);
}

// Slider windows 215-217 of a stand-in panel record the reloads they get.
std::vector<int> g_reloads;
LRESULT CALLBACK SliderStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER + 1) {
        g_reloads.push_back(GetDlgCtrlID(window));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR RunPidSetup(TuningWindowData* data, HWND owner)
{
    g_reloads.clear();
    WNDCLASSA slider = {};
    slider.lpfnWndProc = SliderStandIn;
    slider.lpszClassName = "QuoriskFilesSlider";
    RegisterClassA(&slider);
    data->panelWindow = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 9, 9, owner, nullptr,
                                        nullptr, nullptr);
    for (INT_PTR id = 215; id <= 217; ++id) {
        CreateWindowExA(0, slider.lpszClassName, "", WS_CHILD, 0, 0, 5, 5, data->panelWindow,
                        reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
    return DialogBoxParamA(GetModuleHandleA(nullptr), "PanelSetupDialog", owner,
                           PidSliderSetupDlgProc, reinterpret_cast<LPARAM>(data));
}

void TypeLimits(HWND dialog, const std::vector<const char*>& limits)
{
    const int ids[] = {IDC_PID_P_UPPER, IDC_PID_P_LOWER, IDC_PID_I_UPPER,
                       IDC_PID_I_LOWER, IDC_PID_D_UPPER, IDC_PID_D_LOWER};
    for (int i = 0; i < 6; ++i) {
        Type(dialog, ids[i], limits[i]);
    }
}

TEST_F(SetupDialogsTest, PidSetupChecksLimitsInOrderAndStoresThem)
{
    data_->propGain.percent = 90.0;
    data_->intGain.percent = 10.0;
    data_->derGain.percent = 10.0;
    data_->sliderSetupMask = 7;
    const std::vector<std::vector<const char*>> attempts = {
        {"80", "20", "100", "0", "100", "0"},   {"100", "100", "100", "0", "100", "0"},
        {"100.5", "0", "100", "0", "100", "0"}, {"100", "0", "50", "50", "100", "0"},
        {"100", "0", "100", "-1", "100", "0"},  {"100", "0", "100", "0", "5", "6"},
        {"100", "0", "100", "0", "inf", "0"},   {"100", "0", "100", "20", "100", "0"},
        {"100", "0", "100", "0", "100", "15"},
    };
    std::string shownUpper;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        shownUpper = ItemText(dialog, IDC_PID_P_UPPER);
        for (const auto& limits : attempts) {
            TypeLimits(dialog, limits);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        TypeLimits(dialog, {"95", "5", "90", "10", "80", "0"});
    });
    for (size_t i = 0; i < attempts.size(); ++i) {
        answerer.Expect(IDRETRY);
    }
    EXPECT_EQ(1, RunPidSetup(data_, window_.Window()));

    EXPECT_EQ("100.000000", shownUpper);
    const char* expected[] = {
        "Proportional Gain is not within Limits.",
        "Proportional Gain Upper Limit must be greater than Lower Limit.",
        "Proportional Gain Limits must be between 0% and 100%.",
        "Intergral Gain Upper Limit must be greater than Lower Limit.",
        "Integral Gain Limits must be between 0% and 100%.",
        "Derivative Gain Upper Limit must be greater than Lower Limit.",
        "Derivative Gain Limits must be between 0% and 100%.",
        "Integral Gain is not within Limits.",
        "Derivative Gain is not within Limits.",
    };
    ASSERT_EQ(attempts.size() + 1, answerer.Count());
    for (size_t i = 0; i < attempts.size(); ++i) {
        EXPECT_EQ("Servo Tuning", answerer.Seen()[i + 1].caption);
        EXPECT_EQ(expected[i], answerer.Seen()[i + 1].text);
    }
    EXPECT_DOUBLE_EQ(95.0, data_->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(10.0, data_->intGain.lowerPercent);
    EXPECT_DOUBLE_EQ(80.0, data_->derGain.upperPercent);
    EXPECT_EQ((std::vector<int>{215, 216, 217}), g_reloads);
}

TEST_F(SetupDialogsTest, PidSetupFromOneSliderChecksAllAndCancelStoresNothing)
{
    data_->sliderSetupMask = 2;
    data_->propGain.percent = 50.0;
    std::vector<bool> enabled;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        enabled = {Enabled(dialog, IDC_PID_P_UPPER), Enabled(dialog, IDC_PID_I_UPPER)};
        Click(dialog, IDC_PID_HELP); // the program's help file, absent here
        Type(dialog, IDC_PID_P_UPPER, "40"); // disabled, yet read and checked
        Type(dialog, IDC_PID_I_UPPER, "70");
    });
    answerer.Expect(IDOK);
    answerer.Expect(IDCANCEL);
    EXPECT_EQ(0, RunPidSetup(data_, window_.Window()));
    EXPECT_EQ((std::vector<bool>{false, true}), enabled);
    EXPECT_NE(std::string::npos, answerer.Seen().at(1).text.find("\\tuning.hlp "));
    EXPECT_EQ("Proportional Gain is not within Limits.", answerer.Seen().at(2).text);
    EXPECT_DOUBLE_EQ(100.0, data_->intGain.upperPercent);
    EXPECT_TRUE(g_reloads.empty());
}

// Slider label texts: two decimals below 10, none from 10 on.
TEST(FormatPercentTest, DecimalsDependOnTheValue)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.00%"}, {5.0, "5.00%"}, {9.999, "10.00%"}, {10.0, " 10%"}, {100.0, "100%"}};
    for (const auto& c : cases) {
        char text[16];
        EXPECT_EQ(static_cast<int>(strlen(c.second)), FormatPercent(text, sizeof(text), c.first));
        EXPECT_STREQ(c.second, text);
    }
}

} // namespace
