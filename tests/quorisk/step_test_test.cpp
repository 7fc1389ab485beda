// Capture timing, the step test's command block, the series it reads back
// and the plots they go to.
#include "tuning_fixture.h"

#include "controller.h"
#include "plot_refresh.h"
#include "resource.h"
#include "step_test.h"
#include "vistrel.h"

using testing_support::DialogAnswerer;

namespace {

const std::vector<std::string> COMMAND_CALLS = {
    "TavroSetOperatingMode", "TavroEnableGearing", "TavroSetRegister", "TavroCaptureData",
    "TavroBlockBegin", "qorcmdex", "TavroMoveRelative", "TavroWaitForStop", "TavroBlockEnd"};

} // namespace

TEST_F(TuningWindowTest, CaptureTimingFollowsBufferAndServoPeriod)
{
    Start("");
    TestSettings test;
    test.RecordTime = 0.5;
    // Medium update rate: 0.0005 s, buffer 512.
    EXPECT_DOUBLE_EQ(ComputeCaptureTiming(&test, 1, 1, 0), 0.256);
    EXPECT_DOUBLE_EQ(test.period, 0.0005);
    EXPECT_EQ(test.points, 513);
    EXPECT_DOUBLE_EQ(ComputeCaptureTiming(&test, 1, 1, 256), 0.0);
    EXPECT_DOUBLE_EQ(test.period, 0.001);
    EXPECT_EQ(test.points, 501);
    test.RecordTime = 0.2;
    EXPECT_DOUBLE_EQ(ComputeCaptureTiming(&test, 1, 1, 1), 0.0);
    EXPECT_EQ(test.points, 401);
    EXPECT_DOUBLE_EQ(ComputeCaptureTiming(&test, 1, 1, 0), 0.0);
    EXPECT_EQ(test.points, 513);

    // Type 8 takes the servo period in ms from the axis-count field.
    Fake().controllerType = 8;
    Fake().axisCount = 2;
    double period = 0.0;
    EXPECT_EQ(GetServoPeriod(1, 1, &period), 0);
    EXPECT_DOUBLE_EQ(period, 0.002);

    // No usable servo period or buffer: the timing stays as it was.
    Fake().controllerType = 1;
    Fake().axisCount = 4;
    Fake().axes[1].updateRate = 3;
    test.points = 77;
    test.period = 0.5;
    EXPECT_EQ(ComputeCaptureTiming(&test, 1, 1, 1), CAPTURE_TIMING_UNKNOWN);
    Fake().axes[1].updateRate = TAVRO_RATE_MED;
    Fake().axes[1].captureBuffer = 0;
    EXPECT_EQ(ComputeCaptureTiming(&test, 1, 1, 0), CAPTURE_TIMING_UNKNOWN);
    EXPECT_EQ(test.points, 77);
    EXPECT_EQ(test.period, 0.5);
}

TEST_F(TuningWindowTest, AxisAbilitiesAndGainFullScale)
{
    Fake().axes[2].captureFlags = TAVRO_CAPTURE_AUX;
    Fake().controllerType = 7;
    Start("");
    Data()->PlotTorque = 1;
    SelectAxis(Data(), 2);
    EXPECT_EQ(Data()->hasTorqueCapture, 0);
    EXPECT_EQ(Data()->PlotTorque, 0);
    EXPECT_EQ(Data()->hasAuxEncoder, 1);
    EXPECT_EQ(Data()->hasAdvancedCapture, 1);
    SelectAxis(Data(), 1);
    EXPECT_EQ(Data()->hasAdvancedCapture, 256);
    EXPECT_EQ(Data()->PlotTorque, 0);

    Fake().flags = TAVRO_CTRL_FRACTIONAL_GAINS;
    Fake().controllerType = 3;
    SetGainFullScale(Data());
    EXPECT_EQ(Data()->propGain.fullScale, 20.0);
    EXPECT_EQ(Data()->derGain.fullScale, 20.0);
    Fake().controllerType = 8;
    SetGainFullScale(Data());
    EXPECT_EQ(Data()->intGain.fullScale, 32767.0);
}

TEST_F(TuningWindowTest, StepTestSendsOneBlock)
{
    Start("");
    Data()->testSettings.RecordTime = 0.05;
    Data()->testSettings.Distance = 250.0;
    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Tick();
    Fake().log.clear();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    std::vector<std::string> expected = {
        "TavroSetOperatingMode(1, 1, 0, 1)",
        "TavroBlockBegin(1, 0, 0)",
        "TavroCaptureData(1, 1, 100, 0.0005, 0)",
        "TavroMoveRelative(1, 1, 250)",
        "TavroBlockEnd(1, 0)"};
    EXPECT_EQ(LoggedCalls(COMMAND_CALLS), expected);
    EXPECT_EQ(Data()->testDone, 1);
}

TEST_F(TuningWindowTest, StepTestWithGantryCycleAndRepeat)
{
    Start("");
    TestSettings& test = Data()->testSettings;
    test.RecordTime = 0.05;
    test.Trajectory = 1;
    test.Cycle = 1;
    test.Dwell = 0.2;
    test.Repeat = 1;
    test.Count = 3;
    test.RDwell = 0.1;
    test.Delay = 0.01;
    Data()->Gantry = 1;
    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Fake().axes[1].target = 10.0;
    Fake().axes[2].target = 20.0;
    Tick();
    Fake().log.clear();
    SendMessageA(Panel(), WM_COMMAND, IDC_STEP_MINUS, 0);
    std::vector<std::string> expected = {
        "TavroSetOperatingMode(1, 1, 0, 2)",
        "TavroSetOperatingMode(1, 2, 0, 2)",
        "TavroEnableGearing(1, 2, 1, 1, 1)",
        "TavroSetRegister(1, 0, 3, 2)",
        "TavroCaptureData(1, 1, 1, 0.0005, 0.01)",
        "TavroCaptureData(1, 2, 1, 0.0005, 0.01)",
        "TavroBlockBegin(1, 0, 0)",
        "qorcmdex(1, 1, 212, 100, 2)",
        "qorcmdex(1, 2, 212, 100, 2)",
        "TavroMoveRelative(1, 1, -100)",
        "TavroWaitForStop(1, 1, 0.2)",
        "TavroMoveRelative(1, 1, 100)",
        "TavroWaitForStop(1, 1, 0.1)",
        "qorcmdex(1, 0, 134, 1, 2)",
        "qorcmdex(1, 0, 163, 0, 2)",
        "qorcmdex(1, 0, 6, 2, 2)",
        "qorcmdex(1, 0, 120, 0, 2)",
        "TavroWaitForStop(1, 1, 0.025)",
        "TavroEnableGearing(1, 2, 1, 1, 0)",
        "TavroBlockEnd(1, 0)"};
    EXPECT_EQ(LoggedCalls(COMMAND_CALLS), expected);
    // The partner's series are filled against its own start values.
    ASSERT_EQ(Data()->actualSeries[1].size(), 101u);
    EXPECT_EQ(Data()->actualSeries[1][5], -5.0);
    EXPECT_EQ(Data()->actualSeries[0][5], -5.0);
}

TEST_F(TuningWindowTest, StepTestNeedsTheMotorAndACapturingModule)
{
    Start("");
    Fake().axes[1].captureFlags = 0;
    Fake().axes[1].moduleType = 9;
    Fake().log.clear();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0); // motor lamp off: nothing
    EXPECT_TRUE(LoggedCalls({"TavroBlockBegin", "TavroGetAxisConfiguration"}).empty());

    Fake().axes[1].status = (1u << TAVRO_STAT_MOTOR_ON) | (1u << TAVRO_STAT_ERROR);
    Tick();
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, "The Module9 module is not supported by the Servo Tuning Program");
    EXPECT_TRUE(LoggedCalls({"TavroBlockBegin"}).empty());

    // With a module that captures, a lamp in the error state still tests.
    Fake().axes[1].captureFlags = TAVRO_CAPTURE_ADVANCED;
    Data()->testSettings.RecordTime = 0.01;
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    EXPECT_EQ(LoggedCalls({"TavroBlockBegin"}).size(), 1u);
}

TEST_F(TuningWindowTest, PlainCaptureIsBoundByBufferAndRecordTime)
{
    Fake().axes[1].captureFlags = TAVRO_CAPTURE_TORQUE; // plain capture
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    Start(""); // the default 0.5 s is too long already: corrected at the open
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Controller Setttings Error");
    EXPECT_DOUBLE_EQ(Data()->testSettings.RecordTime, 0.256);
    Data()->testSettings.RecordTime = 0.3;
    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Tick();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[1].caption, "Warning");
    EXPECT_NE(answerer.Seen()[1].text.find("record time of 0.300000 seconds"), std::string::npos);
    EXPECT_NE(answerer.Seen()[1].text.find("set the record time to 0.256000 seconds"),
              std::string::npos);
    EXPECT_DOUBLE_EQ(Data()->testSettings.RecordTime, 0.256);
    EXPECT_DOUBLE_EQ(Data()->lastTest.RecordTime, 0.256);
    EXPECT_EQ(Data()->torqueSeries[0].size(), 513u);

    // A record time shorter than the buffer: the whole buffer is captured,
    // but only the record time is read back, so the traces end where the
    // time axis does.
    Data()->testSettings.RecordTime = 0.1;
    RecordPlots();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    EXPECT_EQ(answerer.Count(), 2u);
    EXPECT_EQ(Data()->testSettings.points, 513);
    EXPECT_EQ(Data()->lastTest.points, 201);
    EXPECT_EQ(Data()->actualSeries[0].size(), 201u);
    EXPECT_EQ(Data()->torqueSeries[0].size(), 201u);
    std::vector<PlotCall> sent = PlotCalls(0, PLM_SETTRACEDATA);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(HIWORD(sent[0].wParam), 201);
    double xMax = 0.0;
    SendMessageA(Data()->plotWindows[0], PLM_GETXMAX, 0, reinterpret_cast<LPARAM>(&xMax));
    EXPECT_DOUBLE_EQ(xMax, (HIWORD(sent[0].wParam) - 1) * Data()->lastTest.period * 1000.0);
}

TEST_F(TuningWindowTest, TestWithoutServoPeriodIsRefused)
{
    Start("");
    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Fake().axes[1].updateRate = 0;
    Tick();
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    Fake().log.clear();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("The step response test was not run."), std::string::npos);
    EXPECT_TRUE(LoggedCalls({"TavroBlockBegin", "TavroMoveRelative"}).empty());
    EXPECT_EQ(Data()->testDone, 0);
}

TEST_F(TuningWindowTest, TestLongerThanTheWaitIsRefusedBeforeAnythingIsSent)
{
    Start("");
    Fake().axes[1].status = 1u << TAVRO_STAT_MOTOR_ON;
    Tick();
    // Advanced capture takes any record time; with the delay it outlasts the
    // longest wait, so the samples would be read before they were recorded.
    Data()->testSettings.RecordTime = 119.9;
    Data()->testSettings.Delay = 0.2;
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    Fake().log.clear();
    DWORD start = GetTickCount();
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    EXPECT_LT(GetTickCount() - start, 10000u);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Servo Tuning");
    EXPECT_NE(answerer.Seen()[0].text.find("120 seconds"), std::string::npos);
    EXPECT_NE(answerer.Seen()[0].text.find("The step response test was not run."),
              std::string::npos);
    EXPECT_TRUE(LoggedCalls(COMMAND_CALLS).empty());
    EXPECT_TRUE(LoggedCalls({"TavroGetCaptureData"}).empty());
    EXPECT_EQ(Data()->testDone, 0);
    EXPECT_TRUE(Data()->actualSeries[0].empty());

    // Within the wait the test runs.
    Data()->testSettings.RecordTime = 0.05;
    SendMessageA(main_, WM_COMMAND, IDM_STEP_PLUS, 0);
    EXPECT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(Data()->testDone, 1);
}

TEST_F(TuningWindowTest, SeriesAreRelativeToTheTargetAndRiseForBothSteps)
{
    Fake().axes[1].captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED | TAVRO_CAPTURE_AUX;
    Fake().axes[1].target = 1000.0;
    Fake().axes[1].auxiliary = 50.0;
    Start("");
    TestSettings& test = Data()->testSettings;
    test.points = 9;
    test.Sampling = 2;
    Data()->AuxiliaryScale = 0.5;
    ASSERT_TRUE(ReadCaptureSeries(main_, 1, 1000.0, 1000.0, 50.0, false));
    // Samples at k = 0, 2, 4, 6, 8 from capture index k - 1.
    EXPECT_EQ(Data()->actualSeries[0], (std::vector<double>{0, -2, -4, -6, -8}));
    EXPECT_EQ(Data()->optimalSeries[0], (std::vector<double>{0, -4, -8, -12, -16}));
    EXPECT_EQ(Data()->torqueSeries[0], (std::vector<double>{0, 1, 3, 5, 7}));
    EXPECT_EQ(Data()->auxiliarySeries[0], (std::vector<double>{0, -3, -6, -9, -12}));
    EXPECT_EQ(Data()->errorSeries[0], (std::vector<double>{0, 2, 4, 6, 8}));

    // The auxiliary encoder gives the error only when it is plotted.
    Data()->PlotAuxiliary = 1;
    test.Sampling = 3; // not 1, 2 or 4: every point
    ASSERT_TRUE(ReadCaptureSeries(main_, 1, 1000.0, 1000.0, 50.0, true));
    ASSERT_EQ(Data()->actualSeries[0].size(), 9u);
    EXPECT_EQ(Data()->torqueSeries[0][0], 0.0);
    EXPECT_EQ(Data()->torqueSeries[0][1], 0.0);
    EXPECT_EQ(Data()->errorSeries[0][4], 3.0 * 4 * 0.5 - 2.0 * 4);
    EXPECT_EQ(Data()->lastTest.points, 9);

    EXPECT_FALSE(ReadCaptureSeries(main_, 17, 0, 0, 0, true));
    EXPECT_TRUE(GetActualSeries(Data(), 17).empty());
    Data()->Axis = 3;
    EXPECT_EQ(&GetActualSeries(Data(), 0), &Data()->actualSeries[2]);
}

TEST_F(TuningWindowTest, PlotsGetTheTracesByLayout)
{
    Start("");
    RecordPlots();
    Data()->PlotTorque = 1;
    Data()->hasTorqueCapture = 1;
    Data()->testSettings.Trajectory = 1;
    Data()->testSettings.Distance = 100.0;
    Data()->testSettings.points = 5;
    ASSERT_TRUE(ReadCaptureSeries(main_, 1, 0, 0, 0, true));
    Data()->actualSeries[0] = {0, 40, 104, 98, 100};
    Data()->testDone = 1;
    ClearPlotCalls();
    RefreshPlots(main_);

    auto traces = [&](int window) {
        std::vector<int> ids;
        for (const PlotCall& c : PlotCalls(window, PLM_SETTRACEDATA))
            ids.push_back(LOWORD(c.wParam));
        return ids;
    };
    EXPECT_EQ(traces(0), (std::vector<int>{0, 6, 1}));
    EXPECT_EQ(traces(1), (std::vector<int>{2}));
    EXPECT_EQ(traces(2), (std::vector<int>{3}));
    EXPECT_EQ(PlotCalls(0, PLM_SETTRACEDATA)[0].values,
              (std::vector<double>{0, 40, 104, 98, 100}));
    EXPECT_EQ(PlotCalls(0, PLM_SETTRACEDATA)[1].values, (std::vector<double>{100, 100}));
    EXPECT_EQ(PlotCalls(2, PLM_SETYTITLE).back().text, "Volts");
    EXPECT_EQ(PlotCalls(2, PLM_SETYFORMAT).back().text, "%7.3lf");
    EXPECT_EQ(PlotCalls(-1, PLM_REDRAW).size(), 5u);
    // 0..104 rounds to 0..200; the error (0..-4 here) symmetric.
    EXPECT_EQ(PlotYMin(Data()->plotWindows[0]), 0.0);
    EXPECT_EQ(PlotYMax(Data()->plotWindows[0]), 200.0);
    EXPECT_EQ(PlotYMin(Data()->plotWindows[1]), -5.0);
    EXPECT_EQ(PlotYMax(Data()->plotWindows[1]), 5.0);

    // A trace never claims more samples than its series holds.
    Data()->seriesTiming[0].points = 600;
    ClearPlotCalls();
    RefreshPlots(main_);
    EXPECT_EQ(HIWORD(PlotCalls(0, PLM_SETTRACEDATA)[0].wParam), 5);

    // Trajectory generator off: no optimal or error traces; Clear empties all.
    SendMessageA(Panel(), WM_COMMAND, IDC_TRAJECTORY_OFF, 0);
    EXPECT_EQ(Data()->testDone, 0);
    Data()->testDone = 1;
    ClearPlotCalls();
    RefreshPlots(main_);
    EXPECT_EQ(traces(0), (std::vector<int>{0, 6}));
    EXPECT_TRUE(traces(1).empty());
    ClearPlotCalls();
    SendMessageA(main_, WM_COMMAND, IDM_CLEAR_PLOT, 0);
    EXPECT_EQ(Data()->testDone, 0);
    EXPECT_EQ(PlotCalls(-1, PLM_CLEARTRACE).size(), 5u);
    EXPECT_TRUE(PlotCalls(-1, PLM_REDRAW).empty());

    // Separate: a window per switched-on trace, kept even while the
    // generator is off; the target joins each position trace.
    Data()->PlotStyle = PLOT_STYLE_SEPARATE;
    Data()->testDone = 1;
    ClearPlotCalls();
    RefreshPlots(main_);
    EXPECT_EQ(traces(0), (std::vector<int>{0, 6}));
    EXPECT_TRUE(traces(1).empty());
    EXPECT_TRUE(traces(2).empty());
    EXPECT_EQ(traces(3), (std::vector<int>{3}));
    SendMessageA(Panel(), WM_COMMAND, IDC_TRAJECTORY_ON, 0);
    Data()->testDone = 1;
    ClearPlotCalls();
    RefreshPlots(main_);
    EXPECT_EQ(traces(1), (std::vector<int>{1, 6}));
    EXPECT_GE(PlotYMax(Data()->plotWindows[1]), 100.0);
    EXPECT_EQ(traces(2), (std::vector<int>{2}));
    EXPECT_EQ(PlotYMin(Data()->plotWindows[2]), -PlotYMax(Data()->plotWindows[2]));
    EXPECT_EQ(traces(3), (std::vector<int>{3}));
    EXPECT_EQ(PlotCalls(3, PLM_SETYTITLE).back().text, "Volts");

    // Single: everything in window 0.
    Data()->PlotStyle = PLOT_STYLE_SINGLE;
    ClearPlotCalls();
    RefreshPlots(main_);
    EXPECT_EQ(traces(0), (std::vector<int>{0, 6, 1, 2, 3}));
    EXPECT_TRUE(traces(1).empty());
    EXPECT_EQ(PlotYMax(Data()->plotWindows[0]), 200.0);
}

TEST_F(TuningWindowTest, AutoscaleRoundsToTheTable)
{
    Start("");
    HWND plot = Data()->plotWindows[0];
    auto range = [&](double low, double high, bool symmetric) {
        double values[2] = {low, high};
        SendMessageA(plot, PLM_EXTENDYRANGE, 0, 0);
        SendMessageA(plot, PLM_EXTENDYRANGE, 2, reinterpret_cast<LPARAM>(values));
        AutoscalePlotY(plot, symmetric);
        return std::make_pair(PlotYMin(plot), PlotYMax(plot));
    };
    EXPECT_EQ(range(3, 40, false), std::make_pair(2.0, 50.0));
    EXPECT_EQ(range(-0.7, 0.3, true), std::make_pair(-1.0, 1.0));
    // The collector's maximum never falls below its tiny positive reset value.
    EXPECT_EQ(range(-120, -3, false), std::make_pair(-200.0, 0.5));
    EXPECT_EQ(range(0, 600000, false), std::make_pair(0.0, 600000.0));
    EXPECT_EQ(range(-0.2, 600000, true), std::make_pair(-1.0, 1.0));
}

TEST_F(TuningWindowTest, PlotWindowCountByStyle)
{
    Start("");
    TuningWindowData* d = Data();
    d->PlotStyle = PLOT_STYLE_MULTI;
    EXPECT_EQ(CountPlotWindows(d), 2);
    d->PlotTorque = 1;
    EXPECT_EQ(CountPlotWindows(d), 3);
    d->PlotTorque = 0;
    d->PlotError = 0;
    d->hasAuxEncoder = 1;
    d->PlotAuxiliary = 1;
    EXPECT_EQ(CountPlotWindows(d), 1);
    d->hasAuxEncoder = 0; // a flag without the encoder counts as off
    d->PlotOptimal = 0;
    EXPECT_EQ(CountPlotWindows(d), 1);
    d->PlotStyle = PLOT_STYLE_SEPARATE;
    d->PlotActual = 0;
    EXPECT_EQ(CountPlotWindows(d), 1);
    d->PlotActual = d->PlotOptimal = d->PlotError = d->PlotTorque = 1;
    EXPECT_EQ(CountPlotWindows(d), 4);
    d->PlotStyle = PLOT_STYLE_SINGLE;
    EXPECT_EQ(CountPlotWindows(d), 1);

    TestSettings destination;
    destination.Count = 7;
    destination.Repeat = 1;
    TestSettings source;
    source.Count = 2;
    source.Distance = 5.0;
    source.Sampling = 4;
    CopyTestSettings(&destination, &source);
    EXPECT_EQ(destination.Count, 7);
    EXPECT_EQ(destination.Repeat, 1);
    EXPECT_EQ(destination.Distance, 5.0);
    EXPECT_EQ(destination.Sampling, 4);
}
