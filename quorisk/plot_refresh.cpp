#include "plot_refresh.h"

#include "tuning_data.h"
#include "vistrel.h"

#include <algorithm>
#include <cmath>

namespace {

const double AUTOSCALE_TABLE[] = {
    0, 0.5, 1, 2, 5, 10, 25, 50, 80, 100, 200, 300, 500, 800, 1000, 2000, 3000, 5000, 8000,
    10000, 30000, 100000, 250000, 500000,
};

const size_t MAX_TRACE_SAMPLES = 0xFFFF;

// The target line of the shown axis's test; a file gives no distance.
bool TargetShown(TuningWindowData* data)
{
    return data->PlotTarget && !GetSeriesTiming(data, 0).fromFile;
}

// Walks the plot windows while the traces are placed: the window in use and
// whether its y range was reset yet.
struct PlotCursor {
    TuningWindowData* data;
    int index;
    bool rangeStarted;

    HWND Window() const { return data->plotWindows[std::min(index, PLOT_WINDOW_COUNT - 1)]; }

    void StartRange(bool withTarget)
    {
        if (rangeStarted)
            return;
        SendMessageA(Window(), PLM_EXTENDYRANGE, 0, 0);
        rangeStarted = true;
        if (withTarget && TargetShown(data))
            SendMessageA(Window(), PLM_EXTENDYRANGE, 1,
                         reinterpret_cast<LPARAM>(&GetSeriesTiming(data, 0).Distance));
    }

    void Advance()
    {
        index++;
        rangeStarted = false;
    }
};

// Samples of a series that may be sent: the test's count, never more than the
// series holds or a message can carry.
size_t SendCount(const CaptureSeries& series, int n)
{
    size_t count = n > 0 ? static_cast<size_t>(n) : 0;
    return std::min(std::min(count, series.size()), MAX_TRACE_SAMPLES);
}

void ExtendRange(PlotCursor& cursor, const CaptureSeries& series, int n, bool withTarget)
{
    cursor.StartRange(withTarget);
    SendMessageA(cursor.Window(), PLM_EXTENDYRANGE, SendCount(series, n),
                 reinterpret_cast<LPARAM>(series.data()));
}

void SetYTitle(HWND plot, const char* title)
{
    SendMessageA(plot, PLM_SETYTITLE, 0, reinterpret_cast<LPARAM>(title));
}

void SendTrace(HWND plot, int trace, const CaptureSeries& series, int n, const char* label)
{
    size_t count = SendCount(series, n);
    SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(trace, count),
                 reinterpret_cast<LPARAM>(series.data()));
    SendMessageA(plot, PLM_SETTRACELABEL, trace, reinterpret_cast<LPARAM>(label));
}

void SendTarget(HWND plot, TuningWindowData* data)
{
    double distance = GetSeriesTiming(data, 0).Distance;
    double target[2] = {distance, distance};
    SendMessageA(plot, PLM_SETLINESTYLE, TRACE_TARGET, PS_DASH);
    SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(TRACE_TARGET, 2), reinterpret_cast<LPARAM>(target));
    SendMessageA(plot, PLM_SETTRACELABEL, TRACE_TARGET, reinterpret_cast<LPARAM>("Target"));
}

struct SeriesSet {
    CaptureSeries& actual;
    CaptureSeries& optimal;
    CaptureSeries& auxiliary;
    CaptureSeries& error;
    CaptureSeries& torque;
};

// One walk over the switched-on traces and the windows they go to. The range
// walk collects and rounds each window's y range and sets its titles; the data
// walk then sends the samples along the same way.
struct TraceWalk {
    TuningWindowData* data;
    int n;
    bool ranges;
    PlotCursor cursor;
};

void PlaceTrace(TraceWalk& walk, int trace, const CaptureSeries& series, const char* label,
                bool withTarget)
{
    HWND plot = walk.cursor.Window();
    if (walk.ranges) {
        ExtendRange(walk.cursor, series, walk.n, withTarget);
        if (trace != TRACE_TORQUE)
            SetYTitle(plot, "Distance");
        return;
    }
    SendTrace(plot, trace, series, walk.n, label);
    if (withTarget && TargetShown(walk.data))
        SendTarget(plot, walk.data);
}

// Done with the cursor window: rounded in the range walk, then the next one.
void NextWindow(TraceWalk& walk, bool symmetric)
{
    if (walk.ranges)
        AutoscalePlotY(walk.cursor.Window(), symmetric);
    walk.cursor.Advance();
}

void WalkTraces(TuningWindowData* data, const SeriesSet& s, int n, bool ranges)
{
    bool single = data->PlotStyle == PLOT_STYLE_SINGLE;
    bool multi = data->PlotStyle == PLOT_STYLE_MULTI;
    bool separate = data->PlotStyle == PLOT_STYLE_SEPARATE;
    bool trajectory = data->testSettings.Trajectory != 0;
    TraceWalk walk = {data, n, ranges, {data, 0, false}};

    // Position traces take the target into their window's range; the target
    // line itself joins the actual trace, and in Separate each position
    // trace's own window.
    if (data->PlotActual) {
        if (!s.actual.empty())
            PlaceTrace(walk, TRACE_ACTUAL, s.actual, "Actual", true);
        if (separate)
            NextWindow(walk, false);
    }
    if (data->PlotOptimal) {
        if (!s.optimal.empty() && trajectory)
            PlaceTrace(walk, TRACE_OPTIMAL, s.optimal, "Optimal", ranges || separate);
        if (separate)
            NextWindow(walk, false);
    }
    if (data->hasAuxEncoder && data->PlotAuxiliary) {
        if (!s.auxiliary.empty())
            PlaceTrace(walk, TRACE_AUXILIARY, s.auxiliary, "Auxiliary", ranges || separate);
        if (separate)
            NextWindow(walk, false);
    }
    if (multi)
        NextWindow(walk, false);
    if (data->PlotError) {
        if (!s.error.empty() && trajectory)
            PlaceTrace(walk, TRACE_ERROR, s.error, "Error", false);
        if (!single)
            NextWindow(walk, true);
    }
    if (data->PlotTorque) {
        if (!s.torque.empty())
            PlaceTrace(walk, TRACE_TORQUE, s.torque, "Torque", false);
        if (!single && ranges) {
            HWND plot = walk.cursor.Window();
            AutoscalePlotY(plot, true);
            SetYTitle(plot, "Volts");
            SendMessageA(plot, PLM_SETYFORMAT, 0, reinterpret_cast<LPARAM>("%7.3lf"));
        }
    }
    if (single && ranges)
        AutoscalePlotY(walk.cursor.Window(), false);
}

} // namespace

void ResetPlotFormats(TuningWindowData* data)
{
    for (HWND plot : data->plotWindows) {
        SendMessageA(plot, PLM_CLEARTRACE, 1, -1);
        SendMessageA(plot, PLM_SETYFORMAT, 0, reinterpret_cast<LPARAM>("%lg"));
    }
}

void RefreshPlots(HWND mainWindow)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data)
        return;
    ResetPlotFormats(data);
    if (!ShownAxisTested(data))
        return;

    const CaptureTiming& timing = GetSeriesTiming(data, 0);
    double xMin = timing.Delay * 1000.0;
    double xMax = (timing.RecordTime + timing.Delay) * 1000.0;
    int windows = CountPlotWindows(data);
    for (int i = 0; i < windows && i < PLOT_WINDOW_COUNT; i++) {
        SendMessageA(data->plotWindows[i], PLM_SETXMIN, 0, reinterpret_cast<LPARAM>(&xMin));
        SendMessageA(data->plotWindows[i], PLM_SETXMAX, 0, reinterpret_cast<LPARAM>(&xMax));
    }

    int sampling = (timing.Sampling == 2 || timing.Sampling == 4) ? timing.Sampling : 1;
    int n = timing.points / sampling;
    SeriesSet series = {GetActualSeries(data, 0), GetOptimalSeries(data, 0),
                        GetAuxiliarySeries(data, 0), GetErrorSeries(data, 0),
                        GetTorqueSeries(data, 0)};
    WalkTraces(data, series, n, true);
    WalkTraces(data, series, n, false);

    for (HWND plot : data->plotWindows)
        SendMessageA(plot, PLM_REDRAW, 0, 0);
}

void AutoscalePlotY(HWND plot, bool symmetric)
{
    double yMin = 0.0;
    double yMax = 0.0;
    SendMessageA(plot, PLM_GETYMIN, 0, reinterpret_cast<LPARAM>(&yMin));
    SendMessageA(plot, PLM_GETYMAX, 0, reinterpret_cast<LPARAM>(&yMax));

    const double NOT_FOUND = -1.0;
    double low = NOT_FOUND;
    double high = NOT_FOUND;
    const size_t count = sizeof(AUTOSCALE_TABLE) / sizeof(AUTOSCALE_TABLE[0]);
    for (size_t i = 0; i < count; i++) {
        double t = AUTOSCALE_TABLE[i];
        if (low == NOT_FOUND && t >= std::fabs(yMin))
            low = (yMin > 0.0 && i > 0) ? AUTOSCALE_TABLE[i - 1] : t;
        if (high == NOT_FOUND && t >= std::fabs(yMax))
            high = t;
    }

    if (symmetric) {
        double m = std::max(low == NOT_FOUND ? 1.0 : low, high == NOT_FOUND ? 1.0 : high);
        double negative = -m;
        SendMessageA(plot, PLM_SETYMAX, 0, reinterpret_cast<LPARAM>(&m));
        SendMessageA(plot, PLM_SETYMIN, 0, reinterpret_cast<LPARAM>(&negative));
        return;
    }
    if (low != NOT_FOUND) {
        double value = yMin < 0.0 ? -low : low;
        SendMessageA(plot, PLM_SETYMIN, 0, reinterpret_cast<LPARAM>(&value));
    }
    if (high != NOT_FOUND) {
        double value = yMax < 0.0 ? -high : high;
        SendMessageA(plot, PLM_SETYMAX, 0, reinterpret_cast<LPARAM>(&value));
    }
}
