// Binding the tuning record to a controller and an axis: opening, axis
// selection and abilities, servo period, capture timing, gain full scale and
// the gantry pair.
#ifndef QUORISK_CONTROLLER_H
#define QUORISK_CONTROLLER_H

#include <windows.h>

#include <cstdint>

struct TuningWindowData;
struct TestSettings;
struct TavroControllerConfig;

// ComputeCaptureTiming's result when the axis gives no usable servo period or
// capture buffer: the timing is left unchanged and no test may run.
#define CAPTURE_TIMING_UNKNOWN (-1.0)

// Reads the controller's configuration record; false when it cannot be read.
bool ReadControllerConfig(short controller, TavroControllerConfig* config);

// Opens controller ControllerID. The new handle (> 0); 0 when the controller
// has no motor modules (it is closed again); else the failed open's result.
short OpenController(TuningWindowData* data);

// Highest axis the program may make current: the open controller's axis count
// (at most 16), or 16 with no controller open.
int HighestAxis(const TuningWindowData* data);

// Makes `axis` current (axis 1 when it lies outside 1..HighestAxis) and reads
// what it can capture.
void SelectAxis(TuningWindowData* data, int axis);

// The other axis of the gantry pair when the current axis belongs to it and the
// partner is a different axis within range; else 0.
unsigned short GetGantryPartner(const TuningWindowData* data);

// Copies the current axis's motor settings to its gantry partner when sharing
// is on. Each setting is written only when it could be read.
int ShareGantrySettings(TuningWindowData* data);

// Full scale of the three gain sliders: 20.0 for fractional-gain controllers
// (other than type 8), else 32767.0.
void SetGainFullScale(TuningWindowData* data);

// Servo update period of the axis in seconds. 0 when `period` was written;
// -1 when the controller gives none (then `period` is unchanged).
short GetServoPeriod(short controller, short axis, double* period);

// Sets `points` and `period` of `settings` for its RecordTime. Returns the
// longest record time the capture buffer allows when RecordTime is too long
// for a plain capture, 0 when it fits, or CAPTURE_TIMING_UNKNOWN.
double ComputeCaptureTiming(TestSettings* settings, short controller, short axis, int advanced);

// Capture points, the start point included, that lie within the record time
// at the capture period; at most `points`. A plain capture fills the whole
// buffer however short the record time is.
int32_t PointsWithinRecordTime(const TestSettings* settings);

#endif
