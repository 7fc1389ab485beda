// Digital I/O: configuration words, outputs, and the stimulus of inputs.
// In each group of 16 channels, inputs 9-16 are wired back from channels
// 1-8, inputs 5-6 follow slow square waves, inputs 7-8 see short pulses
// that only a latch catches, and the rest stay low unless set from outside.
#include <cmath>

#include "exports.h"
#include "simulator.h"

namespace {

const double kPulseWidth = 0.01;

struct Periodic {
    double period;
    double high; // time high at the start of each period
};

bool PeriodicSource(int index, Periodic* p)
{
    switch (index % 16) {
    case 4: *p = {2.0, 1.0}; return true;
    case 5: *p = {3.0, 1.5}; return true;
    case 6: *p = {1.5, kPulseWidth}; return true;
    case 7: *p = {2.5, kPulseWidth}; return true;
    default: return false;
    }
}

bool IsOutput(const DigitalChannel& ch) { return (ch.config & TAVRO_DIO_OUTPUT) != 0; }
bool ActiveHigh(const DigitalChannel& ch) { return (ch.config & TAVRO_DIO_ACTIVE_HIGH) != 0; }

// Electrical level of a channel now.
bool Level(const Controller& c, int index)
{
    const DigitalChannel& ch = c.digital[static_cast<size_t>(index)];
    if (IsOutput(ch))
        return ch.outputOn == ActiveHigh(ch);
    if (ch.forcedLevel >= 0)
        return ch.forcedLevel != 0;
    Periodic p;
    if (PeriodicSource(index, &p))
        return std::fmod(c.Time(), p.period) < p.high;
    if (index % 16 >= 8) {
        const DigitalChannel& source = c.digital[static_cast<size_t>(index - 8)];
        return IsOutput(source) && source.outputOn == ActiveHigh(source);
    }
    return false;
}

bool Logical(const Controller& c, int index)
{
    const DigitalChannel& ch = c.digital[static_cast<size_t>(index)];
    if (IsOutput(ch))
        return ch.outputOn;
    return Level(c, index) == ActiveHigh(ch);
}

// Rising edges of the logical state of a periodic input since time 0.
long PeriodicEdges(const Controller& c, int index)
{
    Periodic p;
    if (!PeriodicSource(index, &p))
        return 0;
    double t = c.Time();
    if (!ActiveHigh(c.digital[static_cast<size_t>(index)]))
        t -= p.high; // active low goes on as the level falls
    return t < 0.0 ? 0 : static_cast<long>(std::floor(t / p.period)) + 1;
}

DigitalChannel* Channel(Controller* c, short channel)
{
    if (!c || channel < 1 || channel > static_cast<short>(c->digital.size()))
        return nullptr;
    return &c->digital[static_cast<size_t>(channel - 1)];
}

short ChannelStatus(short handle, short channel, Controller** c, DigitalChannel** ch)
{
    *c = ControllerOfHandle(handle);
    *ch = Channel(*c, channel);
    if (!*c)
        return TAVRO_ERR_BAD_HANDLE;
    return *ch ? TAVRO_OK : TAVRO_ERR_BAD_CHANNEL;
}

// The part of a code that the channel takes, or 0 when it refuses the code.
// A channel of fixed direction ignores a direction it cannot take and takes
// the rest (polarity, latch).
unsigned short ApplicableMode(const DigitalChannel& ch, unsigned short mode)
{
    if (mode == 0 || (mode & ~0x1Fu) || (ch.config & TAVRO_DIO_STEPPER))
        return 0;
    if ((mode & TAVRO_DIO_MODE_INPUT) && (mode & TAVRO_DIO_MODE_OUTPUT))
        return 0;
    if ((mode & TAVRO_DIO_MODE_HIGH) && (mode & TAVRO_DIO_MODE_LOW))
        return 0;
    if (ch.config & TAVRO_DIO_FIXED)
        mode &= static_cast<unsigned short>(IsOutput(ch) ? ~TAVRO_DIO_MODE_INPUT : ~TAVRO_DIO_MODE_OUTPUT);
    if (mode & TAVRO_DIO_MODE_LATCH) {
        bool output = (mode & TAVRO_DIO_MODE_OUTPUT) || (IsOutput(ch) && !(mode & TAVRO_DIO_MODE_INPUT));
        if (output || !(ch.config & TAVRO_DIO_CAN_LATCH))
            return 0;
    }
    return mode;
}

} // namespace

void CheckLatch(Controller& c, int index)
{
    DigitalChannel& ch = c.digital[static_cast<size_t>(index)];
    bool logical = Logical(c, index);
    long edges = PeriodicEdges(c, index);
    bool rose = (logical && !ch.lastLogical) || (ch.forcedLevel < 0 && edges > ch.pulsesSeen);
    if (rose && (ch.config & TAVRO_DIO_LATCHED))
        ch.latch = true;
    ch.lastLogical = logical;
    ch.pulsesSeen = edges;
}

// Nonzero when on; a latched input reports a caught pulse once.
extern "C" short TavroGetDigitalIO(short handle, short channel)
{
    SimGuard guard;
    Controller* c;
    DigitalChannel* ch;
    short result = 0;
    if (ChannelStatus(handle, channel, &c, &ch) == TAVRO_OK && !(ch->config & TAVRO_DIO_STEPPER)) {
        int index = channel - 1;
        CheckLatch(*c, index);
        result = Logical(*c, index) ? 1 : 0;
        if (ch->config & TAVRO_DIO_LATCHED) {
            if (ch->latch)
                result = 1;
            ch->latch = false;
        }
    }
    EndCall("TavroGetDigitalIO", result, "%d, %d", handle, channel);
    return result;
}

extern "C" short TavroGetDigitalIOConfig(short handle, short channel, unsigned short* config)
{
    SimGuard guard;
    Controller* c;
    DigitalChannel* ch;
    short result = ChannelStatus(handle, channel, &c, &ch);
    if (!config)
        result = TAVRO_ERR_BAD_ARGUMENT;
    else
        *config = result == TAVRO_OK ? ch->config : 0;
    EndCall("TavroGetDigitalIOConfig", result, "%d, %d, %s", handle, channel, Traced(config).text);
    return result;
}

extern "C" short TavroConfigureDigitalIO(short handle, short channel, unsigned short mode)
{
    SimGuard guard;
    Controller* c;
    DigitalChannel* ch;
    short result = ChannelStatus(handle, channel, &c, &ch);
    unsigned short applied = result == TAVRO_OK ? ApplicableMode(*ch, mode) : 0;
    if (result == TAVRO_OK && applied == 0)
        result = TAVRO_ERR_BAD_ARGUMENT;
    if (result == TAVRO_OK) {
        int index = channel - 1;
        CheckLatch(*c, index);
        unsigned short config = ch->config;
        if (applied & TAVRO_DIO_MODE_INPUT)
            config &= static_cast<unsigned short>(~(TAVRO_DIO_OUTPUT | TAVRO_DIO_LATCHED));
        if (applied & TAVRO_DIO_MODE_OUTPUT) {
            config |= TAVRO_DIO_OUTPUT;
            config &= static_cast<unsigned short>(~TAVRO_DIO_LATCHED);
        }
        if (applied & TAVRO_DIO_MODE_HIGH)
            config |= TAVRO_DIO_ACTIVE_HIGH;
        if (applied & TAVRO_DIO_MODE_LOW)
            config &= static_cast<unsigned short>(~TAVRO_DIO_ACTIVE_HIGH);
        if (applied & TAVRO_DIO_MODE_LATCH)
            config |= TAVRO_DIO_LATCHED;
        if (!(config & TAVRO_DIO_OUTPUT))
            ch->outputOn = false;
        if ((config & TAVRO_DIO_LATCHED) != (ch->config & TAVRO_DIO_LATCHED))
            ch->latch = false;
        ch->config = config;
        ch->lastLogical = false;
        CheckLatch(*c, index);
        ch->latch = false; // a new configuration starts with nothing caught
        // The inputs wired back from this channel see its new level.
        if (index % 16 < 8 && index + 8 < static_cast<int>(c->digital.size()))
            CheckLatch(*c, index + 8);
    }
    EndCall("TavroConfigureDigitalIO", result, "%d, %d, %u", handle, channel, static_cast<unsigned>(mode));
    return result;
}

extern "C" short TavroEnableDigitalIO(short handle, short channel, short state)
{
    SimGuard guard;
    Controller* c;
    DigitalChannel* ch;
    short result = ChannelStatus(handle, channel, &c, &ch);
    if (result == TAVRO_OK && (!IsOutput(*ch) || (ch->config & TAVRO_DIO_STEPPER)))
        result = TAVRO_ERR_BAD_ARGUMENT;
    if (result == TAVRO_OK) {
        ch->outputOn = state != 0;
        int index = channel - 1;
        if (index % 16 < 8 && index + 8 < static_cast<int>(c->digital.size()))
            CheckLatch(*c, index + 8);
    }
    EndCall("TavroEnableDigitalIO", result, "%d, %d, %d", handle, channel, state);
    return result;
}
