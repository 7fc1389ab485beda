// Reading and writing the motion, filter and profile of one axis.
#include <cstring>

#include "library.h"

namespace {

// The filter settings of a servo axis; false for any other axis.
bool ReadServoFilter(short handle, short axis, TavroFilterConfig* filter)
{
    TavroAxisConfig config = {};
    config.size = sizeof config;
    return TavroGetAxisConfiguration(handle, axis, &config) == TAVRO_OK &&
           (config.axisFlags & TAVRO_AXIS_SERVO) != 0 && TavroGetFilterConfig(handle, axis, filter) == TAVRO_OK;
}

// The setters take their record by non-const pointer: each gets a copy.
short SetMotion(short handle, short axis, TavroMotionConfig motion)
{
    return TavroSetMotionConfig(handle, axis, &motion);
}

short SetFilter(short handle, short axis, TavroFilterConfig filter)
{
    return TavroSetFilterConfig(handle, axis, &filter);
}

} // namespace

short ReadAxisSettings(short handle, short axis, AxisSettings* settings)
{
    *settings = AxisSettings{};
    short status = TavroGetMotionConfig(handle, axis, &settings->motion);
    if (status != TAVRO_OK)
        return status;
    settings->hasFilter = ReadServoFilter(handle, axis, &settings->filter);
    settings->hasProfile = TavroGetProfile(handle, axis, &settings->profile) == TAVRO_OK;
    return TAVRO_OK;
}

short WriteAxisSettings(short handle, short axis, const AxisSettings& original, const AxisSettings& next)
{
    bool motionWritten = false, filterWritten = false;
    short status = TAVRO_OK;
    if (memcmp(&next.motion, &original.motion, sizeof next.motion) != 0) {
        status = SetMotion(handle, axis, next.motion);
        motionWritten = status == TAVRO_OK;
    }
    if (status == TAVRO_OK && next.hasFilter && memcmp(&next.filter, &original.filter, sizeof next.filter) != 0) {
        status = SetFilter(handle, axis, next.filter);
        filterWritten = status == TAVRO_OK;
    }
    if (status == TAVRO_OK && next.hasProfile && next.profile != original.profile)
        status = TavroSetProfile(handle, axis, next.profile);
    if (status != TAVRO_OK) {
        if (motionWritten)
            SetMotion(handle, axis, original.motion);
        if (filterWritten)
            SetFilter(handle, axis, original.filter);
    }
    return status;
}
