// Measures the simulated controller: simulated seconds of an 8-axis servo
// controller at a 0.5 ms servo period per wall-clock second, and the cost of
// one poll call. With TAVROSIM_TRACE naming a file, the calls are traced.
#include <windows.h>

#include <cstdio>

#include "exports.h"
#include "tavrosim_control.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteConfig(const char* path)
{
    FILE* file = fopen(path, "w");
    if (!file)
        return false;
    fprintf(file, "[Controller0]\nType=1\nDescription=Bench 8-axis servo\nModules=1,1,1,1\nAxes=8\n"
                  "CaptureFlags=0x780\nSamplePeriods=0.0005,0.001,0.002\nDigitalChannels=16\n");
    fclose(file);
    return true;
}

} // namespace

int main()
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%stavrosim_bench.ini", folder);
    if (!WriteConfig(path)) {
        fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    TavroSim_SetManualClock(1);
    TavroSim_Reload(path);
    short h = TavroOpen(0, 2, "");
    if (h <= 0) {
        fprintf(stderr, "open failed: %d\n", h);
        return 1;
    }
    for (short axis = 1; axis <= 8; ++axis) {
        TavroEnableAxis(h, axis, 1);
        TavroMoveRelative(h, axis, 5000.0 * axis);
    }

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    const double simulated = 20.0;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < 200; ++i) {
        TavroSim_Advance(simulated / 200);
        if (i % 20 == 0) {
            for (short axis = 1; axis <= 8; ++axis)
                TavroMoveRelative(h, axis, (i % 40 ? -5000.0 : 5000.0) * axis);
        }
    }
    QueryPerformanceCounter(&end);
    double wall = Seconds(start, end, frequency);
    printf("model: %.1f simulated s in %.3f wall s = %.0fx real time (8 servo axes, 0.5 ms)\n", simulated, wall,
           simulated / wall);

    // A poll as the programs make it, on the wall clock: position and status.
    TavroSim_SetManualClock(0);
    const int polls = 20000;
    double position = 0.0;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < polls; ++i) {
        TavroGetPositionEx(h, static_cast<short>(1 + i % 8), &position);
        TavroGetStatus(h, static_cast<short>(1 + i % 8));
    }
    QueryPerformanceCounter(&end);
    double perCall = Seconds(start, end, frequency) / (2.0 * polls);
    bool traced = GetEnvironmentVariableA("TAVROSIM_TRACE", nullptr, 0) > 0;
    printf("poll: %.2f us per call (wall clock, model kept up to date%s)\n", perCall * 1e6,
           traced ? ", traced" : "");

    // The first call of a 110 ms timer tick also runs the model over the tick.
    const int ticks = 20;
    double worst = 0.0, total = 0.0;
    for (int i = 0; i < ticks; ++i) {
        Sleep(110);
        QueryPerformanceCounter(&start);
        TavroGetPositionEx(h, 1, &position);
        QueryPerformanceCounter(&end);
        double cost = Seconds(start, end, frequency);
        total += cost;
        worst = cost > worst ? cost : worst;
    }
    printf("first poll of a 110 ms tick: %.3f ms on average, %.3f ms at worst (%.2f %% of the tick)\n",
           total / ticks * 1e3, worst * 1e3, total / ticks / 0.110 * 100.0);
    TavroClose(h);
    DeleteFileA(path);
    return 0;
}
