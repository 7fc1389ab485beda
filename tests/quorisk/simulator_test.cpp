// The tuning program against the simulated controller: a real step
// response, gains written live, the gantry pair and refused controllers.
#include "tuning_fixture.h"

#include "controller.h"
#include "gain_slider.h"
#include "main_window.h"
#include "resource.h"
#include "tavro_binding.h"
#include "tavrosim_control.h"
#include "vistrel.h"

#include <commctrl.h>

#include <algorithm>

using testing_support::DialogAnswerer;

namespace {

class SimulatedTuningTest : public TuningWindowTest {
protected:
    void SetUp() override
    {
        registry_.reset(
            new testing_support::RegistryKeyReset("Software\\Korvane\\Drevalon\\Servo Tuning"));
        ASSERT_EQ(BindTavroApi(), 0);
        ASSERT_EQ(BindTavroDialogs(), 0);
        ASSERT_EQ(TavroSim_Reload(nullptr), 0);
        TavroSim_SetManualClock(1);
        EnsureWindowClasses();
    }

    // Motor and trajectory generator on, as a user does before a test.
    void PrepareAxis()
    {
        SendMessageA(Panel(), WM_COMMAND, IDC_MOTOR_ON, 0);
        SendMessageA(Panel(), WM_COMMAND, IDC_TRAJECTORY_ON, 0);
        TavroSim_Advance(0.05);
        Tick();
    }

    double Peak(int axis) const
    {
        const CaptureSeries& s = Data()->actualSeries[axis - 1];
        return s.empty() ? 0.0 : *std::max_element(s.begin(), s.end());
    }

    void MoveThumb(int sliderId, int position)
    {
        HWND slider = GetDlgItem(Panel(), sliderId);
        SendDlgItemMessageA(slider, IDC_TRACKBAR, TBM_SETPOS, TRUE, position);
        SendMessageA(slider, WM_VSCROLL, TB_ENDTRACK,
                     reinterpret_cast<LPARAM>(GetDlgItem(slider, IDC_TRACKBAR)));
    }
};

} // namespace

TEST_F(SimulatedTuningTest, StepResponseIsCapturedAndPlotted)
{
    Start("");
    ASSERT_GT(Data()->controller, 0);
    RecordPlots();
    PrepareAxis();
    ASSERT_EQ(IsDlgButtonChecked(Panel(), IDC_MOTOR_LAMP), 1u);
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);

    ASSERT_EQ(Data()->testDone, 1);
    const TestSettings& test = Data()->lastTest;
    const CaptureSeries& actual = Data()->actualSeries[0];
    ASSERT_EQ(actual.size(), static_cast<size_t>(test.points));
    EXPECT_EQ(actual.front(), 0.0);
    EXPECT_NEAR(actual.back(), test.Distance, 0.05 * test.Distance);
    EXPECT_NEAR(Data()->optimalSeries[0].back(), test.Distance, 1e-6);
    EXPECT_FALSE(Data()->torqueSeries[0].empty());

    // The plot windows got the traces and rounded ranges.
    std::vector<PlotCall> sent = PlotCalls(0, PLM_SETTRACEDATA);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(LOWORD(sent[0].wParam), 0);
    EXPECT_EQ(sent[0].values.size(), actual.size());
    EXPECT_EQ(sent[0].values, actual);
    HWND position = Data()->plotWindows[0];
    EXPECT_EQ(PlotYMin(position), 0.0);
    EXPECT_EQ(PlotYMax(position), Peak(1) <= 200.0 ? 200.0 : 300.0);
    double xMax = 0.0;
    SendMessageA(position, PLM_GETXMAX, 0, reinterpret_cast<LPARAM>(&xMax));
    EXPECT_DOUBLE_EQ(xMax, test.RecordTime * 1000.0);
    // The samples span the whole time axis.
    EXPECT_NEAR((sent[0].values.size() - 1) * test.period * 1000.0, xMax, test.period * 1000.0);
    EXPECT_EQ(PlotCalls(1, PLM_SETTRACEDATA).size(), 1u);
    EXPECT_EQ(-PlotYMin(Data()->plotWindows[1]), PlotYMax(Data()->plotWindows[1]));

    // Step Minus runs the other way and still plots a rising step.
    SendMessageA(main_, WM_COMMAND, IDM_STEP_MINUS, 0);
    EXPECT_NEAR(Data()->actualSeries[0].back(), test.Distance, 0.05 * test.Distance);
    TavroSimAxisState state = {};
    TavroSim_GetAxisState(0, 1, &state);
    EXPECT_NEAR(state.target, 0.0, 1e-9);
}

TEST_F(SimulatedTuningTest, GainSliderChangesTheNextResponse)
{
    Start("");
    PrepareAxis();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    double before = Peak(1);

    double oldGain = 0.0;
    g_tavro.TavroGetGain(Data()->controller, 1, &oldGain);
    MoveThumb(IDC_SLIDER_P, 800); // 20 % of full scale
    double gain = 0.0;
    g_tavro.TavroGetGain(Data()->controller, 1, &gain);
    EXPECT_DOUBLE_EQ(gain, Data()->propGain.fullScale * 0.2);
    EXPECT_NE(gain, oldGain);
    EXPECT_EQ(Data()->modified, 1);

    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    EXPECT_NE(Peak(1), before);

    // The integral gain goes through the filter record.
    MoveThumb(IDC_SLIDER_I, 900);
    TavroFilterConfig filter = {};
    g_tavro.TavroGetFilterConfig(Data()->controller, 1, &filter);
    EXPECT_DOUBLE_EQ(filter.integralGain, Data()->intGain.fullScale * 0.1);
    SendDlgItemMessageA(Panel(), IDC_SLIDER_I, SLM_RELOADGAIN, 0, 0);
    EXPECT_DOUBLE_EQ(Data()->intGain.percent, 10.0);
}

TEST_F(SimulatedTuningTest, GantryPartnerFollowsTheTestAxis)
{
    Start("");
    Data()->Gantry = 1;
    Data()->GantryShare = 1;
    ShareGantrySettings(Data());
    SendMessageA(Panel(), WM_COMMAND, IDC_MOTOR_ON, 0); // both axes
    SendMessageA(Panel(), WM_COMMAND, IDC_TRAJECTORY_ON, 0);
    TavroSim_Advance(0.05);
    Tick();
    TavroSimAxisState partner = {};
    TavroSim_GetAxisState(0, 2, &partner);
    EXPECT_EQ(partner.motorOn, 1);

    MoveThumb(IDC_SLIDER_P, 700);
    double gain1 = 0.0;
    double gain2 = 0.0;
    g_tavro.TavroGetGain(Data()->controller, 1, &gain1);
    g_tavro.TavroGetGain(Data()->controller, 2, &gain2);
    EXPECT_EQ(gain1, gain2);

    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    ASSERT_FALSE(Data()->actualSeries[1].empty());
    EXPECT_EQ(Data()->actualSeries[1].size(), Data()->actualSeries[0].size());
    EXPECT_NEAR(Data()->actualSeries[1].back(), Data()->lastTest.Distance,
                0.05 * Data()->lastTest.Distance);
    EXPECT_EQ(testing_support::ItemText(Panel(), IDC_AXIS_READOUT), "1  gantry");
}

TEST_F(SimulatedTuningTest, ControllerThatFailsToOpenCanBeCancelled)
{
    short failing = -1;
    for (int i = 0; i < TavroSim_ControllerCount(); i++) {
        TavroSimControllerInfo info = {};
        if (TavroSim_ControllerAt(i, &info) == 0 && info.openError != 0) {
            failing = info.id;
            break;
        }
    }
    ASSERT_GE(failing, 0);
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDCANCEL);
    std::string options = "-b " + std::to_string(failing) + " -a 40";
    Start(options.c_str());
    ASSERT_GE(answerer.Count(), 2u);
    EXPECT_NE(answerer.Seen()[0].text.find("ID " + std::to_string(failing) + "  -  "),
              std::string::npos);
    EXPECT_LT(Data()->ControllerID, 0);
    EXPECT_LE(Data()->controller, 0);
    EXPECT_EQ(Data()->Axis, 1);

    // Running without a controller makes no calls with a dead handle.
    TavroSim_ResetCallCounts();
    Tick();
    SendMessageA(main_, WM_TIMER, READOUT_TIMER, 0);
    DestroyWindow(main_);
    EXPECT_EQ(TavroSim_DeadHandleCallCount(), 0);
}
