// The "Test Setup" sheet and the "PID Setup" dialog, driven as a user would:
// entries typed, boxes clicked, OK, Apply and Cancel pressed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <vector>

#include "dialogs_resource.h"
#include "quorisk_test_env.h"
#include "setup_dialogs.h"
#include "test_support.h"

using namespace quorisk_test;
using testing_support::DialogAnswerer;
using testing_support::ItemText;

namespace {

const int APPLY_BUTTON = 0x3021;

HWND CurrentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

HWND ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return CurrentPage(sheet);
}

void Click(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void Type(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
}

bool ApplyEnabled(HWND sheet)
{
    return IsWindowEnabled(GetDlgItem(sheet, APPLY_BUTTON)) != FALSE;
}

// Presses Apply; true when every page accepted it.
bool Apply(HWND sheet)
{
    return SendMessageA(sheet, PSM_APPLY, 0, 0) != FALSE;
}

class SetupDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeController();
        data_ = window_.Data();
        data_->controller = FAKE_HANDLE;
        data_->Axis = 1;
        data_->hasAdvancedCapture = 256;
        data_->hasTorqueCapture = 1;
        data_->hasAuxEncoder = 1;
    }

    TuningWindow window_;
    TuningWindowData* data_ = nullptr;
};

TEST_F(SetupDialogsTest, MotionEntriesAreShownAndStored)
{
    data_->testSettings.Delay = 0.02;
    data_->testSettings.RecordTime = 0.4;
    std::string shownTime, shownDelay, shownCount;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        shownTime = ItemText(page, IDC_MOTION_TIME);
        shownDelay = ItemText(page, IDC_MOTION_DELAY);
        shownCount = ItemText(page, IDC_MOTION_COUNT);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_MOTION_CYCLE_DWELL)));
        Type(page, IDC_MOTION_DISTANCE, "-25");
        Type(page, IDC_MOTION_TIME, "0");
        Type(page, IDC_MOTION_DELAY, "-5");
        Click(page, IDC_MOTION_CYCLE);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_MOTION_CYCLE_DWELL)));
        Type(page, IDC_MOTION_CYCLE_DWELL, "-100");
        Click(page, IDC_MOTION_REPEAT);
        Type(page, IDC_MOTION_COUNT, "-3");
        Type(page, IDC_MOTION_RDWELL, "250");
        Click(page, IDC_MOTION_GANTRY);
        SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageA(page, IDC_MOTION_SLAVE, CB_SETCURSEL, 2, 0);
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
    EXPECT_EQ("400.000", shownTime);
    EXPECT_EQ("20.0", shownDelay);
    EXPECT_EQ("1", shownCount);
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
    const struct {
        const char* entry;
        int count;
        int repeat;
    } cases[] = {{"0", 0, 0}, {"-2147483648", INT_MAX, 1}};
    for (const auto& c : cases) {
        data_->testSettings.Repeat = 1;
        DialogAnswerer answerer;
        answerer.Expect(IDOK, [&](HWND sheet) { Type(CurrentPage(sheet), IDC_MOTION_COUNT, c.entry); });
        ShowTestSetup(window_.Window());
        EXPECT_EQ(c.count, data_->testSettings.Count) << c.entry;
        EXPECT_EQ(c.repeat, data_->testSettings.Repeat) << c.entry;
    }
}

TEST_F(SetupDialogsTest, GantryOnOneAxisRefusesTheApply)
{
    bool accepted = true;
    bool stillOpen = false;
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Type(page, IDC_MOTION_TIME, "300");
        Type(page, IDC_MOTION_DISTANCE, "7");
        Click(page, IDC_MOTION_GANTRY);
        SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(page, IDC_MOTION_SLAVE, CB_SETCURSEL, 1, 0);
        accepted = Apply(sheet);
        stillOpen = IsWindow(page) && CurrentPage(sheet) == page;
    });
    answerer.Expect(IDOK);
    ShowTestSetup(window_.Window());

    EXPECT_FALSE(accepted);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Parameter Error", answerer.Seen()[1].caption);
    EXPECT_EQ("The master and slave axis settings for gantry\n"
              "mode may not be set to the same axis number.",
              answerer.Seen()[1].text);
    EXPECT_DOUBLE_EQ(0.3, data_->testSettings.RecordTime); // written before the checks
    EXPECT_DOUBLE_EQ(100.0, data_->testSettings.Distance);
    EXPECT_EQ(0, data_->Gantry);

    // With gantry mode off the same choice is stored without a word.
    DialogAnswerer quiet;
    quiet.Expect(IDOK, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        SendDlgItemMessageA(page, IDC_MOTION_MASTER, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(page, IDC_MOTION_SLAVE, CB_SETCURSEL, 1, 0);
    });
    ShowTestSetup(window_.Window());
    EXPECT_EQ(1u, quiet.Count());
    EXPECT_EQ(2, data_->GantryMaster);
    EXPECT_EQ(2, data_->GantrySlave);
}

TEST_F(SetupDialogsTest, RecordTimeBeyondTheCaptureBufferOffersTheLimit)
{
    data_->hasAdvancedCapture = 0; // 512 points at 0.5 ms: 0.256 s at most
    DialogAnswerer cancelled;
    bool accepted = true;
    cancelled.Expect(IDCANCEL, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Type(page, IDC_MOTION_TIME, "500");
        Type(page, IDC_MOTION_DISTANCE, "9");
        accepted = Apply(sheet);
    });
    cancelled.Expect(IDCANCEL);
    ShowTestSetup(window_.Window());
    EXPECT_FALSE(accepted);
    ASSERT_EQ(2u, cancelled.Count());
    EXPECT_EQ("Parameter Error", cancelled.Seen()[1].caption);
    EXPECT_EQ("This controller cannot support data capture times of longer than 0.256000 seconds\n"
              "Select OK to fix the settings and continue or Cancel to return to the dialog box",
              cancelled.Seen()[1].text);
    EXPECT_DOUBLE_EQ(100.0, data_->testSettings.Distance);

    DialogAnswerer fixed;
    fixed.Expect(IDOK, [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Type(page, IDC_MOTION_TIME, "500");
        Type(page, IDC_MOTION_DISTANCE, "9");
    });
    fixed.Expect(IDOK);
    EXPECT_GT(ShowTestSetup(window_.Window()), 0);
    EXPECT_EQ(2u, fixed.Count());
    EXPECT_DOUBLE_EQ(0.256, data_->testSettings.RecordTime);
    EXPECT_DOUBLE_EQ(9.0, data_->testSettings.Distance);
}

TEST_F(SetupDialogsTest, PlotPageStylesTracesAndSampling)
{
    data_->hasTorqueCapture = 0;
    data_->PlotTorque = 0;
    data_->PlotError = 0;
    data_->PlotStyle = PLOT_STYLE_MULTI;
    data_->AuxiliaryScale = 1.0;
    struct Seen {
        bool actualEnabledAtStart = true;
        bool torqueEnabled = true;
        bool errorCheckedAfterMulti = false;
        bool errorEnabledAfterSingle = false;
        bool applyAfterTraces = true;
        bool applyAfterSampling = false;
    } seen;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND sheet) {
        HWND page = ShowPage(sheet, 1);
        seen.actualEnabledAtStart = IsWindowEnabled(GetDlgItem(page, IDC_PLOT_ACTUAL)) != FALSE;
        seen.torqueEnabled = IsWindowEnabled(GetDlgItem(page, IDC_PLOT_TORQUE)) != FALSE;
        Click(page, IDC_PLOT_SEPARATE);
        Click(page, IDC_PLOT_MULTI);
        seen.errorCheckedAfterMulti = IsDlgButtonChecked(page, IDC_PLOT_ERROR) == BST_CHECKED;
        Click(page, IDC_PLOT_SINGLE);
        seen.errorEnabledAfterSingle = IsWindowEnabled(GetDlgItem(page, IDC_PLOT_ERROR)) != FALSE;
        Click(page, IDC_PLOT_TARGET);
        Click(page, IDC_PLOT_OPTIMAL);
        Click(page, IDC_PLOT_AUXILIARY);
        Type(page, IDC_PLOT_SCALE, "2.5");
        seen.applyAfterTraces = ApplyEnabled(sheet);
        Click(page, IDC_PLOT_EVERY_FOURTH);
        seen.applyAfterSampling = ApplyEnabled(sheet);
    });
    EXPECT_GT(ShowTestSetup(window_.Window()), 0);

    EXPECT_FALSE(seen.actualEnabledAtStart);
    EXPECT_FALSE(seen.torqueEnabled);
    EXPECT_TRUE(seen.errorCheckedAfterMulti);
    EXPECT_TRUE(seen.errorEnabledAfterSingle);
    EXPECT_FALSE(seen.applyAfterTraces);
    EXPECT_TRUE(seen.applyAfterSampling);
    EXPECT_EQ(PLOT_STYLE_SINGLE, data_->PlotStyle);
    EXPECT_EQ(1, data_->PlotActual);
    EXPECT_EQ(0, data_->PlotOptimal);
    EXPECT_EQ(1, data_->PlotError);
    EXPECT_EQ(0, data_->PlotTarget);
    EXPECT_EQ(1, data_->PlotAuxiliary);
    EXPECT_DOUBLE_EQ(2.5, data_->AuxiliaryScale);
    EXPECT_EQ(4, data_->testSettings.Sampling);
}

TEST_F(SetupDialogsTest, InfoPageDescribesTheCurrentAxis)
{
    data_->Axis = 2;
    g_fake.axes[2].moduleType = 9;
    g_fake.axes[2].bufferSize = 2048;
    g_fake.axes[2].captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED |
                                  TAVRO_CAPTURE_STATUS;
    std::vector<std::string> texts;
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [&](HWND sheet) {
        HWND page = ShowPage(sheet, 2);
        for (int id = IDC_INFO_FRAME; id <= IDC_INFO_MODES; ++id) {
            texts.push_back(ItemText(page, id));
        }
    });
    ShowTestSetup(window_.Window());
    const std::vector<std::string> expected = {
        "Axis 2 Settings", "Module 9", "2048", "0.000500", "Yes",
        "Position, Optimal, Error, Torque, Status"};
    EXPECT_EQ(expected, texts);
}

// A stand-in control panel whose three slider children count reloads.
struct PanelStandIn {
    static std::vector<int>& Reloads()
    {
        static std::vector<int> reloads;
        return reloads;
    }
    static LRESULT CALLBACK SliderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_USER + 1) {
            Reloads().push_back(GetDlgCtrlID(window));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    explicit PanelStandIn(HWND parent)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = SliderProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuoriskFilesSliderStandIn";
        RegisterClassA(&windowClass);
        panel = CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, parent,
                                reinterpret_cast<HMENU>(200), nullptr, nullptr);
        for (int id = 215; id <= 217; ++id) {
            CreateWindowExA(0, "QuoriskFilesSliderStandIn", "", WS_CHILD, 0, 0, 5, 5, panel,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        }
        Reloads().clear();
    }
    HWND panel;
};

INT_PTR RunPidSetup(TuningWindowData* data, HWND owner)
{
    return DialogBoxParamA(GetModuleHandleA(nullptr), "PanelSetupDialog", owner,
                           PidSliderSetupDlgProc, reinterpret_cast<LPARAM>(data));
}

void TypeLimits(HWND dialog, const char* pu, const char* pl, const char* iu, const char* il,
                const char* du, const char* dl)
{
    Type(dialog, IDC_PID_P_UPPER, pu);
    Type(dialog, IDC_PID_P_LOWER, pl);
    Type(dialog, IDC_PID_I_UPPER, iu);
    Type(dialog, IDC_PID_I_LOWER, il);
    Type(dialog, IDC_PID_D_UPPER, du);
    Type(dialog, IDC_PID_D_LOWER, dl);
}

TEST_F(SetupDialogsTest, PidSetupChecksLimitsInOrderAndStoresThem)
{
    PanelStandIn panel(window_.Window());
    data_->panelWindow = panel.panel;
    data_->propGain.percent = 90.0;
    data_->intGain.percent = 10.0;
    data_->derGain.percent = 10.0;
    data_->sliderSetupMask = 7;
    std::string shownUpper;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        shownUpper = ItemText(dialog, IDC_PID_P_UPPER);
        const char* attempts[][6] = {
            {"80", "20", "100", "0", "100", "0"},    // P slider above its upper limit
            {"100", "100", "100", "0", "100", "0"},  // P lower not below upper
            {"100.5", "0", "100", "0", "100", "0"},  // P outside 0..100
            {"100", "0", "50", "50", "100", "0"},    // I lower not below upper
            {"100", "0", "100", "-1", "100", "0"},   // I outside 0..100
            {"100", "0", "100", "0", "5", "6"},      // D lower not below upper
            {"100", "0", "100", "0", "inf", "0"},    // D not finite
            {"100", "0", "100", "20", "100", "0"},   // I slider below its lower limit
            {"100", "0", "100", "0", "100", "15"},   // D slider below its lower limit
        };
        for (const auto& a : attempts) {
            TypeLimits(dialog, a[0], a[1], a[2], a[3], a[4], a[5]);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
        TypeLimits(dialog, "95", "5", "90", "10", "80", "0");
    });
    for (int i = 0; i < 9; ++i) {
        answerer.Expect(IDRETRY);
    }
    EXPECT_EQ(1, RunPidSetup(data_, window_.Window()));

    EXPECT_EQ("100.000000", shownUpper);
    const std::vector<std::string> expected = {
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
    ASSERT_EQ(expected.size() + 1, answerer.Count());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ("Servo Tuning", answerer.Seen()[i + 1].caption);
        EXPECT_EQ(expected[i], answerer.Seen()[i + 1].text);
    }
    EXPECT_DOUBLE_EQ(95.0, data_->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(5.0, data_->propGain.lowerPercent);
    EXPECT_DOUBLE_EQ(90.0, data_->intGain.upperPercent);
    EXPECT_DOUBLE_EQ(10.0, data_->intGain.lowerPercent);
    EXPECT_DOUBLE_EQ(80.0, data_->derGain.upperPercent);
    EXPECT_DOUBLE_EQ(0.0, data_->derGain.lowerPercent);
    EXPECT_EQ((std::vector<int>{215, 216, 217}), PanelStandIn::Reloads());
}

TEST_F(SetupDialogsTest, PidSetupFromOneSliderStillChecksAllAndCancelStoresNothing)
{
    PanelStandIn panel(window_.Window());
    data_->panelWindow = panel.panel;
    data_->sliderSetupMask = 2;
    data_->propGain.percent = 50.0;
    bool pEnabled = true, iEnabled = false;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        pEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PID_P_UPPER)) != FALSE;
        iEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PID_I_UPPER)) != FALSE;
        Type(dialog, IDC_PID_P_UPPER, "40"); // a disabled entry is read all the same
        Type(dialog, IDC_PID_I_UPPER, "70");
    });
    answerer.Expect(IDCANCEL);
    EXPECT_EQ(0, RunPidSetup(data_, window_.Window()));
    EXPECT_FALSE(pEnabled);
    EXPECT_TRUE(iEnabled);
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Proportional Gain is not within Limits.", answerer.Seen()[1].text);
    EXPECT_DOUBLE_EQ(100.0, data_->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(100.0, data_->intGain.upperPercent);
    EXPECT_TRUE(PanelStandIn::Reloads().empty());
}

TEST(FormatPercentTest, TwoDecimalsBelowTenElseNone)
{
    char text[16];
    const struct {
        double value;
        const char* expected;
    } cases[] = {{9.999, "10.00%"}, {10.0, " 10%"}, {0.0, "0.00%"}, {5.0, "5.00%"}, {100.0, "100%"}};
    for (const auto& c : cases) {
        FormatPercent(text, sizeof(text), c.value);
        EXPECT_STREQ(c.expected, text);
    }
    char small[4];
    EXPECT_EQ(4, FormatPercent(small, sizeof(small), 100.0));
    EXPECT_STREQ("100", small);
}

} // namespace
