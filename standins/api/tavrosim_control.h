// Control exports of the simulated controller, for tests, tools and our own
// dialogs library. The programs never bind these.
#ifndef TAVROSIM_CONTROL_H
#define TAVROSIM_CONTROL_H

#include "tavro_api.h"

#pragma pack(push, 4)

// One configured controller, as the selection and information dialogs show it.
struct TavroSimControllerInfo {
    short id;
    int32_t controllerType;
    char description[64];
    int32_t axisCount;
    int32_t moduleSlots;
    int32_t digitalChannels;
    int32_t analogInputs;
    int32_t analogOutputs;
    short openError; // 0, or the code every open of this id fails with
};

// What the simulator knows of one axis, in counts whatever its scale.
struct TavroSimAxisState {
    double position;        // actual, encoder counts
    double command;         // trajectory command
    double target;
    double velocity;        // present velocity setting, counts/s
    double torque;
    int32_t motorOn;
    int32_t moving;
    int32_t error;          // following-error trip
    int32_t operatingMode;  // 1 or 2
    int32_t limitPositive;
    int32_t limitNegative;
};

#pragma pack(pop)

extern "C" {

// Drops all state (open handles included) and reads the controllers again from
// `configPath`, or from TAVROSIM_CONFIG / tavrosim.ini when it is null.
short TavroSim_Reload(const char* configPath);

// Clock: manual time moves only through TavroSim_Advance. TAVROSIM_CLOCK=manual
// selects it at load.
short TavroSim_SetManualClock(int manual);
short TavroSim_Advance(double seconds);

// Configured controllers.
int TavroSim_ControllerCount();
short TavroSim_ControllerAt(int index, TavroSimControllerInfo* info);
// Controller id of an open handle; -1 when the handle is not open.
short TavroSim_ControllerIdOfHandle(short handle);
// Number of handles open now.
int TavroSim_OpenHandleCount();

// Calls counted since load or the last reset: of one entry by name, and of any
// entry made with a dead handle (0, negative, closed or unknown).
long TavroSim_CallCount(const char* entryName);
long TavroSim_DeadHandleCallCount();
void TavroSim_ResetCallCounts();

// Axes (by controller id, as the hardware is; not by handle).
short TavroSim_GetAxisState(short controllerId, short axis, TavroSimAxisState* state);
short TavroSim_ForceAxisError(short controllerId, short axis);
short TavroSim_SetLimit(short controllerId, short axis, int positiveSide, int on);

// Digital I/O: an input's electrical level, an output's commanded state, a
// channel's configuration word.
short TavroSim_SetDigitalInput(short controllerId, short channel, int level);
short TavroSim_GetDigitalOutput(short controllerId, short channel);
unsigned short TavroSim_GetDigitalConfig(short controllerId, short channel);

// Analog I/O: a fixed input voltage (NaN returns the input to its waveform), an
// output's stored counts.
short TavroSim_SetAnalogInput(short controllerId, short channel, double volts);
long TavroSim_GetAnalogOutput(short controllerId, short channel);

} // extern "C"

#endif
