// Exports for tests, tools and our dialogs library: reload, clock, the
// configured controllers, call counts, and the state behind the API.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "simulator.h"

namespace {

enum class Io { Digital, AnalogIn, AnalogOut };

// TAVRO_OK with `*a` set when the controller has the axis.
short FindAxis(short id, short axis, AxisModel** a)
{
    Controller* c = ControllerById(id);
    *a = AxisOf(c, axis);
    if (!c)
        return TAVRO_ERR_NO_CONTROLLER;
    return *a ? TAVRO_OK : TAVRO_ERR_BAD_AXIS;
}

// TAVRO_OK with `*c` set when the controller has the channel.
short FindChannel(short id, short channel, Io io, Controller** c)
{
    *c = ControllerById(id);
    if (!*c)
        return TAVRO_ERR_NO_CONTROLLER;
    size_t count = io == Io::Digital ? (*c)->digital.size()
                 : io == Io::AnalogIn ? (*c)->analogIn.size() : (*c)->analogOut.size();
    return channel >= 1 && static_cast<size_t>(channel) <= count ? TAVRO_OK : TAVRO_ERR_BAD_CHANNEL;
}

} // namespace

extern "C" short TavroSim_Reload(const char* configPath)
{
    SimGuard guard;
    Simulator& sim = Sim();
    QueryPerformanceCounter(&sim.clockStart);
    sim.manualTime = 0.0;
    LoadControllers(configPath);
    return TAVRO_OK;
}

extern "C" short TavroSim_SetManualClock(int manual)
{
    SimGuard guard;
    Simulator& sim = Sim();
    bool wanted = manual != 0;
    if (wanted != sim.manualClock) {
        double now = ClockNow();
        if (wanted) {
            sim.manualTime = now;
        } else {
            // The wall clock carries on from the manual time.
            LARGE_INTEGER counter;
            QueryPerformanceCounter(&counter);
            sim.clockStart.QuadPart = counter.QuadPart
                                    - static_cast<LONGLONG>(now * static_cast<double>(sim.clockFrequency.QuadPart));
        }
        sim.manualClock = wanted;
    }
    return TAVRO_OK;
}

extern "C" short TavroSim_Advance(double seconds)
{
    SimGuard guard;
    Simulator& sim = Sim();
    if (!sim.manualClock)
        return TAVRO_ERR_NOT_SUPPORTED;
    if (!std::isfinite(seconds) || seconds < 0.0 || seconds > 600.0)
        return TAVRO_ERR_BAD_ARGUMENT;
    sim.manualTime += seconds;
    for (Controller& c : sim.controllers)
        AdvanceController(c, sim.manualTime);
    return TAVRO_OK;
}

extern "C" int TavroSim_ControllerCount()
{
    SimGuard guard;
    return static_cast<int>(Sim().controllers.size());
}

extern "C" short TavroSim_ControllerAt(int index, TavroSimControllerInfo* info)
{
    SimGuard guard;
    if (!info)
        return TAVRO_ERR_BAD_ARGUMENT;
    std::memset(info, 0, sizeof *info);
    Simulator& sim = Sim();
    if (index < 0 || index >= static_cast<int>(sim.controllers.size()))
        return TAVRO_ERR_NO_CONTROLLER;
    const ControllerHardware& s = sim.controllers[static_cast<size_t>(index)].hardware;
    info->id = s.id;
    info->controllerType = s.type;
    snprintf(info->description, sizeof info->description, "%s", s.description.c_str());
    info->axisCount = static_cast<int32_t>(s.axes.size());
    info->moduleSlots = static_cast<int32_t>(s.modules.size());
    info->digitalChannels = s.digitalChannels;
    info->analogInputs = s.analogInputs;
    info->analogOutputs = s.analogOutputs;
    info->openError = s.openError;
    return TAVRO_OK;
}

extern "C" short TavroSim_ControllerIdOfHandle(short handle)
{
    SimGuard guard;
    for (const OpenHandle& h : Sim().handles) {
        if (handle > 0 && h.handle == handle)
            return h.controllerId;
    }
    return -1;
}

extern "C" int TavroSim_OpenHandleCount()
{
    SimGuard guard;
    return static_cast<int>(Sim().handles.size());
}

extern "C" long TavroSim_CallCount(const char* entryName)
{
    SimGuard guard;
    return CallCount(entryName);
}

extern "C" long TavroSim_DeadHandleCallCount()
{
    SimGuard guard;
    return Sim().deadHandleCalls;
}

extern "C" void TavroSim_ResetCallCounts()
{
    SimGuard guard;
    ResetCallCounts();
}

extern "C" short TavroSim_GetAxisState(short controllerId, short axis, TavroSimAxisState* state)
{
    SimGuard guard;
    if (!state)
        return TAVRO_ERR_BAD_ARGUMENT;
    std::memset(state, 0, sizeof *state);
    AxisModel* a;
    short result = FindAxis(controllerId, axis, &a);
    if (result != TAVRO_OK)
        return result;
    state->position = a->Position();
    state->command = a->Command();
    state->target = a->Target();
    state->velocity = a->Settings().motion.velocity * a->CountsPerUnit();
    state->torque = a->Torque();
    state->motorOn = a->MotorOn();
    state->moving = !a->Stopped();
    state->error = a->Error();
    state->operatingMode = a->Mode();
    state->limitPositive = a->AtLimitPositive();
    state->limitNegative = a->AtLimitNegative();
    return TAVRO_OK;
}

extern "C" short TavroSim_ForceAxisError(short controllerId, short axis)
{
    SimGuard guard;
    AxisModel* a;
    short result = FindAxis(controllerId, axis, &a);
    if (result == TAVRO_OK) {
        a->ForceError();
        EndBlockOf(*ControllerById(controllerId), axis);
    }
    return result;
}

extern "C" short TavroSim_SetLimit(short controllerId, short axis, int positiveSide, int on)
{
    SimGuard guard;
    AxisModel* a;
    short result = FindAxis(controllerId, axis, &a);
    if (result == TAVRO_OK)
        a->ForceLimit(positiveSide != 0, on != 0);
    return result;
}

extern "C" short TavroSim_SetDigitalInput(short controllerId, short channel, int level)
{
    SimGuard guard;
    Controller* c;
    short result = FindChannel(controllerId, channel, Io::Digital, &c);
    if (result == TAVRO_OK) {
        c->digital[static_cast<size_t>(channel - 1)].forcedLevel = level < 0 ? -1 : (level ? 1 : 0);
        CheckLatch(*c, channel - 1);
    }
    return result;
}

extern "C" short TavroSim_GetDigitalOutput(short controllerId, short channel)
{
    SimGuard guard;
    Controller* c;
    short result = FindChannel(controllerId, channel, Io::Digital, &c);
    if (result != TAVRO_OK)
        return result;
    return c->digital[static_cast<size_t>(channel - 1)].outputOn ? 1 : 0;
}

extern "C" unsigned short TavroSim_GetDigitalConfig(short controllerId, short channel)
{
    SimGuard guard;
    Controller* c;
    if (FindChannel(controllerId, channel, Io::Digital, &c) != TAVRO_OK)
        return 0;
    return c->digital[static_cast<size_t>(channel - 1)].config;
}

extern "C" short TavroSim_SetAnalogInput(short controllerId, short channel, double volts)
{
    SimGuard guard;
    Controller* c;
    short result = FindChannel(controllerId, channel, Io::AnalogIn, &c);
    if (result == TAVRO_OK) {
        AnalogInput& in = c->analogIn[static_cast<size_t>(channel - 1)];
        in.fixed = !std::isnan(volts);
        in.volts = in.fixed ? volts : 0.0;
    }
    return result;
}

extern "C" long TavroSim_GetAnalogOutput(short controllerId, short channel)
{
    SimGuard guard;
    Controller* c;
    short result = FindChannel(controllerId, channel, Io::AnalogOut, &c);
    if (result != TAVRO_OK)
        return result;
    return c->analogOut[static_cast<size_t>(channel - 1)];
}
