// One analog input or output of the controller.
#include "analog_channel.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "app_data_base.h"
#include "ini_file.h"
#include "strict_ini.h"
#include "tavro_binding.h"

namespace {

const double kOneOver2048 = 0.00048828125;

double CountsToPlusMinus10V(double counts)
{
    return (counts - 2047.0) * kOneOver2048 * 10.0;
}

double CountsTo0To5V(double counts)
{
    return counts / kMaxOutputCounts * 5.0;
}

} // namespace

double VoltsPerCount(double span, int bits)
{
    if (bits < 1 || bits > 30)
        bits = kDefaultResolutionBits;
    return span / (std::ldexp(1.0, bits) - 1.0);
}

AnalogChannel::AnalogChannel(short handle, int channelNumber, bool isInput)
    : channelNumber_(channelNumber),
      displayMode_(isInput ? MODE_VOLTS : MODE_0_TO_5V),
      handle_(handle),
      isInput_(isInput)
{
}

bool AnalogChannel::IsLive() const
{
    if (handle_ <= 0)
        return false;
    return !connection_ || connection_->Handle() == handle_;
}

double AnalogChannel::Read() const
{
    if (isInput_) {
        long raw = IsLive() ? g_tavro.TavroGetAnalog(handle_, static_cast<short>(channelNumber_))
                            : 0;
        double counts = static_cast<unsigned short>(raw);
        switch (displayMode_) {
        case MODE_VOLTS:
            return counts * voltsPerCount_ + voltsOffset_;
        case MODE_USER_UNITS:
            return (counts * voltsPerCount_ + voltsOffset_) * userFactor_ + userOffset_;
        default:
            return counts;
        }
    }
    switch (displayMode_) {
    case MODE_0_TO_5V:
        return CountsTo0To5V(outputCounts_);
    case MODE_PLUS_MINUS_10V:
        return CountsToPlusMinus10V(outputCounts_);
    default:
        return outputCounts_;
    }
}

void AnalogChannel::Write(double value, int mode)
{
    if (isInput_)
        return;
    if (mode == 0)
        mode = displayMode_;
    double counts;
    switch (mode) {
    case MODE_0_TO_5V:
        counts = value / 5.0 * kMaxOutputCounts;
        break;
    case MODE_PLUS_MINUS_10V:
        counts = value / 10.0 * 2048.0 + 2047.0;
        break;
    default:
        counts = value;
        break;
    }
    SendCounts(counts);
}

void AnalogChannel::SendCounts(double counts)
{
    // With its controller closed nothing is sent, so nothing is recorded.
    if (!IsLive())
        return;
    // The converter takes 0 to 4095; anything else (or no number) is limited.
    if (!(counts >= 0.0))
        counts = 0.0;
    if (counts > kMaxOutputCounts)
        counts = kMaxOutputCounts;
    outputCounts_ = counts;
    countsKnown_ = true;
    g_tavro.TavroSetAnalog(handle_, static_cast<short>(channelNumber_), static_cast<long>(counts));
}

void AnalogChannel::Format(char* buffer, size_t size, bool withUnit, int mode) const
{
    if (!buffer || size == 0)
        return;
    if (mode == 0)
        mode = displayMode_;
    const char* format = "%5.0f %s";
    const char* unit = "Counts";
    double value;
    if (isInput_) {
        value = Read();
        if (displayMode_ == MODE_VOLTS) {
            format = "%+3.3f %s";
            unit = "V";
        } else if (displayMode_ == MODE_USER_UNITS) {
            format = "%+3.3f %s";
            unit = unitsLabel_.c_str();
        }
    } else if (mode == MODE_0_TO_5V) {
        format = "%3.3f %s";
        unit = "V";
        value = CountsTo0To5V(outputCounts_);
    } else if (mode == MODE_PLUS_MINUS_10V) {
        format = "%3.3f %s";
        unit = "V";
        value = CountsToPlusMinus10V(outputCounts_);
    } else {
        value = outputCounts_;
    }
    snprintf(buffer, size, format, value, withUnit ? unit : "");
}

void AnalogChannel::SectionName(int controllerId, char* buffer, size_t size) const
{
    snprintf(buffer, size, isInput_ ? "Analog Input %d:%d" : "Analog Output %d:%d", controllerId,
             channelNumber_);
}

void AnalogChannel::Save(int controllerId, const char* path) const
{
    char section[64];
    SectionName(controllerId, section, sizeof section);
    if (isInput_) {
        WriteIniDouble(section, "Factor", userFactor_, path);
        WriteIniDouble(section, "Offset", userOffset_, path);
        WritePrivateProfileStringA(section, "Units", unitsLabel_.c_str(), path);
    } else if (countsKnown_) {
        WriteIniDouble(section, "OutputCounts", outputCounts_, path);
    }
    // Loading a configured output drives it, so only a known level is marked.
    if (isInput_ || countsKnown_)
        WriteIniBool(section, "Configured", true, path);
    WriteIniInt(section, "DisplayMode", displayMode_, path);
}

void AnalogChannel::Load(int controllerId, const char* path)
{
    char section[64];
    SectionName(controllerId, section, sizeof section);
    // The display mode is stored even for an output whose level is not.
    const bool configured = ReadIniBool(section, "Configured", false, path);
    displayMode_ = static_cast<int>(GetPrivateProfileIntA(
        section, "DisplayMode", configured ? MODE_DAC_COUNTS : displayMode_, path));
    if (!configured)
        return;
    if (isInput_) {
        userFactor_ = ReadIniFiniteDouble(section, "Factor", 1.0, path);
        userOffset_ = ReadIniFiniteDouble(section, "Offset", 0.0, path);
        char label[256];
        GetPrivateProfileStringA(section, "Units", " *** ", label, sizeof label, path);
        unitsLabel_ = label;
    } else {
        SendCounts(ReadIniFiniteDouble(section, "OutputCounts", kDefaultOutputCounts, path));
    }
}
