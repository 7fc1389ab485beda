// Save and restore of axis settings: motion, servo loop, profile and scale of
// every axis, one section per axis in the controller's store.
#include <cstdio>
#include <cstring>
#include <vector>

#include "exports.h"
#include "library.h"
#include "settings_store.h"

namespace {

struct KeyGroup {
    const NamedDouble* keys;
    size_t count;
};

const NamedDouble kMotionKeys[] = {{"Velocity", offsetof(TavroMotionConfig, velocity)},
                                 {"Acceleration", offsetof(TavroMotionConfig, acceleration)},
                                 {"Deceleration", offsetof(TavroMotionConfig, deceleration)},
                                 {"ProportionalGain", offsetof(TavroMotionConfig, proportionalGain)},
                                 {"MaxTorque", offsetof(TavroMotionConfig, maxTorque)}};
const NamedDouble kFilterKeys[] = {{"DerivativeGain", offsetof(TavroFilterConfig, derivativeGain)},
                                 {"DerivativePeriod", offsetof(TavroFilterConfig, derivativePeriod)},
                                 {"IntegralGain", offsetof(TavroFilterConfig, integralGain)},
                                 {"IntegrationLimit", offsetof(TavroFilterConfig, integrationLimit)},
                                 {"VelocityGain", offsetof(TavroFilterConfig, velocityGain)},
                                 {"MaxFollowingError", offsetof(TavroFilterConfig, maxFollowingError)}};
const NamedDouble kScaleKeys[] = {{"EncoderScale", offsetof(TavroScale, encoderScale)},
                                {"AuxEncoderScale", offsetof(TavroScale, auxEncoderScale)},
                                {"OutputScale", offsetof(TavroScale, outputScale)},
                                {"PositionScale", offsetof(TavroScale, positionScale)},
                                {"VelocityScale", offsetof(TavroScale, velocityScale)},
                                {"TimeScale", offsetof(TavroScale, timeScale)}};
const KeyGroup kMotionGroup = {kMotionKeys, sizeof kMotionKeys / sizeof kMotionKeys[0]};
const KeyGroup kFilterGroup = {kFilterKeys, sizeof kFilterKeys / sizeof kFilterKeys[0]};
const KeyGroup kScaleGroup = {kScaleKeys, sizeof kScaleKeys / sizeof kScaleKeys[0]};

// Everything of one axis that the store keeps.
struct AxisRecord {
    short axis;
    AxisSettings settings;
    TavroScale scale;
    bool hasScale;
};

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
    short status = ReadAxisSettings(handle, axis, &record->settings);
    if (status != TAVRO_OK)
        return status;
    record->hasScale = TavroGetScale(handle, axis, &record->scale) == TAVRO_OK;
    return TAVRO_OK;
}

void StoreGroup(const void* record, const KeyGroup& group, StoredSection* values)
{
    for (size_t i = 0; i < group.count; ++i)
        (*values)[group.keys[i].name] = StoredDouble(RecordDouble(record, group.keys[i].offset));
}

StoredSection SectionOf(const AxisRecord& record)
{
    const AxisSettings& settings = record.settings;
    StoredSection values;
    StoreGroup(&settings.motion, kMotionGroup, &values);
    values["UpdateRate"] = StoredInt(settings.motion.updateRate);
    if (settings.hasProfile)
        values["Profile"] = StoredInt(settings.profile);
    if (settings.hasFilter)
        StoreGroup(&settings.filter, kFilterGroup, &values);
    if (record.hasScale)
        StoreGroup(&record.scale, kScaleGroup, &values);
    return values;
}

// Reads a group of keys: all of them or, when `optional`, none. `bad` names
// the first key that spoils the group.
bool ParseGroup(const StoredSection& values, const KeyGroup& group, void* record, bool optional, bool* present,
                const char** bad)
{
    size_t found = 0;
    for (size_t i = 0; i < group.count; ++i)
        found += values.count(group.keys[i].name);
    *present = found > 0;
    if (found == 0 && optional)
        return true;
    for (size_t i = 0; i < group.count; ++i) {
        const NamedDouble& key = group.keys[i];
        double value = 0.0;
        if (!ParseStoredDouble(values, key.name, &value)) {
            *bad = key.name;
            return false;
        }
        SetRecordDouble(record, key.offset, value);
    }
    return true;
}

// Puts the stored values over the controller's present record, so bytes the
// store does not keep stay as the controller has them. False names the bad key.
bool ParseAxisSection(const StoredSection& values, AxisRecord* record, const char** bad)
{
    AxisSettings& settings = record->settings;
    bool present = false;
    if (!ParseGroup(values, kMotionGroup, &settings.motion, false, &present, bad))
        return false;
    long number = 0;
    if (!ParseStoredInt(values, "UpdateRate", &number) ||
        (number != TAVRO_RATE_LOW && number != TAVRO_RATE_MED && number != TAVRO_RATE_HIGH)) {
        *bad = "UpdateRate";
        return false;
    }
    settings.motion.updateRate = static_cast<int16_t>(number);
    if (values.count("Profile")) {
        if (!ParseStoredInt(values, "Profile", &number) ||
            (number != TAVRO_PROFILE_TRAPEZOIDAL && number != TAVRO_PROFILE_SCURVE &&
             number != TAVRO_PROFILE_PARABOLIC)) {
            *bad = "Profile";
            return false;
        }
        settings.profile = static_cast<short>(number);
    } else {
        settings.hasProfile = false;
    }
    TavroFilterConfig filter = settings.filter;
    if (!ParseGroup(values, kFilterGroup, &filter, true, &present, bad))
        return false;
    if (present && settings.hasFilter)
        settings.filter = filter;
    else
        settings.hasFilter = false;
    TavroScale scale = record->scale;
    if (!ParseGroup(values, kScaleGroup, &scale, true, &present, bad))
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

// Writes what differs from `from`; a refused part is put back as in `from`.
short WriteAxisRecord(short handle, const AxisRecord& from, const AxisRecord& to)
{
    short status = WriteAxisSettings(handle, to.axis, from.settings, to.settings);
    if (status == TAVRO_OK && to.hasScale && memcmp(&to.scale, &from.scale, sizeof to.scale) != 0) {
        TavroScale scale = to.scale;
        status = TavroSetScale(handle, to.axis, &scale);
        if (status != TAVRO_OK)
            WriteAxisSettings(handle, to.axis, to.settings, from.settings);
    }
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
        status = WriteAxisRecord(handle, originals[i], restored[i]);
        if (status != TAVRO_OK) {
            for (size_t j = 0; j < i; ++j)
                WriteAxisRecord(handle, restored[j], originals[j]);
            return status;
        }
    }
    return TAVRO_OK;
}
