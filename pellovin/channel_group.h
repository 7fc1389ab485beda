// One tab page of analog channels: the controller's standard inputs, its
// standard outputs or one plug-in module, with reference voltage and module
// type kept in drevalon.ini.
#ifndef PELLOVIN_CHANNEL_GROUP_H
#define PELLOVIN_CHANNEL_GROUP_H

#include <windows.h>

#include <vector>

#include "analog_channel.h"

// Module types of a group.
enum {
    MODULE_UNKNOWN = 0,
    MODULE_PELMO = 1,   // 4 inputs and 4 outputs
    MODULE_PELTA = 2,   // 4 inputs
    MODULE_PELZO = 3,   // 4 outputs
    MODULE_STANDARD = 4 // the controller's own channels
};

// Highest reference voltage the reference dialog accepts.
const double kMaxReferenceVoltage = 5.199;

class ChannelGroup {
public:
    ChannelGroup(int groupIndex, int moduleType);
    ~ChannelGroup();
    ChannelGroup(const ChannelGroup&) = delete;
    ChannelGroup& operator=(const ChannelGroup&) = delete;

    void Save(int controllerId, const char* path) const;
    void Load(int controllerId, const char* path);

    // Takes ownership of the channel.
    void AddChannel(AnalogChannel* channel) { channels_.push_back(channel); }
    const std::vector<AnalogChannel*>& Channels() const { return channels_; }

    double ReferenceVoltage() const { return referenceVoltage_; }
    void SetReferenceVoltage(double volts) { referenceVoltage_ = volts; }
    double MinimumReference() const { return minimumReference_; }
    void SetMinimumReference(double volts) { minimumReference_ = volts; }
    int GroupIndex() const { return groupIndex_; }
    HWND PageWindow() const { return pageWindow_; }
    void SetPageWindow(HWND window) { pageWindow_ = window; }
    int ModuleType() const { return moduleType_; }
    void SetModuleType(int type) { moduleType_ = type; }

    // Whether a channel has its controls on this group's page.
    bool IsShown(const AnalogChannel& channel) const;

    // Whether the reference dialog accepts `volts`: from the minimum
    // reference up to kMaxReferenceVoltage.
    bool AcceptsReference(double volts) const;

    // Inputs whose range starts at 0 V and ends at a voltage that could be a
    // reference take the reference voltage as their full scale; the others
    // keep their range's scaling.
    void ScaleInputsToReference();

private:
    std::vector<AnalogChannel*> channels_;
    double referenceVoltage_ = 5.0;
    // Module pages accept 4.75 V and up; the standard-inputs page sets its own.
    double minimumReference_ = 4.75;
    int groupIndex_;
    HWND pageWindow_ = nullptr;
    int moduleType_;
};

#endif
