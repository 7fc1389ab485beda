// Simulated time: the wall clock by default, a manual clock for tests. The
// model runs in whole controller ticks up to the present on every call.
#include <cmath>

#include "simulator.h"

namespace {

// Longer gaps of the wall clock (a program left idle) are not simulated in
// full: the model jumps ahead and runs only the last part of the gap. While
// anything moves, or a block or capture runs, that part is long enough for
// any step test, so its samples are all taken at their times.
const double kIdleCatchUp = 10.0;
const double kBusyCatchUp = 600.0;

double WallSeconds()
{
    Simulator& sim = Sim();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - sim.clockStart.QuadPart)
         / static_cast<double>(sim.clockFrequency.QuadPart);
}

// Free axes first, then the geared ones, so that a slave follows the command
// its master has in this tick whatever their numbers. A trip ends the block
// only once every axis has had its tick, so a slave it releases misses none.
void TickOnce(Controller& c)
{
    ++c.ticks;
    BlockTick(c);
    uint64_t tripped = 0; // bit per axis; a controller has at most 32
    for (bool geared : {false, true}) {
        for (AxisModel& axis : c.axes) {
            int master = axis.GearMaster();
            if ((master != 0) != geared)
                continue;
            double masterCommand = 0.0;
            if (master >= 1 && master <= static_cast<int>(c.axes.size()))
                masterCommand = c.axes[static_cast<size_t>(master - 1)].Command();
            bool wasOn = axis.MotorOn();
            axis.Tick(c.tick, masterCommand);
            if (wasOn && !axis.MotorOn()) // tripped on its following error
                tripped |= uint64_t{1} << (&axis - c.axes.data());
        }
    }
    for (size_t i = 0; tripped != 0; ++i, tripped >>= 1) {
        if (tripped & 1)
            EndBlockOf(c, static_cast<short>(i + 1));
    }
    CaptureTick(c);
}

// Nothing in motion, no block and no capture running: time may jump.
bool Quiescent(const Controller& c)
{
    if (c.block.running)
        return false;
    for (const Capture& capture : c.captures) {
        if (capture.running)
            return false;
    }
    for (const AxisModel& axis : c.axes) {
        if (!axis.Stopped())
            return false;
    }
    return true;
}

} // namespace

double ClockNow()
{
    Simulator& sim = Sim();
    return sim.manualClock ? sim.manualTime : WallSeconds();
}

void RunTicks(Controller& c, int64_t count)
{
    for (AxisModel& axis : c.axes) {
        int divider = static_cast<int>(std::floor(axis.SamplePeriod() / c.tick + 0.5));
        axis.SetDivider(divider < 1 ? 1 : divider);
    }
    for (int64_t i = 0; i < count; ++i)
        TickOnce(c);
}

void AdvanceController(Controller& c, double until)
{
    double due = std::floor(until / c.tick + 1e-6);
    double behind = due - static_cast<double>(c.ticks);
    if (behind <= 0.0)
        return;
    double longest = std::floor((Quiescent(c) ? kIdleCatchUp : kBusyCatchUp) / c.tick);
    if (behind > longest && !Sim().manualClock) {
        c.ticks += static_cast<int64_t>(behind - longest);
        behind = longest;
    }
    RunTicks(c, static_cast<int64_t>(behind));
}
