// One tab page of analog channels.
#include "channel_group.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ini_file.h"

ChannelGroup::ChannelGroup(int groupIndex, int moduleType)
    : groupIndex_(groupIndex), moduleType_(moduleType)
{
}

ChannelGroup::~ChannelGroup()
{
    for (AnalogChannel* channel : channels_)
        delete channel;
}

bool ChannelGroup::IsShown(const AnalogChannel& channel) const
{
    if (channel.IsInput())
        return moduleType_ != MODULE_PELZO;
    return moduleType_ != MODULE_PELTA;
}

bool ChannelGroup::AcceptsReference(double volts) const
{
    return volts >= minimumReference_ && volts <= kMaxReferenceVoltage;
}

void ChannelGroup::ScaleInputsToReference()
{
    for (AnalogChannel* channel : channels_) {
        if (channel->IsInput() && channel->MinimumVolts() == 0.0 &&
            channel->MaximumVolts() <= kMaxReferenceVoltage)
            channel->SetVoltsPerCount(VoltsPerCount(referenceVoltage_, channel->ResolutionBits()));
    }
}

void ChannelGroup::Save(int controllerId, const char* path) const
{
    char section[64];
    snprintf(section, sizeof section, "Analog Group %d:%d", controllerId, groupIndex_);
    WriteIniBool(section, "HasInit", false, path);
    WriteIniInt(section, "ModuleType", moduleType_, path);
    WriteIniDouble(section, "RefVoltage", referenceVoltage_, path);
    WriteIniDouble(section, "Scale", 1.0, path);
}

void ChannelGroup::Load(int controllerId, const char* path)
{
    char section[64];
    snprintf(section, sizeof section, "Analog Group %d:%d", controllerId, groupIndex_);
    char marker[256];
    GetPrivateProfileStringA(section, "HasInit", "NoFile", marker, sizeof marker, path);
    if (strcmp(marker, "NoFile") == 0)
        return;
    // A standard page stays standard; a module page takes a module type.
    if (moduleType_ != MODULE_STANDARD) {
        int type = static_cast<int>(GetPrivateProfileIntA(section, "ModuleType", MODULE_UNKNOWN, path));
        moduleType_ = (type >= MODULE_UNKNOWN && type <= MODULE_PELZO) ? type : MODULE_UNKNOWN;
    }
    // A stored reference that is no number, or that the reference dialog
    // would refuse, leaves 5.0.
    char text[64];
    GetPrivateProfileStringA(section, "RefVoltage", "", text, sizeof text, path);
    char* end = nullptr;
    const double reference = strtod(text, &end);
    referenceVoltage_ = (end != text && AcceptsReference(reference)) ? reference : 5.0;
}
