// Save and restore of axis settings: motion, servo loop, profile and scale of
// every axis, one section per axis in the controller's store.
#include <cstdio>
#include <vector>

#include "exports.h"
#include "library.h"
#include "settings_store.h"

namespace {

struct DoubleKey {
    const char* key;
    double* value;
};

// Everything of one axis that the store keeps.
struct AxisRecord {
    short axis;
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    TavroScale scale;
    short profile;
    bool hasFilter;
    bool hasScale;
    bool hasProfile;
};

std::vector<DoubleKey> MotionKeys(TavroMotionConfig& m)
{
    return {{"Velocity", &m.velocity},
            {"Acceleration", &m.acceleration},
            {"Deceleration", &m.deceleration},
            {"ProportionalGain", &m.proportionalGain},
            {"MaxTorque", &m.maxTorque}};
}

std::vector<DoubleKey> FilterKeys(TavroFilterConfig& f)
{
    return {{"DerivativeGain", &f.derivativeGain},     {"DerivativePeriod", &f.derivativePeriod},
            {"IntegralGain", &f.integralGain},         {"IntegrationLimit", &f.integrationLimit},
            {"VelocityGain", &f.velocityGain},         {"MaxFollowingError", &f.maxFollowingError}};
}

std::vector<DoubleKey> ScaleKeys(TavroScale& s)
{
    return {{"EncoderScale", &s.encoderScale},   {"AuxEncoderScale", &s.auxEncoderScale},
            {"OutputScale", &s.outputScale},     {"PositionScale", &s.positionScale},
            {"VelocityScale", &s.velocityScale}, {"TimeScale", &s.timeScale}};
}

void SectionName(short axis, char* name, size_t size)
{
    snprintf(name, size, "Axis %d", axis);
}

// The controller id and the axes an operation covers (axis 0: all).
short ResolveAxes(short handle, short axis, short* controllerId, short* first, short* last)
{
    TavroControllerConfig config;
    short status = ReadControllerOfHandle(handle, controllerId, &config);
    if (status != TAVRO_OK)
        return status;
    if (axis < 0 || axis > config.axisCount)
        return TAVRO_ERR_BAD_AXIS;
    *first = axis == 0 ? 1 : axis;
    *last = axis == 0 ? static_cast<short>(config.axisCount) : axis;
    return TAVRO_OK;
}

short ReadAxisRecord(short handle, short axis, AxisRecord* record)
{
    *record = AxisRecord{};
    record->axis = axis;
    short status = TavroGetMotionConfig(handle, axis, &record->motion);
    if (status != TAVRO_OK)
        return status;
    record->hasFilter = ReadServoFilter(handle, axis, &record->filter);
    record->hasProfile = TavroGetProfile(handle, axis, &record->profile) == TAVRO_OK;
    record->hasScale = TavroGetScale(handle, axis, &record->scale) == TAVRO_OK;
    return TAVRO_OK;
}

StoredSection SectionOf(AxisRecord record)
{
    StoredSection values;
    for (const DoubleKey& key : MotionKeys(record.motion))
        values[key.key] = StoredDouble(*key.value);
    values["UpdateRate"] = StoredInt(record.motion.updateRate);
    if (record.hasProfile)
        values["Profile"] = StoredInt(record.profile);
    if (record.hasFilter) {
        for (const DoubleKey& key : FilterKeys(record.filter))
            values[key.key] = StoredDouble(*key.value);
    }
    if (record.hasScale) {
        for (const DoubleKey& key : ScaleKeys(record.scale))
            values[key.key] = StoredDouble(*key.value);
    }
    return values;
}

// Reads a group of keys: all of them or, when `optional`, none. `bad` names
// the first key that spoils the group.
bool ParseGroup(const StoredSection& values, const std::vector<DoubleKey>& keys, bool optional,
                bool* present, const char** bad)
{
    size_t found = 0;
    for (const DoubleKey& key : keys)
        found += values.count(key.key);
    *present = found > 0;
    if (found == 0 && optional)
        return true;
    for (const DoubleKey& key : keys) {
        if (!ParseStoredDouble(values, key.key, key.value)) {
            *bad = key.key;
            return false;
        }
    }
    return true;
}

// Puts the stored values over the controller's present record, so bytes the
// store does not keep stay as the controller has them. False names the bad key.
bool ParseAxisSection(const StoredSection& values, AxisRecord* record, const char** bad)
{
    bool present = false;
    if (!ParseGroup(values, MotionKeys(record->motion), false, &present, bad))
        return false;
    long number = 0;
    if (!ParseStoredInt(values, "UpdateRate", &number) ||
        (number != TAVRO_RATE_LOW && number != TAVRO_RATE_MED && number != TAVRO_RATE_HIGH)) {
        *bad = "UpdateRate";
        return false;
    }
    record->motion.updateRate = static_cast<int16_t>(number);
    if (values.count("Profile")) {
        if (!ParseStoredInt(values, "Profile", &number) ||
            (number != TAVRO_PROFILE_TRAPEZOIDAL && number != TAVRO_PROFILE_SCURVE &&
             number != TAVRO_PROFILE_PARABOLIC)) {
            *bad = "Profile";
            return false;
        }
        record->profile = static_cast<short>(number);
    } else {
        record->hasProfile = false;
    }
    TavroFilterConfig filter = record->filter;
    if (!ParseGroup(values, FilterKeys(filter), true, &present, bad))
        return false;
    if (present && record->hasFilter)
        record->filter = filter;
    else
        record->hasFilter = false;
    TavroScale scale = record->scale;
    if (!ParseGroup(values, ScaleKeys(scale), true, &present, bad))
        return false;
    if (present && scale.positionScale == 0.0) {
        *bad = "PositionScale";
        return false;
    }
    if (present && record->hasScale)
        record->scale = scale;
    else
        record->hasScale = false;
    return true;
}

short WriteAxisRecord(short handle, AxisRecord record)
{
    short status = TavroSetMotionConfig(handle, record.axis, &record.motion);
    if (status == TAVRO_OK && record.hasFilter)
        status = TavroSetFilterConfig(handle, record.axis, &record.filter);
    if (status == TAVRO_OK && record.hasProfile)
        status = TavroSetProfile(handle, record.axis, record.profile);
    if (status == TAVRO_OK && record.hasScale)
        status = TavroSetScale(handle, record.axis, &record.scale);
    return status;
}

} // namespace

extern "C" short TavroDLG_SaveAxis(short handle, short axis, long /*flags*/, const char* file)
{
    short controllerId = -1, first = 0, last = -1;
    short status = ResolveAxes(handle, axis, &controllerId, &first, &last);
    if (status != TAVRO_OK)
        return status;
    std::vector<AxisRecord> records;
    for (short a = first; a <= last; ++a) {
        AxisRecord record;
        status = ReadAxisRecord(handle, a, &record);
        if (status != TAVRO_OK)
            return status;
        records.push_back(record);
    }
    char path[MAX_PATH] = "";
    if (!StorePath(file, controllerId, path, sizeof path)) {
        ReportUnwritableStore("");
        return TAVRO_ERR_DRIVER;
    }
    for (const AxisRecord& record : records) {
        char section[32];
        SectionName(record.axis, section, sizeof section);
        if (!WriteStoredSection(path, section, SectionOf(record))) {
            ReportUnwritableStore(path);
            return TAVRO_ERR_DRIVER;
        }
    }
    return TAVRO_OK;
}

// Every stored axis is checked before the first one is written; an axis with
// nothing stored keeps its settings. A refused write puts back what was
// already changed.
extern "C" short TavroDLG_RestoreAxis(short handle, short axis, long /*flags*/, const char* file)
{
    short controllerId = -1, first = 0, last = -1;
    short status = ResolveAxes(handle, axis, &controllerId, &first, &last);
    if (status != TAVRO_OK)
        return status;
    char path[MAX_PATH];
    if (!StorePath(file, controllerId, path, sizeof path))
        return TAVRO_ERR_DRIVER;

    std::vector<AxisRecord> originals, restored;
    for (short a = first; a <= last; ++a) {
        char section[32];
        SectionName(a, section, sizeof section);
        StoredSection values;
        if (!ReadStoredSection(path, section, &values) || values.empty())
            continue;
        AxisRecord record;
        status = ReadAxisRecord(handle, a, &record);
        if (status != TAVRO_OK)
            return status;
        originals.push_back(record);
        const char* bad = "";
        if (!ParseAxisSection(values, &record, &bad)) {
            ReportDamagedStore(path, section, bad);
            return TAVRO_ERR_BAD_ARGUMENT;
        }
        restored.push_back(record);
    }

    for (size_t i = 0; i < restored.size(); ++i) {
        status = WriteAxisRecord(handle, restored[i]);
        if (status != TAVRO_OK) {
            for (size_t j = 0; j <= i; ++j)
                WriteAxisRecord(handle, originals[j]);
            return status;
        }
    }
    return TAVRO_OK;
}
