// One analog input or output of the controller: display mode, conversions
// between converter counts, volts and user units, and its drevalon.ini section.
#ifndef PELLOVIN_ANALOG_CHANNEL_H
#define PELLOVIN_ANALOG_CHANNEL_H

#include <cstddef>
#include <string>

class AppDataBase;

// Display modes; the ids of the set-up dialogs' radio buttons, stored as is.
enum {
    MODE_VOLTS = 1221,
    MODE_ADC_COUNTS = 1222,
    MODE_USER_UNITS = 1223,
    MODE_0_TO_5V = 1230,
    MODE_DAC_COUNTS = 1233,
    MODE_PLUS_MINUS_10V = 1236
};

// The output converter's range and its mid-scale count.
const double kMaxOutputCounts = 4095.0;
const double kDefaultOutputCounts = 2048.0;
// Resolution used when a channel's is outside 1 to 30 bits.
const int kDefaultResolutionBits = 8;

// Volts per converter count over `span` volts at `bits` of resolution.
double VoltsPerCount(double span, int bits);

class AnalogChannel {
public:
    AnalogChannel(short handle, int channelNumber, bool isInput);

    // The value in the current display mode: inputs are read from the
    // controller, outputs from the stored counts.
    double Read() const;
    // Outputs only: converts `value` in `mode` (0 = current) to counts,
    // stores and sends them.
    void Write(double value, int mode);
    // Display text in `mode` (0 = current); without unit the unit is empty.
    void Format(char* buffer, size_t size, bool withUnit, int mode) const;
    // An output whose counts were neither written nor loaded stores no level.
    void Save(int controllerId, const char* path) const;
    void Load(int controllerId, const char* path);

    // The connection whose open handle this channel must match before it
    // calls the controller; without one the channel trusts its own handle.
    void SetConnection(const AppDataBase* connection) { connection_ = connection; }

    int ResolutionBits() const { return resolutionBits_; }
    void SetResolutionBits(int bits) { resolutionBits_ = bits; }
    double MaximumVolts() const { return maximumVolts_; }
    void SetMaximumVolts(double volts) { maximumVolts_ = volts; }
    double MinimumVolts() const { return minimumVolts_; }
    void SetMinimumVolts(double volts) { minimumVolts_ = volts; }
    int ChannelNumber() const { return channelNumber_; }
    int DisplayMode() const { return displayMode_; }
    void SetDisplayMode(int mode) { displayMode_ = mode; }
    short Handle() const { return handle_; }
    bool IsInput() const { return isInput_; }
    double VoltsOffset() const { return voltsOffset_; }
    void SetVoltsOffset(double volts) { voltsOffset_ = volts; }
    double OutputCounts() const { return outputCounts_; }
    double UserOffset() const { return userOffset_; }
    void SetUserOffset(double offset) { userOffset_ = offset; }
    double UserFactor() const { return userFactor_; }
    void SetUserFactor(double factor) { userFactor_ = factor; }
    const std::string& Label() const { return unitsLabel_; }
    void SetLabel(const char* text) { unitsLabel_ = text ? text : ""; }
    double VoltsPerCountValue() const { return voltsPerCount_; }
    void SetVoltsPerCount(double volts) { voltsPerCount_ = volts; }

    // True when the handle is the connection's current open one.
    bool IsLive() const;

private:
    // Stores counts limited to the converter's range and sends them.
    void SendCounts(double counts);
    void SectionName(int controllerId, char* buffer, size_t size) const;

    int resolutionBits_ = 8;
    double maximumVolts_ = 5.0;
    double minimumVolts_ = 0.0;
    int channelNumber_;
    int displayMode_;
    short handle_;
    bool isInput_;
    double voltsOffset_ = 0.0;
    double outputCounts_ = 0.0;
    // True once counts were written or loaded; until then they are not saved.
    bool countsKnown_ = false;
    double userOffset_ = 0.0;
    double userFactor_ = 1.0;
    std::string unitsLabel_ = "Units";
    double voltsPerCount_ = 1.0;
    const AppDataBase* connection_ = nullptr;
};

#endif
