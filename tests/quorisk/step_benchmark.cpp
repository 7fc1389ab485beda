// Times a step test on the default axis of the simulated controller beyond
// its own wait: read-back of a 512-point capture into the series, plot
// refresh and the paint of the five plot windows. Run by hand.
#include "controller.h"
#include "main_window.h"
#include "resource.h"
#include "step_test.h"
#include "tavro_binding.h"
#include "tuning_data.h"
#include "vistrel.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterWindowClasses(instance)) {
        fprintf(stderr, "window classes not registered\n");
        return 1;
    }
    HWND window = CreateMainWindow(instance, SW_SHOWNORMAL, "-a 1 -b 0");
    if (!window) {
        fprintf(stderr, "start-up failed\n");
        return 1;
    }
    TuningWindowData* data = GetTuningData(window);
    HWND panel = data->panelWindow;
    SendMessageA(panel, WM_COMMAND, IDC_MOTOR_ON, 0);
    SendMessageA(panel, WM_COMMAND, IDC_TRAJECTORY_ON, 0);
    SendMessageA(window, WM_TIMER, READOUT_TIMER, 0);
    // 511 servo periods: 512 capture points with the start point.
    double servo = 0.0;
    GetServoPeriod(data->controller, 1, &servo);
    data->testSettings.RecordTime = 511 * servo;
    data->PlotTorque = 1;
    data->PlotStyle = PLOT_STYLE_SEPARATE;
    data->PlotAuxiliary = 1;
    RelayoutMainWindow(window);

    const int runs = 10;
    std::vector<double> beyond;
    for (int run = 0; run < runs; run++) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        RunStepResponseTest(window, run % 2 == 0);
        for (HWND plot : data->plotWindows)
            UpdateWindow(plot);
        QueryPerformanceCounter(&end);
        double wait = (data->testSettings.RecordTime + data->testSettings.Delay) * 1000.0 + 25.0;
        beyond.push_back(Milliseconds(start, end) - wait);
    }
    std::sort(beyond.begin(), beyond.end());
    printf("step test, %d points, %d windows: beyond the wait median %.1f ms, worst %.1f ms "
           "(goal under 50 ms)\n",
           data->lastTest.points, CountPlotWindows(data), beyond[runs / 2], beyond.back());
    DestroyWindow(window);
    return 0;
}
