#include "tuning_data.h"

#include <new>

TuningWindowData* InitTuningWindowData(TuningWindowData* record)
{
    return new (record) TuningWindowData();
}

void DestroyTuningWindowData(TuningWindowData* record)
{
    record->~TuningWindowData();
}

// Entry of `axis` (the current axis when axis <= 0) in a per-axis array, or
// `outside` reset to its default for an axis outside 1..16.
template <typename T> static T& EntryOf(const TuningWindowData* record, T* entries, T& outside,
                                        int axis)
{
    int index = axis > 0 ? axis : record->Axis;
    if (index < 1 || index > MAX_SERIES_AXES) {
        outside = T();
        return outside;
    }
    return entries[index - 1];
}

static CaptureSeries& SeriesOf(TuningWindowData* record, CaptureSeries* series, int axis)
{
    return EntryOf(record, series, record->noSeries, axis);
}

CaptureSeries& GetActualSeries(TuningWindowData* record, int axis)
{
    return SeriesOf(record, record->actualSeries, axis);
}

CaptureSeries& GetAuxiliarySeries(TuningWindowData* record, int axis)
{
    return SeriesOf(record, record->auxiliarySeries, axis);
}

CaptureSeries& GetOptimalSeries(TuningWindowData* record, int axis)
{
    return SeriesOf(record, record->optimalSeries, axis);
}

CaptureSeries& GetErrorSeries(TuningWindowData* record, int axis)
{
    return SeriesOf(record, record->errorSeries, axis);
}

CaptureSeries& GetTorqueSeries(TuningWindowData* record, int axis)
{
    return SeriesOf(record, record->torqueSeries, axis);
}

CaptureTiming& GetSeriesTiming(TuningWindowData* record, int axis)
{
    return EntryOf(record, record->seriesTiming, record->noTiming, axis);
}

void KeepSeriesTiming(TuningWindowData* record, int axis, const TestSettings& test)
{
    CaptureTiming& timing = GetSeriesTiming(record, axis);
    timing.points = test.points;
    timing.period = test.period;
    timing.Delay = test.Delay;
    timing.Sampling = test.Sampling;
    timing.RecordTime = test.RecordTime;
    timing.tested = 1;
    timing.fromFile = 0;
    timing.Distance = test.Distance;
    timing.Cycle = test.Cycle;
    timing.Dwell = test.Dwell;
}

void ForgetAllSeries(TuningWindowData* record)
{
    for (int i = 0; i < MAX_SERIES_AXES; i++) {
        record->actualSeries[i].clear();
        record->auxiliarySeries[i].clear();
        record->optimalSeries[i].clear();
        record->errorSeries[i].clear();
        record->torqueSeries[i].clear();
        record->seriesTiming[i] = CaptureTiming();
    }
}

bool ShownAxisTested(TuningWindowData* record)
{
    return record->testDone && GetSeriesTiming(record, 0).tested;
}

uint8_t AuxiliaryPlotted(const TuningWindowData* record)
{
    return record->hasAuxEncoder ? record->PlotAuxiliary : 0;
}

int CountPlotWindows(const TuningWindowData* record)
{
    int k = AuxiliaryPlotted(record) + record->PlotActual + record->PlotTorque +
            record->PlotError + record->PlotOptimal;
    if (record->PlotStyle == PLOT_STYLE_SINGLE || k < 1)
        k = 1;
    if (record->PlotStyle == PLOT_STYLE_MULTI && record->PlotActual && record->PlotOptimal) {
        k--;
        if (record->hasAuxEncoder && record->PlotAuxiliary)
            k--;
    }
    return k < 1 ? 1 : k;
}

TestSettings* CopyTestSettings(TestSettings* destination, const TestSettings* source)
{
    if (destination == source)
        return destination;
    destination->Cycle = source->Cycle;
    destination->Delay = source->Delay;
    destination->Distance = source->Distance;
    destination->Dwell = source->Dwell;
    destination->points = source->points;
    destination->period = source->period;
    destination->RecordTime = source->RecordTime;
    destination->Sampling = source->Sampling;
    destination->Trajectory = source->Trajectory;
    return destination;
}

TuningWindowData* GetTuningData(HWND mainWindow)
{
    return reinterpret_cast<TuningWindowData*>(GetWindowLongPtrA(mainWindow, GWLP_USERDATA));
}
