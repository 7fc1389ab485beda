#include "step_test.h"

#include "controller.h"
#include "plot_refresh.h"
#include "tavro_binding.h"
#include "tuning_data.h"

#include <cmath>
#include <cstdio>

namespace {

// Register and type code that carry the repeat count.
const short REPEAT_REGISTER = 0;
const short VALUE_TYPE_LONG = 2;

// Raw commands of the repeat tail, in order, to axis 0.
const short RAW_REPEAT_1 = 134;
const short RAW_REPEAT_2 = 163;
const short RAW_REPEAT_3 = 6;
const short RAW_REPEAT_4 = 120;

struct StartValues {
    double target = 0.0;
    double optimal = 0.0;
    double auxiliary = 0.0;
};

void ReadStartValues(const TuningWindowData* data, short axis, StartValues* values)
{
    short h = data->controller;
    g_tavro.TavroGetTargetEx(h, axis, &values->target);
    g_tavro.TavroGetOptimalEx(h, axis, &values->optimal);
    if (data->hasAuxEncoder)
        g_tavro.TavroGetAuxEncPosEx(h, axis, &values->auxiliary);
}

void RawCommand(short h, short axis, short code, int32_t value)
{
    g_tavro.qorcmdex(h, axis, code, &value, VALUE_TYPE_LONG);
}

// Checks and corrects the live timing; false when the test cannot run.
bool PrepareTiming(HWND mainWindow, TuningWindowData* data)
{
    TestSettings& test = data->testSettings;
    if (test.Sampling != 1 && test.Sampling != 2 && test.Sampling != 4)
        test.Sampling = 1;
    double longest = ComputeCaptureTiming(&test, data->controller, static_cast<short>(data->Axis),
                                          data->hasAdvancedCapture);
    if (longest < 0.0) {
        char text[256];
        snprintf(text, sizeof(text),
                 "The controller reports no servo period or no capture buffer for axis %d, "
                 "so the capture cannot be timed. The step response test was not run.",
                 data->Axis);
        MessageBoxA(mainWindow, text, "Servo Tuning", MB_ICONERROR | MB_OK);
        return false;
    }
    // The samples are read back after one wait; a longer recording would be
    // read before the controller has made it.
    double recordTime = longest > 0.0 ? longest : test.RecordTime;
    if (!((recordTime + test.Delay) * 1000.0 <= MAX_TEST_WAIT_MS)) {
        char text[512];
        snprintf(text, sizeof(text),
                 "The record time of %g seconds plus the delay of %g seconds is longer than "
                 "the %d seconds that Servo Tuning waits for a test. Shorten the record time "
                 "or the delay. The step response test was not run.",
                 recordTime, test.Delay, MAX_TEST_WAIT_MS / 1000);
        MessageBoxA(mainWindow, text, "Servo Tuning", MB_ICONERROR | MB_OK);
        return false;
    }
    if (longest != 0.0) {
        char text[512];
        snprintf(text, sizeof(text),
                 "The current record time of %f seconds is longer than this controller is "
                 "capable of with the selected moduleupdate rate. Servo Tuning will set the "
                 "record time to %f seconds and proceed with the step response test.",
                 test.RecordTime, longest);
        MessageBoxA(mainWindow, text, "Warning", MB_ICONWARNING | MB_OK);
        test.RecordTime = longest;
    }
    return true;
}

// Stores the capture and the move as one block in the controller.
void SendTestBlock(TuningWindowData* data, short axis, short partner, bool plus)
{
    short h = data->controller;
    const TestSettings& test = data->testSettings;
    g_tavro.TavroBlockBegin(h, 0, 0);
    if (partner == 0) {
        g_tavro.TavroCaptureData(h, axis, test.points - 1, test.period, test.Delay);
    } else {
        RawCommand(h, axis, TAVRO_RAW_START_CAPTURE, test.points - 1);
        RawCommand(h, partner, TAVRO_RAW_START_CAPTURE, test.points - 1);
    }
    g_tavro.TavroMoveRelative(h, axis, plus ? test.Distance : -test.Distance);
    if (test.Cycle) {
        g_tavro.TavroWaitForStop(h, axis, test.Dwell);
        g_tavro.TavroMoveRelative(h, axis, plus ? -test.Distance : test.Distance);
    }
    if (test.Repeat) {
        g_tavro.TavroWaitForStop(h, axis, test.RDwell);
        RawCommand(h, 0, RAW_REPEAT_1, 1);
        RawCommand(h, 0, RAW_REPEAT_2, 0);
        RawCommand(h, 0, RAW_REPEAT_3, partner != 0 ? 2 : 3);
        RawCommand(h, 0, RAW_REPEAT_4, 0);
    }
    if (partner != 0) {
        g_tavro.TavroWaitForStop(h, axis, 0.025);
        g_tavro.TavroEnableGearing(h, partner, axis, 1.0, 0);
    }
    g_tavro.TavroBlockEnd(h, 0);
}

double CaptureValue(short h, short axis, short kind, long index)
{
    double value = 0.0;
    g_tavro.TavroGetCaptureData(h, axis, kind, index, 1, &value);
    return value;
}

} // namespace

void RunStepResponseTest(HWND mainWindow, bool plus)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data)
        return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    if (!PrepareTiming(mainWindow, data)) {
        SetCursor(previous);
        return;
    }

    short h = data->controller;
    short axis = static_cast<short>(data->Axis);
    short partner = static_cast<short>(GetGantryPartner(data));
    TestSettings& test = data->testSettings;
    short mode = test.Trajectory ? 2 : 1;

    g_tavro.TavroSetOperatingMode(h, axis, 0, mode);
    if (partner != 0) {
        g_tavro.TavroSetOperatingMode(h, partner, 0, mode);
        g_tavro.TavroEnableGearing(h, partner, axis, 1.0, 1);
    }
    if (test.Repeat) {
        int32_t count = test.Count;
        g_tavro.TavroSetRegister(h, REPEAT_REGISTER, &count, VALUE_TYPE_LONG);
    }
    StartValues axisStart;
    StartValues partnerStart;
    ReadStartValues(data, axis, &axisStart);
    if (partner != 0) {
        ReadStartValues(data, partner, &partnerStart);
        g_tavro.TavroCaptureData(h, axis, 1, test.period, test.Delay);
        g_tavro.TavroCaptureData(h, partner, 1, test.period, test.Delay);
    }
    SendTestBlock(data, axis, partner, plus);

    // The recording plus a margin; PrepareTiming has bounded it.
    double wait = (test.RecordTime + test.Delay) * 1000.0 + 25.0;
    Sleep(wait > 0.0 ? static_cast<DWORD>(wait) : 0);

    data->testDone = ReadCaptureSeries(mainWindow, axis, axisStart.target, axisStart.optimal,
                                       axisStart.auxiliary, plus);
    if (partner != 0)
        data->testDone = ReadCaptureSeries(mainWindow, partner, partnerStart.target,
                                           partnerStart.optimal, partnerStart.auxiliary, plus);
    RefreshPlots(mainWindow);
    SetCursor(previous);
}

bool ReadCaptureSeries(HWND mainWindow, int axis, double target0, double optimal0, double aux0,
                       bool plus)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data || axis < 1 || axis > MAX_SERIES_AXES)
        return false;
    short h = data->controller;
    short a = static_cast<short>(axis);
    double d = plus ? 1.0 : -1.0;
    CaptureSeries& actual = GetActualSeries(data, axis);
    CaptureSeries& optimal = GetOptimalSeries(data, axis);
    CaptureSeries& torque = GetTorqueSeries(data, axis);
    CaptureSeries& auxiliary = GetAuxiliarySeries(data, axis);
    CaptureSeries& error = GetErrorSeries(data, axis);
    actual.clear();
    optimal.clear();
    torque.clear();
    auxiliary.clear();
    error.clear();
    CopyTestSettings(&data->lastTest, &data->testSettings);

    TestSettings& test = data->lastTest;
    // Only the samples of the record time: the plots' time axis ends there
    // and the wait after the block covers no more.
    test.points = PointsWithinRecordTime(&test);
    int step = (test.Sampling == 2 || test.Sampling == 4) ? test.Sampling : 1;
    test.Sampling = step;
    KeepSeriesTiming(data, axis, test);
    bool errorFromAuxiliary = data->hasAuxEncoder && AuxiliaryPlotted(data);
    for (long k = 0, i = 0; k < test.points; k += step, i++) {
        double v = k == 0 ? target0 : CaptureValue(h, a, TAVRO_CAPTURE_KIND_ACTUAL, k - 1);
        actual.push_back((v - target0) * d);
        v = k == 0 ? optimal0 : CaptureValue(h, a, TAVRO_CAPTURE_KIND_OPTIMAL, k - 1);
        optimal.push_back((v - target0) * d);
        if (data->hasTorqueCapture)
            torque.push_back(CaptureValue(h, a, TAVRO_CAPTURE_KIND_TORQUE, k == 0 ? 0 : k - 1));
        if (data->hasAuxEncoder) {
            v = k == 0 ? aux0 : CaptureValue(h, a, TAVRO_CAPTURE_KIND_AUX, k - 1);
            auxiliary.push_back((v - aux0) * d * data->AuxiliaryScale);
        }
        const CaptureSeries& measured = errorFromAuxiliary ? auxiliary : actual;
        error.push_back(measured[i] - optimal[i]);
    }
    return true;
}
