// Simulated time: the wall clock by default, a manual clock for tests. The
// model runs in whole controller ticks up to the present on every call.
#include <cmath>

#include "simulator.h"

namespace {

// Longer gaps of the wall clock (a program left idle) are not simulated in
// full: the model jumps ahead and runs only this much of the gap.
const double kLongestCatchUp = 10.0;

double WallSeconds()
{
    Simulator& sim = Sim();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - sim.clockStart.QuadPart)
         / static_cast<double>(sim.clockFrequency.QuadPart);
}

void TickOnce(Controller& c)
{
    ++c.ticks;
    BlockTick(c);
    for (size_t i = 0; i < c.axes.size(); ++i) {
        AxisModel& axis = c.axes[i];
        int master = axis.GearMaster();
        double masterCommand = 0.0;
        if (master >= 1 && master <= static_cast<int>(c.axes.size()))
            masterCommand = c.axes[static_cast<size_t>(master - 1)].Command();
        axis.Tick(c.tick, masterCommand);
    }
    CaptureTick(c);
}

} // namespace

double ClockNow()
{
    Simulator& sim = Sim();
    return sim.manualClock ? sim.manualTime : WallSeconds();
}

void RunTicks(Controller& c, long count)
{
    for (AxisModel& axis : c.axes) {
        int divider = static_cast<int>(std::floor(axis.SamplePeriod() / c.tick + 0.5));
        axis.SetDivider(divider < 1 ? 1 : divider);
    }
    for (long i = 0; i < count; ++i)
        TickOnce(c);
}

void AdvanceController(Controller& c, double until)
{
    double due = std::floor(until / c.tick + 1e-6);
    double behind = due - static_cast<double>(c.ticks);
    if (behind <= 0.0)
        return;
    double longest = std::floor(kLongestCatchUp / c.tick);
    if (behind > longest && !Sim().manualClock) {
        c.ticks += static_cast<long>(behind - longest);
        behind = longest;
    }
    RunTicks(c, static_cast<long>(behind));
}
