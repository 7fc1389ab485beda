// Configuration queries and the per-axis settings records.
#include <cmath>
#include <cstring>

#include "exports.h"
#include "simulator.h"

namespace {

// Copies bytes 4 up to the caller's size (at most `full`) of a sized record;
// with no source the same bytes are zeroed.
void FillSized(void* record, const void* source, size_t full)
{
    uint32_t size = 0;
    std::memcpy(&size, record, sizeof size);
    size_t end = size < full ? size : full;
    if (end <= 4)
        return;
    unsigned char* out = static_cast<unsigned char*>(record) + 4;
    if (source)
        std::memcpy(out, static_cast<const unsigned char*>(source) + 4, end - 4);
    else
        std::memset(out, 0, end - 4);
}

bool Finite(double v) { return std::isfinite(v); }

bool ValidGain(double g) { return Finite(g) && g >= 0.0 && g <= 32767.0; }

bool ValidMotion(const TavroMotionConfig& m)
{
    bool rate = m.updateRate == TAVRO_RATE_LOW || m.updateRate == TAVRO_RATE_MED || m.updateRate == TAVRO_RATE_HIGH;
    return rate && Finite(m.acceleration) && m.acceleration > 0.0 && Finite(m.deceleration)
        && m.deceleration > 0.0 && Finite(m.velocity) && m.velocity >= 0.0 && ValidGain(m.proportionalGain)
        && Finite(m.maxTorque) && m.maxTorque > 0.0 && m.maxTorque <= 10.0;
}

bool ValidFilter(const TavroFilterConfig& f)
{
    return ValidGain(f.derivativeGain) && ValidGain(f.integralGain) && Finite(f.derivativePeriod)
        && f.derivativePeriod > 0.0 && f.derivativePeriod <= 1.0 && Finite(f.integrationLimit)
        && f.integrationLimit >= 0.0 && Finite(f.velocityGain) && f.velocityGain >= 0.0
        && f.velocityGain <= 32767.0 && Finite(f.maxFollowingError) && f.maxFollowingError >= 0.0;
}

bool ValidProfile(short p)
{
    return p == TAVRO_PROFILE_TRAPEZOIDAL || p == TAVRO_PROFILE_SCURVE || p == TAVRO_PROFILE_PARABOLIC;
}

bool ValidScale(const TavroScale& s)
{
    const double values[] = {s.encoderScale, s.auxEncoderScale, s.outputScale, s.positionScale, s.velocityScale,
                             s.timeScale};
    for (double v : values) {
        if (!Finite(v))
            return false;
    }
    return UsableScale(s.positionScale);
}

void ControllerRecord(const ControllerHardware& hardware, TavroControllerConfig* r)
{
    std::memset(r, 0, sizeof *r);
    r->size = sizeof *r;
    r->controllerType = hardware.type;
    r->axisCount = static_cast<int32_t>(hardware.axes.size());
    r->moduleSlots = static_cast<int32_t>(hardware.modules.size());
    r->flags = hardware.flags;
    r->digitalChannels = hardware.digitalChannels;
    r->analogInputs = hardware.analogInputs;
    r->analogOutputs = hardware.analogOutputs;
    if (hardware.reportAnalog) {
        r->analogInMin = hardware.analogInMin;
        r->analogInMax = hardware.analogInMax;
        r->analogInBits = hardware.analogInBits;
        r->analogOutMin = hardware.analogOutMin;
        r->analogOutMax = hardware.analogOutMax;
        r->analogOutBits = hardware.analogOutBits;
    }
}

void AxisRecord(const AxisHardware& hw, TavroAxisConfig* r)
{
    std::memset(r, 0, sizeof *r);
    r->size = sizeof *r;
    r->moduleType = hw.moduleType;
    r->axisFlags = hw.servo ? TAVRO_AXIS_SERVO : 0;
    r->captureFlags = hw.captureFlags;
    r->captureBufferSize = hw.captureFlags ? hw.bufferSize : 0;
    r->samplePeriodHigh = hw.samplePeriod[0];
    r->samplePeriodMed = hw.samplePeriod[1];
    r->samplePeriodLow = hw.samplePeriod[2];
}

// A getter of one of an axis's settings.
template <typename Record, typename Getter>
short GetAxisRecord(short handle, short axis, Record* out, Getter field)
{
    return ReadAxisValue(handle, axis, out, [&](const AxisModel& a) { return field(a.Settings()); });
}

} // namespace

extern "C" short TavroGetConfiguration(short handle, TavroBasicConfig* config)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_ARGUMENT;
    if (config) {
        std::memset(config, 0, sizeof *config);
        result = TAVRO_ERR_BAD_HANDLE;
        if (Controller* c = ControllerOfHandle(handle)) {
            config->controllerType = c->hardware.type;
            config->axisCount = static_cast<int16_t>(c->hardware.axes.size());
            result = TAVRO_OK;
        }
    }
    EndCall("TavroGetConfiguration", result, "%d, %s", handle, Traced(config).text);
    return result;
}

extern "C" short TavroGetConfigurationEx(short handle, TavroControllerConfig* config)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_ARGUMENT;
    if (config) {
        result = TAVRO_ERR_BAD_HANDLE;
        TavroControllerConfig full;
        Controller* c = ControllerOfHandle(handle);
        if (c) {
            ControllerRecord(c->hardware, &full);
            result = TAVRO_OK;
        }
        FillSized(config, c ? &full : nullptr, sizeof full);
    }
    EndCall("TavroGetConfigurationEx", result, "%d, %s", handle, Traced(config).text);
    return result;
}

extern "C" short TavroGetAxisConfiguration(short handle, short axis, TavroAxisConfig* config)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_ARGUMENT;
    if (config) {
        Controller* c;
        AxisModel* a;
        result = AxisStatus(handle, axis, &c, &a);
        TavroAxisConfig full;
        if (a)
            AxisRecord(a->Hardware(), &full);
        FillSized(config, a ? &full : nullptr, sizeof full);
    }
    EndCall("TavroGetAxisConfiguration", result, "%d, %d, %s", handle, axis, Traced(config).text);
    return result;
}

extern "C" short TavroGetInstalledModules(short handle, int32_t* modules, short slotCount)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_ARGUMENT;
    if (modules && slotCount > 0) {
        Controller* c = ControllerOfHandle(handle);
        for (short i = 0; i < slotCount; ++i) {
            if (!c)
                modules[i] = 0;
            else if (i < static_cast<short>(c->hardware.modules.size()))
                modules[i] = c->hardware.modules[static_cast<size_t>(i)];
            else
                modules[i] = TAVRO_MODULE_EMPTY;
        }
        result = c ? TAVRO_OK : TAVRO_ERR_BAD_HANDLE;
    }
    EndCall("TavroGetInstalledModules", result, "%d, %s, %d", handle, TracedValues(modules, slotCount).text,
            slotCount);
    return result;
}

extern "C" short TavroGetMotionConfig(short handle, short axis, TavroMotionConfig* config)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, config, [](const AxisSettings& s) { return s.motion; });
    EndCall("TavroGetMotionConfig", result, "%d, %d, %s", handle, axis, Traced(config).text);
    return result;
}

extern "C" short TavroSetMotionConfig(short handle, short axis, TavroMotionConfig* config)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, config && ValidMotion(*config),
                              [&](AxisModel& a) { a.Settings().motion = *config; });
    EndCall("TavroSetMotionConfig", result, "%d, %d, %s", handle, axis, Traced(config).text);
    return result;
}

extern "C" short TavroGetFilterConfig(short handle, short axis, TavroFilterConfig* config)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, config, [](const AxisSettings& s) { return s.filter; });
    EndCall("TavroGetFilterConfig", result, "%d, %d, %s", handle, axis, Traced(config).text);
    return result;
}

extern "C" short TavroSetFilterConfig(short handle, short axis, TavroFilterConfig* config)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, config && ValidFilter(*config),
                              [&](AxisModel& a) { a.Settings().filter = *config; });
    EndCall("TavroSetFilterConfig", result, "%d, %d, %s", handle, axis, Traced(config).text);
    return result;
}

extern "C" short TavroGetScale(short handle, short axis, TavroScale* scale)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, scale, [](const AxisSettings& s) { return s.scale; });
    EndCall("TavroGetScale", result, "%d, %d, %s", handle, axis, Traced(scale).text);
    return result;
}

extern "C" short TavroSetScale(short handle, short axis, TavroScale* scale)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, scale && ValidScale(*scale),
                              [&](AxisModel& a) { a.Settings().scale = *scale; });
    EndCall("TavroSetScale", result, "%d, %d, %s", handle, axis, Traced(scale).text);
    return result;
}

extern "C" short TavroGetProfile(short handle, short axis, short* profile)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, profile, [](const AxisSettings& s) { return s.profile; });
    EndCall("TavroGetProfile", result, "%d, %d, %s", handle, axis, Traced(profile).text);
    return result;
}

extern "C" short TavroSetProfile(short handle, short axis, short profile)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, ValidProfile(profile),
                              [&](AxisModel& a) { a.Settings().profile = profile; });
    EndCall("TavroSetProfile", result, "%d, %d, %d", handle, axis, profile);
    return result;
}

extern "C" short TavroGetServoOutputPhase(short handle, short axis, short* phase)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, phase, [](const AxisSettings& s) { return s.outputPhase; });
    EndCall("TavroGetServoOutputPhase", result, "%d, %d, %s", handle, axis, Traced(phase).text);
    return result;
}

extern "C" short TavroSetServoOutputPhase(short handle, short axis, short phase)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, phase == 0 || phase == 1,
                              [&](AxisModel& a) { a.Settings().outputPhase = phase; });
    EndCall("TavroSetServoOutputPhase", result, "%d, %d, %d", handle, axis, phase);
    return result;
}

extern "C" short TavroGetModuleOutputMode(short handle, short axis, short* mode)
{
    SimGuard guard;
    short result = GetAxisRecord(handle, axis, mode, [](const AxisSettings& s) { return s.outputMode; });
    EndCall("TavroGetModuleOutputMode", result, "%d, %d, %s", handle, axis, Traced(mode).text);
    return result;
}

extern "C" short TavroSetModuleOutputMode(short handle, short axis, short mode)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, mode >= 0 && mode <= 15,
                              [&](AxisModel& a) { a.Settings().outputMode = mode; });
    EndCall("TavroSetModuleOutputMode", result, "%d, %d, %d", handle, axis, mode);
    return result;
}

extern "C" short TavroGetGain(short handle, short axis, double* gain)
{
    SimGuard guard;
    short result =
        GetAxisRecord(handle, axis, gain, [](const AxisSettings& s) { return s.motion.proportionalGain; });
    EndCall("TavroGetGain", result, "%d, %d, %s", handle, axis, Traced(gain).text);
    return result;
}

extern "C" short TavroSetGain(short handle, short axis, double gain)
{
    SimGuard guard;
    short result = ChangeAxis(handle, axis, ValidGain(gain),
                              [&](AxisModel& a) { a.Settings().motion.proportionalGain = gain; });
    EndCall("TavroSetGain", result, "%d, %d, %g", handle, axis, gain);
    return result;
}
