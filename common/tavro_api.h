// Declarations of every entry and record of the two controller libraries,
// tavroapi64.dll (the API) and tavrodlg64.dll (the dialogs). The programs'
// binding table and our own stand-in libraries both compile against this one
// header, so the two can never disagree.
#ifndef DREVALON_TAVRO_API_H
#define DREVALON_TAVRO_API_H

#include <windows.h>
#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Records. Packed to 4 bytes: doubles may sit at offsets that are not a
// multiple of 8. Reserved bytes belong to the library.
// ---------------------------------------------------------------------------
#pragma pack(push, 4)

// Filled by TavroGetConfigurationEx; the caller sets `size` (124 or 128) and the
// library never writes at or past it.
struct TavroControllerConfig {
    uint32_t size;              // 0
    int32_t reserved4;          // 4
    int32_t controllerType;     // 8
    int32_t axisCount;          // 12 (type 8: servo period in ms)
    int32_t reserved16;         // 16
    int32_t moduleSlots;        // 20
    int32_t flags;              // 24
    int32_t digitalChannels;    // 28
    int32_t analogInputs;       // 32
    int32_t analogOutputs;      // 36
    int32_t reserved40[8];      // 40
    double analogInMin;         // 72
    double analogInMax;         // 80
    int32_t analogInBits;       // 88
    double analogOutMin;        // 92
    double analogOutMax;        // 100
    int32_t analogOutBits;      // 108
    int32_t reserved112[4];     // 112
};

// Filled whole by TavroGetConfiguration; no size field.
struct TavroBasicConfig {
    int32_t controllerType;     // 0
    int16_t axisCount;          // 4
    int16_t reserved6;          // 6
    int32_t reserved8[6];       // 8
};

// Filled by TavroGetAxisConfiguration; the caller sets `size` to 104.
struct TavroAxisConfig {
    uint32_t size;              // 0
    int32_t moduleType;         // 4
    int32_t reserved8;          // 8
    int32_t axisFlags;          // 12
    int32_t captureFlags;       // 16
    int32_t captureBufferSize;  // 20
    int32_t reserved24;         // 24
    double samplePeriodHigh;    // 28
    double samplePeriodMed;     // 36
    double samplePeriodLow;     // 44
    int32_t reserved52[13];     // 52
};

struct TavroMotionConfig {
    double acceleration;        // 0
    double deceleration;        // 8
    double velocity;            // 16
    int32_t reserved24[3];      // 24
    double proportionalGain;    // 36
    double maxTorque;           // 44
    int32_t reserved52[10];     // 52
    int16_t reserved92;         // 92
    int16_t updateRate;         // 94
};

struct TavroFilterConfig {
    double derivativeGain;      // 0
    double derivativePeriod;    // 8
    double integralGain;        // 16
    double integrationLimit;    // 24
    double velocityGain;        // 32
    double reserved40[2];       // 40
    double maxFollowingError;   // 56
};

struct TavroScale {
    double encoderScale;        // 0
    double auxEncoderScale;     // 8
    double outputScale;         // 16
    double positionScale;       // 24: readout decimals come from this one
    double velocityScale;       // 32
    double timeScale;           // 40
};

#pragma pack(pop)

static_assert(sizeof(TavroControllerConfig) == 128, "controller record size");
static_assert(offsetof(TavroControllerConfig, controllerType) == 8, "offset");
static_assert(offsetof(TavroControllerConfig, axisCount) == 12, "offset");
static_assert(offsetof(TavroControllerConfig, moduleSlots) == 20, "offset");
static_assert(offsetof(TavroControllerConfig, flags) == 24, "offset");
static_assert(offsetof(TavroControllerConfig, digitalChannels) == 28, "offset");
static_assert(offsetof(TavroControllerConfig, analogInputs) == 32, "offset");
static_assert(offsetof(TavroControllerConfig, analogOutputs) == 36, "offset");
static_assert(offsetof(TavroControllerConfig, analogInMin) == 72, "offset");
static_assert(offsetof(TavroControllerConfig, analogInMax) == 80, "offset");
static_assert(offsetof(TavroControllerConfig, analogInBits) == 88, "offset");
static_assert(offsetof(TavroControllerConfig, analogOutMin) == 92, "offset");
static_assert(offsetof(TavroControllerConfig, analogOutMax) == 100, "offset");
static_assert(offsetof(TavroControllerConfig, analogOutBits) == 108, "offset");
static_assert(sizeof(TavroBasicConfig) == 32, "basic record size");
static_assert(offsetof(TavroBasicConfig, axisCount) == 4, "offset");
static_assert(sizeof(TavroAxisConfig) == 104, "axis record size");
static_assert(offsetof(TavroAxisConfig, moduleType) == 4, "offset");
static_assert(offsetof(TavroAxisConfig, axisFlags) == 12, "offset");
static_assert(offsetof(TavroAxisConfig, captureFlags) == 16, "offset");
static_assert(offsetof(TavroAxisConfig, captureBufferSize) == 20, "offset");
static_assert(offsetof(TavroAxisConfig, samplePeriodHigh) == 28, "offset");
static_assert(offsetof(TavroAxisConfig, samplePeriodMed) == 36, "offset");
static_assert(offsetof(TavroAxisConfig, samplePeriodLow) == 44, "offset");
static_assert(sizeof(TavroMotionConfig) == 96, "motion record size");
static_assert(offsetof(TavroMotionConfig, velocity) == 16, "offset");
static_assert(offsetof(TavroMotionConfig, proportionalGain) == 36, "offset");
static_assert(offsetof(TavroMotionConfig, maxTorque) == 44, "offset");
static_assert(offsetof(TavroMotionConfig, updateRate) == 94, "offset");
static_assert(sizeof(TavroFilterConfig) == 64, "filter record size");
static_assert(offsetof(TavroFilterConfig, integralGain) == 16, "offset");
static_assert(offsetof(TavroFilterConfig, maxFollowingError) == 56, "offset");
static_assert(sizeof(TavroScale) == 48, "scale record size");
static_assert(offsetof(TavroScale, positionScale) == 24, "offset");

// ---------------------------------------------------------------------------
// Codes.
// ---------------------------------------------------------------------------
enum : short {
    TAVRO_OK = 0,
    TAVRO_ERR_NOT_SUPPORTED = -1,
    TAVRO_ERR_BAD_HANDLE = -2,
    TAVRO_ERR_BAD_AXIS = -3,
    TAVRO_ERR_BAD_CHANNEL = -4,
    TAVRO_ERR_BAD_ARGUMENT = -5,
    TAVRO_ERR_NO_CONTROLLER = -6,
    TAVRO_ERR_NOT_CAPTURED = -7,
    TAVRO_ERR_TIMEOUT = -8,
    TAVRO_ERR_NO_RESPONSE = -9,
    TAVRO_ERR_IN_USE = -10,
    TAVRO_ERR_DRIVER = -11,
    TAVRO_ERR_BLOCK = -12,
};

// Open modes.
enum : short { TAVRO_OPEN_SHARED = 2 };

// Status bits, asked one by one with TavroDecodeStatus.
enum : short {
    TAVRO_STAT_MOTOR_ON = 1,
    TAVRO_STAT_ERROR = 7,
    TAVRO_STAT_LIMIT_POS = 15,
    TAVRO_STAT_LIMIT_NEG = 17,
};

// Module type codes of TavroGetInstalledModules.
enum : int32_t {
    TAVRO_MODULE_ANALOG = 12,
    TAVRO_MODULE_EMPTY = 15,
};

// Axis flags and capture abilities of TavroAxisConfig.
enum : int32_t {
    TAVRO_AXIS_SERVO = 0x0001,
    TAVRO_CAPTURE_TORQUE = 0x0080,
    TAVRO_CAPTURE_ADVANCED = 0x0100,
    TAVRO_CAPTURE_AUX = 0x0200,
    TAVRO_CAPTURE_STATUS = 0x0400,
};

// Controller flags of TavroControllerConfig.
enum : int32_t { TAVRO_CTRL_FRACTIONAL_GAINS = 0x0004 };

// Update-rate codes of TavroMotionConfig.
enum : int16_t { TAVRO_RATE_LOW = 1, TAVRO_RATE_MED = 2, TAVRO_RATE_HIGH = 4 };

// Motion profile codes.
enum : short {
    TAVRO_PROFILE_TRAPEZOIDAL = 1,
    TAVRO_PROFILE_SCURVE = 2,
    TAVRO_PROFILE_PARABOLIC = 4,
};

// Capture kinds of TavroGetCaptureData.
enum : short {
    TAVRO_CAPTURE_KIND_ACTUAL = 16,
    TAVRO_CAPTURE_KIND_OPTIMAL = 64,
    TAVRO_CAPTURE_KIND_TORQUE = 128,
    TAVRO_CAPTURE_KIND_AUX = 512,
};

// Digital channel configuration word bits.
enum : unsigned short {
    TAVRO_DIO_OUTPUT = 0x0002,
    TAVRO_DIO_ACTIVE_HIGH = 0x0004,
    TAVRO_DIO_LATCHED = 0x0010,
    TAVRO_DIO_FIXED = 0x0100,
    TAVRO_DIO_CAN_LATCH = 0x0200,
    TAVRO_DIO_STEPPER = 0x0400,
};

// Digital mode codes of TavroConfigureDigitalIO, combined with OR.
enum : unsigned short {
    TAVRO_DIO_MODE_INPUT = 1,
    TAVRO_DIO_MODE_OUTPUT = 2,
    TAVRO_DIO_MODE_HIGH = 4,
    TAVRO_DIO_MODE_LOW = 8,
    TAVRO_DIO_MODE_LATCH = 16,
};

// Raw command codes of qorcmdex used by the step test.
enum : short {
    TAVRO_RAW_START_CAPTURE = 212,
};

// Messages of the dialog library's control classes.
#define LEDM_SETCOLOR 0x3404
#define RDM_SETCOLOR 0x3412
#define TAVRO_LED_CLASS "TavroDLG_LEDWindowClass"
#define TAVRO_READOUT_CLASS "TavroDLG_ReadoutWindowClass"

// ---------------------------------------------------------------------------
// Entries. X(return type, name, parameter list) for each entry with a
// defined signature; U(name) for entries no program calls, which take a
// handle and answer TAVRO_ERR_NOT_SUPPORTED.
// ---------------------------------------------------------------------------
#define TAVRO_API_ENTRIES(X, U) \
    X(short, TavroOpen, (short controllerId, short mode, const char* name)) \
    X(short, TavroReopen, (short handle, short mode)) \
    X(short, TavroClose, (short handle)) \
    X(short, TavroReset, (short handle, short mode)) \
    X(short, TavroErrorNotify, (HWND window, short handle, DWORD flags)) \
    X(short, TavroTranslateErrorEx, (short code, char* buffer, short size)) \
    X(short, TavroGetConfiguration, (short handle, TavroBasicConfig* config)) \
    X(short, TavroGetConfigurationEx, (short handle, TavroControllerConfig* config)) \
    X(short, TavroGetAxisConfiguration, (short handle, short axis, TavroAxisConfig* config)) \
    X(short, TavroGetInstalledModules, (short handle, int32_t* modules, short slotCount)) \
    X(short, TavroGetMotionConfig, (short handle, short axis, TavroMotionConfig* config)) \
    X(short, TavroSetMotionConfig, (short handle, short axis, TavroMotionConfig* config)) \
    X(short, TavroGetFilterConfig, (short handle, short axis, TavroFilterConfig* config)) \
    X(short, TavroSetFilterConfig, (short handle, short axis, TavroFilterConfig* config)) \
    X(short, TavroGetScale, (short handle, short axis, TavroScale* scale)) \
    X(short, TavroSetScale, (short handle, short axis, TavroScale* scale)) \
    X(short, TavroGetProfile, (short handle, short axis, short* profile)) \
    X(short, TavroSetProfile, (short handle, short axis, short profile)) \
    X(short, TavroGetServoOutputPhase, (short handle, short axis, short* phase)) \
    X(short, TavroSetServoOutputPhase, (short handle, short axis, short phase)) \
    X(short, TavroGetModuleOutputMode, (short handle, short axis, short* mode)) \
    X(short, TavroSetModuleOutputMode, (short handle, short axis, short mode)) \
    X(short, TavroMoveAbsolute, (short handle, short axis, double position)) \
    X(short, TavroMoveRelative, (short handle, short axis, double distance)) \
    X(short, TavroStop, (short handle, short axis)) \
    X(short, TavroAbort, (short handle, short axis)) \
    X(short, TavroEnableAxis, (short handle, short axis, short state)) \
    X(short, TavroSetOperatingMode, (short handle, short axis, short slave, short mode)) \
    X(short, TavroSetPosition, (short handle, short axis, double position)) \
    X(short, TavroSetVelocity, (short handle, short axis, double velocity)) \
    X(short, TavroGetVelocityEx, (short handle, short axis, double* velocity)) \
    X(short, TavroEnableGearing, (short handle, short slave, short master, double ratio, short state)) \
    X(short, TavroWaitForStop, (short handle, short axis, double dwell)) \
    X(short, TavroIsStopped, (short handle, short axis, double timeout)) \
    X(short, TavroSetRegister, (short handle, short reg, void* value, short type)) \
    X(DWORD, TavroGetStatus, (short handle, short axis)) \
    X(short, TavroDecodeStatus, (short handle, DWORD status, short bit)) \
    X(short, TavroGetPositionEx, (short handle, short axis, double* position)) \
    X(short, TavroGetTargetEx, (short handle, short axis, double* target)) \
    X(short, TavroGetOptimalEx, (short handle, short axis, double* optimal)) \
    X(short, TavroGetTorque, (short handle, short axis, double* torque)) \
    X(short, TavroGetAuxEncPosEx, (short handle, short axis, double* position)) \
    X(short, TavroGetDigitalIO, (short handle, short channel)) \
    X(short, TavroGetDigitalIOConfig, (short handle, short channel, unsigned short* config)) \
    X(short, TavroConfigureDigitalIO, (short handle, short channel, unsigned short mode)) \
    X(short, TavroEnableDigitalIO, (short handle, short channel, short state)) \
    X(long, TavroGetAnalog, (short handle, short channel)) \
    X(short, TavroSetAnalog, (short handle, short channel, long counts)) \
    X(short, TavroGetGain, (short handle, short axis, double* gain)) \
    X(short, TavroSetGain, (short handle, short axis, double gain)) \
    X(short, TavroCaptureData, (short handle, short axis, long points, double period, double delay)) \
    X(short, TavroGetCaptureData, (short handle, short axis, short kind, long start, long count, double* values)) \
    X(short, TavroBlockBegin, (short handle, short kind, short number)) \
    X(short, TavroBlockEnd, (short handle, short number)) \
    X(short, qorcmdex, (short handle, short axis, short code, void* value, short type)) \
    U(TavroArcCenter) U(TavroCancelTask) U(TavroContourDistance) U(TavroContourPath) \
    U(TavroDirection) U(TavroEnableBacklash) U(TavroEnableJog) U(TavroEnableSync) \
    U(TavroFindEdge) U(TavroFindIndex) U(TavroGetAccelerationEx) U(TavroGetAuxEncIdxEx) \
    U(TavroGetBreakpointEx) U(TavroGetContourConfig) U(TavroGetContouringCount) \
    U(TavroGetDecelerationEx) U(TavroGetError) U(TavroGetFollowingError) U(TavroGetIndexEx) \
    U(TavroGetJogConfig) U(TavroGetLimits) U(TavroGetRegister) U(TavroGetVectorVelocity) \
    U(TavroGetVersion) U(TavroGo) U(TavroGoHome) U(TavroLearnPoint) U(TavroMacroCall) \
    U(TavroMoveToPoint) U(TavroRepeat) U(TavroSetAcceleration) U(TavroSetAuxEncPos) \
    U(TavroSetContourConfig) U(TavroSetDeceleration) U(TavroSetJogConfig) U(TavroSetLimits) \
    U(TavroSetTimeoutEx) U(TavroSetTorque) U(TavroSetVectorVelocity) U(TavroWait) \
    U(TavroWaitForDigitalIO) U(TavroWaitForEdge) U(TavroWaitForPosition) \
    U(TavroWaitForRelative) U(TavroWaitForTarget) U(qorcmd) U(qorgetc) U(qorgetram) \
    U(qorgets) U(qorputc) U(qorputram) U(qorputs) U(qorrdy) U(qorrpy) U(TavroGoEx) \
    U(TavroArcEndAngle) U(TavroArcRadius) U(TavroFindAuxEncIdx) U(TavroIndexArm) \
    U(TavroIsAtTarget) U(qorrpyex) U(TavroConfigureCompare) U(TavroEnableCapture) \
    U(TavroEnableCompare) U(TavroEnableDigitalFilter) U(TavroGetCount) \
    U(TavroGetDigitalFilter) U(TavroIsDigitalFilter) U(TavroSetDigitalFilter) \
    U(TavroEdgeArm) U(TavroGetFilterConfigEx) U(TavroGetModuleInputMode) \
    U(TavroGetMotionConfigEx) U(TavroGetOperatingMode) U(TavroIsEdgeFound) \
    U(TavroIsIndexFound) U(TavroSetCommutation) U(TavroSetFilterConfigEx) \
    U(TavroSetModuleInputMode) U(TavroSetMotionConfigEx) U(TavroWaitForIndex) \
    U(TavroDecodeStatusEx) U(TavroEnableInterrupt) U(TavroGetStatusEx) \
    U(TavroInterruptOnPosition) U(TavroEnableEncoderFault) U(TavroGetAnalogEx) \
    U(TavroGetVelocityActual) U(TavroSetAnalogEx) U(qorgetramex) U(qorputramex) \
    U(TavroGetVelocityOverride) U(TavroSetVelocityOverride) U(TavroGetDigitalIOEx)

#define TAVRO_DLG_ENTRIES(X, U) \
    X(short, TavroDLG_Initialize, (void)) \
    X(short, TavroDLG_SelectController, (HWND owner, short currentId, long flags, long reserved)) \
    X(short, TavroDLG_ControllerInfo, (HWND owner, short handle, long flags, const char* caption)) \
    X(short, TavroDLG_AboutBox, (HWND owner, const char* title, long flags)) \
    X(short, TavroDLG_ConfigureAxis, (HWND owner, short handle, short axis, long flags, void* reserved)) \
    X(short, TavroDLG_Scaling, (HWND owner, short handle, short axis, long flags, void* reserved)) \
    X(short, TavroDLG_RestoreAxis, (short handle, short axis, long flags, const char* file)) \
    X(short, TavroDLG_SaveAxis, (short handle, short axis, long flags, const char* file)) \
    X(short, TavroDLG_RestoreDigitalIO, (short handle, short kind, short count, const char* file)) \
    X(short, TavroDLG_SaveDigitalIO, (short handle, short kind, short count, const char* file)) \
    X(short, TavroDLG_ControllerDescEx, (long type, long flags, char* buffer, long size)) \
    X(short, TavroDLG_ModuleDescEx, (long type, long flags, char* buffer, long size)) \
    X(short, TavroDLG_CommandFileExt, (long type, long flags, char* buffer, long size)) \
    X(short, TavroDLG_DownloadFile, (HWND owner, short handle, long flags, const char* path)) \
    X(short, TavroDLG_ControllerDesc, (long type, char* buffer, long size)) \
    X(short, TavroDLG_ModuleDesc, (long type, char* buffer, long size)) \
    X(short, TavroDLG_ListControllers, (short* ids, short size))

// Function-pointer types: TavroOpen_t and so on.
#define TAVRO_DECLARE_TYPE(ret, name, params) typedef ret(*name##_t) params;
#define TAVRO_DECLARE_UNUSED_TYPE(name) typedef short(*name##_t)(short handle);
TAVRO_API_ENTRIES(TAVRO_DECLARE_TYPE, TAVRO_DECLARE_UNUSED_TYPE)
TAVRO_DLG_ENTRIES(TAVRO_DECLARE_TYPE, TAVRO_DECLARE_UNUSED_TYPE)
#undef TAVRO_DECLARE_TYPE
#undef TAVRO_DECLARE_UNUSED_TYPE

#endif
