// Analog I/O in converter counts. Odd inputs are wired back from the output
// of the same number, even ones see a slow sine; both carry a count of noise.
// An input set from outside reads its voltage exactly.
#include <cmath>

#include "exports.h"
#include "simulator.h"

namespace {

const double kPi = 3.14159265358979323846;

long FullScale(int bits) { return 1L << bits; }

double OutputVolts(const Controller& c, int index)
{
    const ControllerHardware& s = c.hardware;
    return s.analogOutMin + static_cast<double>(c.analogOut[static_cast<size_t>(index)])
         * (s.analogOutMax - s.analogOutMin) / static_cast<double>(FullScale(s.analogOutBits));
}

// -1, 0 or +1, the same for one channel within one tick.
long Noise(const Controller& c, int index)
{
    unsigned long x = static_cast<unsigned long>(c.ticks) * 2654435761UL + static_cast<unsigned long>(index) * 40503UL;
    x ^= x >> 13;
    x *= 2246822519UL;
    x ^= x >> 16;
    return static_cast<long>(x % 3) - 1;
}

long InputCounts(const Controller& c, int index)
{
    const ControllerHardware& s = c.hardware;
    const AnalogInput& in = c.analogIn[static_cast<size_t>(index)];
    double span = s.analogInMax - s.analogInMin;
    double volts;
    if (in.fixed)
        volts = in.volts;
    else if (index % 2 == 0 && index < static_cast<int>(c.analogOut.size()))
        volts = OutputVolts(c, index);
    else
        volts = s.analogInMin + span * (0.5 + 0.4 * std::sin(2.0 * kPi * c.Time() / (4.0 + index)));
    double top = static_cast<double>(FullScale(s.analogInBits) - 1);
    double counts = std::floor((volts - s.analogInMin) / span * (top + 1.0) + 0.5);
    if (!in.fixed)
        counts += static_cast<double>(Noise(c, index));
    // Within the converter's counts before it becomes an integer; NaN reads 0.
    if (!(counts > 0.0))
        counts = 0.0;
    if (counts > top)
        counts = top;
    return static_cast<long>(counts);
}

} // namespace

extern "C" long TavroGetAnalog(short handle, short channel)
{
    SimGuard guard;
    long result = 0;
    Controller* c = ControllerOfHandle(handle);
    if (c && channel >= 1 && channel <= static_cast<short>(c->analogIn.size()))
        result = InputCounts(*c, channel - 1);
    EndCall("TavroGetAnalog", result, "%d, %d", handle, channel);
    return result;
}

// Counts beyond the converter are clamped to its range.
extern "C" short TavroSetAnalog(short handle, short channel, long counts)
{
    SimGuard guard;
    short result = TAVRO_ERR_BAD_HANDLE;
    if (Controller* c = ControllerOfHandle(handle)) {
        result = TAVRO_ERR_BAD_CHANNEL;
        if (channel >= 1 && channel <= static_cast<short>(c->analogOut.size())) {
            long top = FullScale(c->hardware.analogOutBits) - 1;
            c->analogOut[static_cast<size_t>(channel - 1)] = counts < 0 ? 0 : (counts > top ? top : counts);
            result = TAVRO_OK;
        }
    }
    EndCall("TavroSetAnalog", result, "%d, %d, %ld", handle, channel, counts);
    return result;
}
