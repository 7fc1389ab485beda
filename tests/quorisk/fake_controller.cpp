#include "fake_controller.h"

#include "tavro_binding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

FakeController* g_fake = nullptr;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

void Log(const char* name, const std::string& args)
{
    Fake().log.push_back(std::string(name) + "(" + args + ")");
    Fake().calls[name]++;
}

bool GoodAxis(short handle, short axis)
{
    return handle > 0 && handle == Fake().openResult && axis >= 1 && axis <= Fake().axisCount &&
           axis <= 16;
}

short FakeOpen(short id, short mode, const char* name)
{
    Log("TavroOpen", Format("%d, %d, \"%s\"", id, mode, name ? name : "null"));
    return Fake().openResult;
}

short FakeClose(short handle)
{
    Log("TavroClose", Format("%d", handle));
    return 0;
}

short FakeGetConfigurationEx(short handle, TavroControllerConfig* config)
{
    Log("TavroGetConfigurationEx", Format("%d, %u", handle, config->size));
    if (handle <= 0)
        return TAVRO_ERR_BAD_HANDLE;
    config->controllerType = Fake().controllerType;
    config->axisCount = Fake().axisCount;
    config->flags = Fake().flags;
    return 0;
}

short FakeGetConfiguration(short handle, TavroBasicConfig* config)
{
    Log("TavroGetConfiguration", Format("%d", handle));
    if (handle <= 0)
        return TAVRO_ERR_BAD_HANDLE;
    config->controllerType = Fake().controllerType;
    config->axisCount = static_cast<int16_t>(Fake().axisCount);
    return 0;
}

short FakeGetAxisConfiguration(short handle, short axis, TavroAxisConfig* config)
{
    Log("TavroGetAxisConfiguration", Format("%d, %d, %u", handle, axis, config->size));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    const FakeAxis& a = Fake().axes[axis];
    config->moduleType = a.moduleType;
    config->captureFlags = a.captureFlags;
    config->captureBufferSize = a.captureBuffer;
    config->samplePeriodHigh = a.periodHigh;
    config->samplePeriodMed = a.periodMed;
    config->samplePeriodLow = a.periodLow;
    return 0;
}

short FakeGetMotionConfig(short handle, short axis, TavroMotionConfig* config)
{
    Log("TavroGetMotionConfig", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    config->updateRate = Fake().axes[axis].updateRate;
    return 0;
}

short FakeSetMotionConfig(short handle, short axis, TavroMotionConfig*)
{
    Log("TavroSetMotionConfig", Format("%d, %d", handle, axis));
    return 0;
}

short FakeGetFilterConfig(short handle, short axis, TavroFilterConfig* config)
{
    Log("TavroGetFilterConfig", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis) || Fake().axes[axis].failFilterRead)
        return TAVRO_ERR_BAD_AXIS;
    *config = Fake().axes[axis].filter;
    return 0;
}

short FakeSetFilterConfig(short handle, short axis, TavroFilterConfig* config)
{
    Log("TavroSetFilterConfig",
        Format("%d, %d, D=%g, I=%g", handle, axis, config->derivativeGain, config->integralGain));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    Fake().axes[axis].filter = *config;
    return 0;
}

short FakeGetScale(short handle, short axis, TavroScale* scale)
{
    Log("TavroGetScale", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis) || Fake().axes[axis].failScaleRead)
        return TAVRO_ERR_BAD_AXIS;
    *scale = Fake().axes[axis].scale;
    return 0;
}

short FakeSetScale(short handle, short axis, TavroScale* scale)
{
    Log("TavroSetScale", Format("%d, %d, %g", handle, axis, scale->positionScale));
    if (GoodAxis(handle, axis))
        Fake().axes[axis].scale = *scale;
    return 0;
}

short FakeGetProfile(short handle, short axis, short* profile)
{
    Log("TavroGetProfile", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    *profile = Fake().axes[axis].profile;
    return 0;
}

short FakeSetProfile(short handle, short axis, short profile)
{
    Log("TavroSetProfile", Format("%d, %d, %d", handle, axis, profile));
    return 0;
}

short FakeGetShort(short handle, short axis, short* value)
{
    Log("TavroGetShort", Format("%d, %d", handle, axis));
    *value = 0;
    return GoodAxis(handle, axis) ? 0 : TAVRO_ERR_BAD_AXIS;
}

short FakeSetPhase(short handle, short axis, short value)
{
    Log("TavroSetServoOutputPhase", Format("%d, %d, %d", handle, axis, value));
    return 0;
}

short FakeSetOutputMode(short handle, short axis, short value)
{
    Log("TavroSetModuleOutputMode", Format("%d, %d, %d", handle, axis, value));
    return 0;
}

short FakeGetPosition(short handle, short axis, double* position)
{
    Log("TavroGetPositionEx", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    *position = Fake().axes[axis].position;
    return 0;
}

short FakeSetPosition(short handle, short axis, double position)
{
    Log("TavroSetPosition", Format("%d, %d, %g", handle, axis, position));
    if (GoodAxis(handle, axis))
        Fake().axes[axis].position = position;
    return 0;
}

short FakeGetTarget(short handle, short axis, double* value)
{
    Log("TavroGetTargetEx", Format("%d, %d", handle, axis));
    *value = GoodAxis(handle, axis) ? Fake().axes[axis].target : 0.0;
    return 0;
}

short FakeGetOptimal(short handle, short axis, double* value)
{
    Log("TavroGetOptimalEx", Format("%d, %d", handle, axis));
    *value = GoodAxis(handle, axis) ? Fake().axes[axis].optimal : 0.0;
    return 0;
}

short FakeGetAux(short handle, short axis, double* value)
{
    Log("TavroGetAuxEncPosEx", Format("%d, %d", handle, axis));
    *value = GoodAxis(handle, axis) ? Fake().axes[axis].auxiliary : 0.0;
    return 0;
}

short FakeSetOperatingMode(short handle, short axis, short slave, short mode)
{
    Log("TavroSetOperatingMode", Format("%d, %d, %d, %d", handle, axis, slave, mode));
    return 0;
}

short FakeEnableGearing(short handle, short slave, short master, double ratio, short state)
{
    Log("TavroEnableGearing", Format("%d, %d, %d, %g, %d", handle, slave, master, ratio, state));
    return 0;
}

short FakeSetRegister(short handle, short reg, void* value, short type)
{
    Log("TavroSetRegister", Format("%d, %d, %d, %d", handle, reg, *static_cast<int32_t*>(value), type));
    return 0;
}

short FakeCaptureData(short handle, short axis, long points, double period, double delay)
{
    Log("TavroCaptureData", Format("%d, %d, %ld, %g, %g", handle, axis, points, period, delay));
    return 0;
}

short FakeBlockBegin(short handle, short kind, short number)
{
    Log("TavroBlockBegin", Format("%d, %d, %d", handle, kind, number));
    return 0;
}

short FakeBlockEnd(short handle, short number)
{
    Log("TavroBlockEnd", Format("%d, %d", handle, number));
    return 0;
}

short FakeRaw(short handle, short axis, short code, void* value, short type)
{
    Log("qorcmdex", Format("%d, %d, %d, %d, %d", handle, axis, code, *static_cast<int32_t*>(value), type));
    return 0;
}

short FakeMoveRelative(short handle, short axis, double distance)
{
    Log("TavroMoveRelative", Format("%d, %d, %g", handle, axis, distance));
    return 0;
}

short FakeWaitForStop(short handle, short axis, double dwell)
{
    Log("TavroWaitForStop", Format("%d, %d, %g", handle, axis, dwell));
    return 0;
}

short FakeGetCaptureData(short handle, short axis, short kind, long start, long count, double* values)
{
    Fake().calls["TavroGetCaptureData"]++;
    if (!GoodAxis(handle, axis) || count != 1 || start < 0) {
        *values = 0.0;
        return TAVRO_ERR_NOT_CAPTURED;
    }
    *values = Fake().CaptureSample(axis, kind, start);
    return 0;
}

short FakeGetGain(short handle, short axis, double* gain)
{
    Log("TavroGetGain", Format("%d, %d", handle, axis));
    if (!GoodAxis(handle, axis))
        return TAVRO_ERR_BAD_AXIS;
    *gain = Fake().axes[axis].gain;
    return 0;
}

short FakeSetGain(short handle, short axis, double gain)
{
    Log("TavroSetGain", Format("%d, %d, %g", handle, axis, gain));
    if (GoodAxis(handle, axis))
        Fake().axes[axis].gain = gain;
    return 0;
}

DWORD FakeGetStatus(short handle, short axis)
{
    Fake().calls["TavroGetStatus"]++;
    return GoodAxis(handle, axis) ? Fake().axes[axis].status : 0;
}

short FakeDecodeStatus(short, DWORD status, short bit)
{
    return (status >> bit) & 1;
}

short FakeEnableAxis(short handle, short axis, short state)
{
    Log("TavroEnableAxis", Format("%d, %d, %d", handle, axis, state));
    return 0;
}

short FakeErrorNotify(HWND, short handle, DWORD flags)
{
    Log("TavroErrorNotify", Format("%d, %ld", handle, static_cast<long>(flags)));
    return 0;
}

short FakeTranslateError(short code, char* buffer, short size)
{
    snprintf(buffer, size, "fake error %d", code);
    return 0;
}

short FakeReset(short handle, short mode)
{
    Log("TavroReset", Format("%d, %d", handle, mode));
    return 0;
}

short FakeSelectController(HWND, short currentId, long, long)
{
    Log("TavroDLG_SelectController", Format("%d", currentId));
    FakeController& f = Fake();
    if (f.selections.empty())
        return -1;
    short id = f.selections.front();
    f.selections.erase(f.selections.begin());
    return id;
}

short FakeRestoreAxis(short handle, short axis, long flags, const char*)
{
    Log("TavroDLG_RestoreAxis", Format("%d, %d, %ld", handle, axis, flags));
    return 0;
}

short FakeModuleDesc(long type, long, char* buffer, long size)
{
    snprintf(buffer, size, "Module%ld", type);
    return 0;
}

} // namespace

double FakeController::CaptureSample(short axis, short kind, long index) const
{
    // A recognisable pattern: actual rises by 1 a sample from the target,
    // optimal by 2, auxiliary by 3; torque is the index.
    const FakeAxis& a = axes[axis];
    switch (kind) {
    case TAVRO_CAPTURE_KIND_ACTUAL:
        return a.target + (index + 1);
    case TAVRO_CAPTURE_KIND_OPTIMAL:
        return a.target + 2.0 * (index + 1);
    case TAVRO_CAPTURE_KIND_TORQUE:
        return static_cast<double>(index);
    case TAVRO_CAPTURE_KIND_AUX:
        return a.auxiliary + 3.0 * (index + 1);
    default:
        return 0.0;
    }
}

FakeController& Fake()
{
    static FakeController fake;
    return fake;
}

void InstallFakeController()
{
    ASSERT_EQ(BindTavroApi(), 0);
    ASSERT_EQ(BindTavroDialogs(), 0);
    g_fake = &Fake();
    TavroBindingTable& t = g_tavro;
    t.TavroOpen = FakeOpen;
    t.TavroClose = FakeClose;
    t.TavroGetConfigurationEx = FakeGetConfigurationEx;
    t.TavroGetConfiguration = FakeGetConfiguration;
    t.TavroGetAxisConfiguration = FakeGetAxisConfiguration;
    t.TavroGetMotionConfig = FakeGetMotionConfig;
    t.TavroSetMotionConfig = FakeSetMotionConfig;
    t.TavroGetFilterConfig = FakeGetFilterConfig;
    t.TavroSetFilterConfig = FakeSetFilterConfig;
    t.TavroGetScale = FakeGetScale;
    t.TavroSetScale = FakeSetScale;
    t.TavroGetProfile = FakeGetProfile;
    t.TavroSetProfile = FakeSetProfile;
    t.TavroGetServoOutputPhase = FakeGetShort;
    t.TavroSetServoOutputPhase = FakeSetPhase;
    t.TavroGetModuleOutputMode = FakeGetShort;
    t.TavroSetModuleOutputMode = FakeSetOutputMode;
    t.TavroGetPositionEx = FakeGetPosition;
    t.TavroSetPosition = FakeSetPosition;
    t.TavroGetTargetEx = FakeGetTarget;
    t.TavroGetOptimalEx = FakeGetOptimal;
    t.TavroGetAuxEncPosEx = FakeGetAux;
    t.TavroSetOperatingMode = FakeSetOperatingMode;
    t.TavroEnableGearing = FakeEnableGearing;
    t.TavroSetRegister = FakeSetRegister;
    t.TavroCaptureData = FakeCaptureData;
    t.TavroBlockBegin = FakeBlockBegin;
    t.TavroBlockEnd = FakeBlockEnd;
    t.qorcmdex = FakeRaw;
    t.TavroMoveRelative = FakeMoveRelative;
    t.TavroWaitForStop = FakeWaitForStop;
    t.TavroGetCaptureData = FakeGetCaptureData;
    t.TavroGetGain = FakeGetGain;
    t.TavroSetGain = FakeSetGain;
    t.TavroGetStatus = FakeGetStatus;
    t.TavroDecodeStatus = FakeDecodeStatus;
    t.TavroEnableAxis = FakeEnableAxis;
    t.TavroErrorNotify = FakeErrorNotify;
    t.TavroTranslateErrorEx = FakeTranslateError;
    t.TavroReset = FakeReset;
    t.TavroDLG_SelectController = FakeSelectController;
    t.TavroDLG_RestoreAxis = FakeRestoreAxis;
    t.TavroDLG_ModuleDescEx = FakeModuleDesc;
}

std::vector<std::string> LoggedCalls(const std::vector<std::string>& names)
{
    std::vector<std::string> result;
    for (const std::string& line : Fake().log) {
        std::string name = line.substr(0, line.find('('));
        for (const std::string& wanted : names) {
            if (name == wanted) {
                result.push_back(line);
                break;
            }
        }
    }
    return result;
}
