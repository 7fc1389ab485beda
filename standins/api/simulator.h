// State of the simulated controllers, shared by the files of the library.
// The library has no threads: every entry takes the lock, brings the model
// up to the present time and then does its work.
#ifndef TAVROSIM_SIMULATOR_H
#define TAVROSIM_SIMULATOR_H

#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "axis_model.h"
#include "tavrosim_control.h"

// What tavrosim.ini says about one controller.
struct ControllerHardware {
    short id = 0;
    int type = 1;
    std::string description;
    int flags = 0;
    std::vector<int> modules; // one code per slot
    std::vector<AxisHardware> axes;
    int digitalChannels = 0;
    std::vector<unsigned short> digitalCaps; // fixed, can-latch, stepper bits; output for fixed outputs
    int analogInputs = 0;
    int analogOutputs = 0;
    int analogInBits = 12;
    int analogOutBits = 12;
    double analogInMin = -10.0, analogInMax = 10.0;
    double analogOutMin = -10.0, analogOutMax = 10.0;
    bool reportAnalog = false; // resolution reported in the controller record
    short openError = 0;
};

// Capture of one axis.
struct Capture {
    bool armed = false;    // set up, waiting for its start
    bool running = false;  // started: samples are being taken
    long points = 0;       // samples to take
    double period = 0.0;   // seconds
    double delay = 0.0;
    int periodTicks = 1;
    int64_t startTick = 0; // tick of the first sample
    std::vector<double> actual, optimal, torque, aux;
};

// One stored command of a block.
struct BlockOp {
    enum Kind { CaptureSetup, Raw, MoveRelative, MoveAbsolute, WaitForStop, Gearing } kind;
    short axis = 0;
    short code = 0;     // raw command code; gearing master
    long count = 0;     // capture points; raw value; gearing state
    double a = 0.0;     // distance or position (counts), dwell, capture period, ratio
    double b = 0.0;     // capture delay
};

struct Block {
    std::vector<BlockOp> ops;
    size_t next = 0;
    bool running = false;
    bool waiting = false;   // in a wait-for-stop
    int64_t dwellUntil = -1; // tick at which the present dwell ends
    size_t loopStart = 0;   // first op the repeat tail returns to
};

struct DigitalChannel {
    unsigned short config = TAVRO_DIO_ACTIVE_HIGH;
    bool outputOn = false;  // commanded logical state of an output
    int forcedLevel = -1;   // electrical level set from outside, -1 none
    bool latch = false;     // a latched pulse not yet read
    long pulsesSeen = 0;    // rising edges of a periodic stimulus seen so far
    bool lastLogical = false;
};

struct AnalogInput {
    bool fixed = false;
    double volts = 0.0;
};

struct Controller {
    ControllerHardware hardware;
    std::vector<AxisModel> axes;
    std::vector<Capture> captures;
    std::vector<DigitalChannel> digital;
    std::vector<AnalogInput> analogIn;
    std::vector<long> analogOut;
    double registers[256] = {};
    Block recording;
    bool recordingBlock = false;
    Block block;
    double tick = 0.00025; // controller tick, seconds
    int64_t ticks = 0;     // ticks run since load; weeks of wall clock fit
    double Time() const { return ticks * tick; }
};

// The file named by TAVROSIM_TRACE, open from the first call until the
// library is unloaded.
class TraceFile {
public:
    TraceFile() = default;
    ~TraceFile() { Close(); }
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;
    void Open(const char* path);
    void Close();
    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }
    void Write(const char* line, size_t length);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

struct OpenHandle {
    short handle;
    short controllerId;
    HWND notifyWindow;
};

struct Simulator {
    bool loaded = false;
    std::vector<Controller> controllers;
    std::vector<OpenHandle> handles;
    short lastHandle = 0;
    bool manualClock = false;
    double manualTime = 0.0;
    LARGE_INTEGER clockStart = {};
    LARGE_INTEGER clockFrequency = {};
    TraceFile trace;
    std::map<std::string, long> callCounts;
    long deadHandleCalls = 0;
};

Simulator& Sim();
CRITICAL_SECTION* SimLock();

// Scoped lock around one entry.
class SimGuard {
public:
    SimGuard();  // also loads the controllers on first use
    ~SimGuard();
    SimGuard(const SimGuard&) = delete;
    SimGuard& operator=(const SimGuard&) = delete;
};

// Configuration (config.cpp).
void LoadControllers(const char* path);
std::string DefaultConfigPath();
void SetUpController(Controller& c); // hardware and power-on state from the configuration
void PowerOnController(Controller& c); // settings, outputs, registers and blocks as at power-on

// Time (sim_clock.cpp).
double ClockNow();
void AdvanceController(Controller& c, double until);
void RunTicks(Controller& c, int64_t count);

// Handles (handles.cpp). Each returns null and counts a dead-handle call
// when the handle is not open.
Controller* ControllerOfHandle(short handle);
Controller* ControllerById(short id);
AxisModel* AxisOf(Controller* c, short axis);
// TAVRO_OK with both found, else the error code (the pointers may be null).
short AxisStatus(short handle, short axis, Controller** controller, AxisModel** model);

// Runs `apply` on the axis when handle and axis are good and `valid` holds;
// otherwise changes nothing and gives the error code.
template <typename Apply>
short ChangeAxis(short handle, short axis, bool valid, Apply apply)
{
    Controller* c;
    AxisModel* a;
    short result = AxisStatus(handle, axis, &c, &a);
    if (result == TAVRO_OK && !valid)
        result = TAVRO_ERR_BAD_ARGUMENT;
    if (result == TAVRO_OK)
        apply(*a);
    return result;
}

// Gives `read(axis)` in `out` when handle and axis are good; otherwise zeroes
// `out` and gives the error code.
template <typename Value, typename Read>
short ReadAxisValue(short handle, short axis, Value* out, Read read)
{
    if (!out)
        return TAVRO_ERR_BAD_ARGUMENT;
    Controller* c;
    AxisModel* a;
    short status = AxisStatus(handle, axis, &c, &a);
    if (status != TAVRO_OK) {
        std::memset(out, 0, sizeof *out);
        return status;
    }
    *out = read(*a);
    return TAVRO_OK;
}

// Capture and blocks (capture.cpp), run once per tick.
void CaptureTick(Controller& c);
void BlockTick(Controller& c);
// Ends the running block when it commands `axis` (its motor went off, or
// came on again after being off); gearing the block would still release is
// released with it.
void EndBlockOf(Controller& c, short axis);
void StartCapture(Controller& c, short axis, long points);

// Digital and analog inputs (digital_io.cpp, analog_io.cpp).
// Latches an input whose state went on since it was last looked at.
void CheckLatch(Controller& c, int index);


// Call counting and the trace file (trace.cpp).
void EndCall(const char* name, long result, const char* format, ...);

// What a pointer argument holds, for the trace: the fields of a record (of a
// sized one those below its size), or values, in braces; "null" for none.
// Empty, at the cost of one test, when nothing is traced.
struct TraceText {
    char text[640];
};
TraceText Traced(const TavroBasicConfig* r);
TraceText Traced(const TavroControllerConfig* r);
TraceText Traced(const TavroAxisConfig* r);
TraceText Traced(const TavroMotionConfig* r);
TraceText Traced(const TavroFilterConfig* r);
TraceText Traced(const TavroScale* r);
TraceText Traced(const double* value);
TraceText Traced(const short* value);
TraceText Traced(const unsigned short* value);
TraceText TracedValues(const double* values, long count);
TraceText TracedValues(const int32_t* values, long count);
TraceText TracedText(const char* text, short size);     // a text the call wrote into `size` characters
TraceText TracedRegister(const void* value, short type); // a register value of TavroSetRegister's types
void ResetCallCounts();
long CallCount(const char* name);

#endif
