// Save and restore of the digital I/O configuration: the configuration word
// of each channel in the controller's store.
#include <cstdio>
#include <vector>

#include "exports.h"
#include "library.h"
#include "settings_store.h"

namespace {

const char kSection[] = "Digital I/O";
const char kCountKey[] = "Channels";
// What a restore brings back: direction and polarity. Latches start off.
const unsigned short kRestoredBits = TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH;

void ChannelKey(int channel, char* key, size_t size)
{
    snprintf(key, size, "Channel %d", channel);
}

short DigitalChannelCount(short handle, short* controllerId, int* count)
{
    TavroControllerConfig config;
    short status = ReadControllerOfHandle(handle, controllerId, &config);
    if (status != TAVRO_OK)
        return status;
    *count = config.digitalChannels;
    return TAVRO_OK;
}

// The mode code that brings a channel from its present word to the stored
// one; the direction code also ends a latch. A channel of fixed direction
// keeps its direction; only a latch-capable input latches.
unsigned short ModeFor(unsigned short present, unsigned short stored)
{
    bool output = (stored & TAVRO_DIO_OUTPUT) != 0;
    if (present & TAVRO_DIO_FIXED)
        output = (present & TAVRO_DIO_OUTPUT) != 0;
    unsigned short mode = output ? TAVRO_DIO_MODE_OUTPUT : TAVRO_DIO_MODE_INPUT;
    mode |= (stored & TAVRO_DIO_ACTIVE_HIGH) ? TAVRO_DIO_MODE_HIGH : TAVRO_DIO_MODE_LOW;
    if (!output && (stored & TAVRO_DIO_LATCHED) && (present & TAVRO_DIO_CAN_LATCH))
        mode |= TAVRO_DIO_MODE_LATCH;
    return mode;
}

struct ChannelChange {
    short channel;
    unsigned short present;
    unsigned short stored;
};

short ApplyChanges(short handle, const std::vector<ChannelChange>& changes)
{
    for (size_t i = 0; i < changes.size(); ++i) {
        const ChannelChange& change = changes[i];
        short status = TavroConfigureDigitalIO(handle, change.channel, ModeFor(change.present, change.stored));
        if (status != TAVRO_OK) {
            for (size_t j = 0; j <= i; ++j)
                TavroConfigureDigitalIO(handle, changes[j].channel, ModeFor(changes[j].present, changes[j].present));
            return status;
        }
    }
    return TAVRO_OK;
}

} // namespace

// kind 0: every channel of the controller; kind 1: channels 1 to `count`.
extern "C" short TavroDLG_SaveDigitalIO(short handle, short kind, short count, const char* file)
{
    short controllerId = -1;
    int channels = 0;
    short status = DigitalChannelCount(handle, &controllerId, &channels);
    if (status != TAVRO_OK)
        return status;
    if (kind == 1) {
        if (count <= 0 || count > channels)
            return TAVRO_ERR_BAD_CHANNEL;
        channels = count;
    } else if (kind != 0) {
        return TAVRO_ERR_BAD_ARGUMENT;
    }
    StoredSection values;
    values[kCountKey] = StoredInt(channels);
    for (int channel = 1; channel <= channels; ++channel) {
        unsigned short word = 0;
        status = TavroGetDigitalIOConfig(handle, static_cast<short>(channel), &word);
        if (status != TAVRO_OK)
            return status;
        char key[32], value[16];
        ChannelKey(channel, key, sizeof key);
        snprintf(value, sizeof value, "0x%04X", word);
        values[key] = value;
    }
    char path[MAX_PATH] = "";
    if (!StorePath(file, controllerId, path, sizeof path) || !WriteStoredSection(path, kSection, values)) {
        ReportUnwritableStore(path);
        return TAVRO_ERR_DRIVER;
    }
    return TAVRO_OK;
}

// Checks every stored channel before the first is configured; nothing stored
// changes nothing. Channels reserved for a stepper axis are left alone.
extern "C" short TavroDLG_RestoreDigitalIO(short handle, short /*kind*/, short /*count*/, const char* file)
{
    short controllerId = -1;
    int channels = 0;
    short status = DigitalChannelCount(handle, &controllerId, &channels);
    if (status != TAVRO_OK)
        return status;
    char path[MAX_PATH];
    if (!StorePath(file, controllerId, path, sizeof path))
        return TAVRO_ERR_DRIVER;
    StoredSection values;
    if (!ReadStoredSection(path, kSection, &values) || values.empty())
        return TAVRO_OK;

    long stored = 0;
    if (!ParseStoredInt(values, kCountKey, &stored) || stored < 0) {
        ReportDamagedStore(path, kSection, kCountKey);
        return TAVRO_ERR_BAD_ARGUMENT;
    }
    int restoreCount = stored < channels ? static_cast<int>(stored) : channels;
    std::vector<ChannelChange> changes;
    for (int channel = 1; channel <= restoreCount; ++channel) {
        char key[32];
        ChannelKey(channel, key, sizeof key);
        long word = 0;
        if (!ParseStoredInt(values, key, &word) || word < 0 || word > 0xFFFF) {
            ReportDamagedStore(path, kSection, key);
            return TAVRO_ERR_BAD_ARGUMENT;
        }
        unsigned short present = 0;
        status = TavroGetDigitalIOConfig(handle, static_cast<short>(channel), &present);
        if (status != TAVRO_OK)
            return status;
        if (present & TAVRO_DIO_STEPPER)
            continue;
        changes.push_back({static_cast<short>(channel), present,
                           static_cast<unsigned short>(word & kRestoredBits)});
    }
    return ApplyChanges(handle, changes);
}
