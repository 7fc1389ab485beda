// Reads the simulated controllers from tavrosim.ini (or TAVROSIM_CONFIG);
// without a file a single 4-axis servo controller is offered as id 0.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "simulator.h"

namespace {

const int kMaxControllerId = 63;

// Sample periods are kept within this range: the shortest sets the length of
// the controller's tick, and every call runs the model in whole ticks.
const double kShortestPeriod = 0.00005;
const double kLongestPeriod = 0.1;

// Auxiliary encoder counts per motor count: larger ratios would carry the
// auxiliary reading of a far position past what a double holds.
const double kLargestAuxRatio = 1e9;

HMODULE OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

class IniSection {
public:
    IniSection(const std::string& path, const char* section) : path_(path), section_(section) {}

    std::string Text(const char* key, const char* fallback) const
    {
        char buffer[512];
        GetPrivateProfileStringA(section_.c_str(), key, "", buffer, sizeof buffer, path_.c_str());
        return buffer[0] ? std::string(buffer) : std::string(fallback);
    }
    bool Has(const char* key) const { return !Text(key, "").empty(); }
    long Int(const char* key, long fallback) const
    {
        std::string text = Text(key, "");
        if (text.empty())
            return fallback;
        char* end = nullptr;
        long value = strtol(text.c_str(), &end, 0);
        return end == text.c_str() ? fallback : value;
    }
    // A number that is not finite (nan, inf, 1e309) gives `fallback`.
    double Double(const char* key, double fallback) const
    {
        std::string text = Text(key, "");
        if (text.empty())
            return fallback;
        char* end = nullptr;
        double value = strtod(text.c_str(), &end);
        return end == text.c_str() || !std::isfinite(value) ? fallback : value;
    }
    // "1,2,3" into numbers. An entry that is not finite stays in its place as
    // NaN, which every reader of a list turns down for its default.
    std::vector<double> List(const char* key) const
    {
        std::vector<double> values;
        std::string text = Text(key, "");
        const char* p = text.c_str();
        while (*p) {
            char* end = nullptr;
            double v = strtod(p, &end);
            if (end == p)
                break;
            values.push_back(std::isfinite(v) ? v : NAN);
            p = end;
            while (*p == ',' || *p == ' ')
                ++p;
        }
        return values;
    }
    // "1-8,33,40-41" as a set of channel numbers; only 1 to `highest` are kept.
    std::vector<int> Ranges(const char* key, int highest) const
    {
        std::vector<int> channels;
        std::string text = Text(key, "");
        const char* p = text.c_str();
        while (*p) {
            char* end = nullptr;
            long first = strtol(p, &end, 10);
            if (end == p)
                break;
            long last = first;
            p = end;
            if (*p == '-') {
                last = strtol(p + 1, &end, 10);
                p = end;
            }
            for (long n = std::max(first, 1L); n <= std::min(last, static_cast<long>(highest)); ++n)
                channels.push_back(static_cast<int>(n));
            while (*p == ',' || *p == ' ')
                ++p;
        }
        return channels;
    }

private:
    std::string path_;
    std::string section_;
};

// A position scale from the file: counts per user unit, 1 when unusable.
double ReadScale(const IniSection& ini, const char* key, double fallback)
{
    double scale = ini.Double(key, fallback);
    return UsableScale(scale) ? scale : 1.0;
}

void MarkChannels(ControllerHardware& hardware, const IniSection& ini, const char* key, unsigned short bits)
{
    for (int n : ini.Ranges(key, hardware.digitalChannels))
        hardware.digitalCaps[static_cast<size_t>(n - 1)] |= bits;
}

// A code read as a number: the number when it is an int, else `fallback`.
int CodeOr(double value, int fallback)
{
    if (!(value >= static_cast<double>(INT_MIN) && value <= static_cast<double>(INT_MAX)))
        return fallback;
    return static_cast<int>(value);
}

// A volt range from the file when its span is positive and finite; otherwise
// the range keeps its defaults. An end that is not finite reads as its default.
void ReadVoltRange(const IniSection& ini, const char* minKey, const char* maxKey, double* low,
                   double* high)
{
    double min = ini.Double(minKey, *low);
    double max = ini.Double(maxKey, *high);
    double span = max - min;
    if (std::isfinite(span) && span > 0.0) {
        *low = min;
        *high = max;
    }
}

// Travel limits "negative, positive" in counts; an end that is not a finite
// number keeps its default.
void ReadLimits(const IniSection& ini, const char* key, AxisHardware* hw)
{
    std::vector<double> limits = ini.List(key);
    if (limits.size() != 2)
        return;
    if (std::isfinite(limits[0]))
        hw->limitNegative = limits[0];
    if (std::isfinite(limits[1]))
        hw->limitPositive = limits[1];
}

AxisHardware ReadAxis(const IniSection& ini, int axis, const AxisHardware& base,
                      const std::vector<double>& moduleCodes)
{
    AxisHardware hw = base;
    if (axis <= static_cast<int>(moduleCodes.size()))
        hw.moduleType = CodeOr(moduleCodes[static_cast<size_t>(axis - 1)], base.moduleType);
    char key[64];
    snprintf(key, sizeof key, "Axis%dStepper", axis);
    hw.servo = ini.Int(key, 0) == 0;
    snprintf(key, sizeof key, "Axis%dCapture", axis);
    hw.captureFlags = static_cast<int>(ini.Int(key, hw.servo ? base.captureFlags : 0));
    snprintf(key, sizeof key, "Axis%dProfile", axis);
    long profile = ini.Int(key, base.powerOnProfile);
    if (profile == TAVRO_PROFILE_TRAPEZOIDAL || profile == TAVRO_PROFILE_SCURVE || profile == TAVRO_PROFILE_PARABOLIC)
        hw.powerOnProfile = static_cast<short>(profile);
    snprintf(key, sizeof key, "Axis%dScale", axis);
    hw.scale = ReadScale(ini, key, base.scale);
    snprintf(key, sizeof key, "Axis%dLimits", axis);
    ReadLimits(ini, key, &hw);
    return hw;
}

bool ReadController(const std::string& path, int id, ControllerHardware* hardware)
{
    char section[32];
    snprintf(section, sizeof section, "Controller%d", id);
    IniSection ini(path, section);
    if (!ini.Has("Type"))
        return false;
    hardware->id = static_cast<short>(id);
    hardware->type = static_cast<int>(ini.Int("Type", 1));
    hardware->description = ini.Text("Description", "Simulated Controller");
    hardware->flags = static_cast<int>(ini.Int("Flags", 0));
    // A code no int can hold reads as an empty slot, like a slot not listed.
    for (double code : ini.List("Modules"))
        hardware->modules.push_back(CodeOr(code, TAVRO_MODULE_EMPTY));

    AxisHardware base;
    base.captureFlags = static_cast<int>(ini.Int("CaptureFlags", 0x0780));
    long buffer = ini.Int("CaptureBuffer", 4096);
    base.bufferSize = buffer >= 1 && buffer <= 65536 ? static_cast<int>(buffer) : 4096;
    std::vector<double> periods = ini.List("SamplePeriods");
    for (size_t i = 0; i < 3 && i < periods.size(); ++i) {
        if (periods[i] > 0.0)
            base.samplePeriod[i] = std::min(std::max(periods[i], kShortestPeriod), kLongestPeriod);
    }
    base.scale = ReadScale(ini, "Scale", 1.0);
    base.auxRatio = ini.Double("AuxRatio", 1.0);
    if (!(std::fabs(base.auxRatio) <= kLargestAuxRatio))
        base.auxRatio = 1.0;
    ReadLimits(ini, "Limits", &base);
    std::vector<double> axisModules = ini.List("AxisModules");
    long axes = ini.Int("Axes", 0);
    if (axes < 0 || axes > 32)
        axes = 0;
    for (int a = 1; a <= axes; ++a)
        hardware->axes.push_back(ReadAxis(ini, a, base, axisModules));

    long digital = ini.Int("DigitalChannels", 0);
    hardware->digitalChannels = digital < 0 || digital > 512 ? 0 : static_cast<int>(digital);
    hardware->digitalCaps.assign(static_cast<size_t>(hardware->digitalChannels), 0);
    MarkChannels(*hardware, ini, "Latchable", TAVRO_DIO_CAN_LATCH);
    MarkChannels(*hardware, ini, "FixedInputs", TAVRO_DIO_FIXED);
    MarkChannels(*hardware, ini, "FixedOutputs", TAVRO_DIO_FIXED | TAVRO_DIO_OUTPUT);
    MarkChannels(*hardware, ini, "StepperReserved", TAVRO_DIO_STEPPER);

    hardware->analogInputs = static_cast<int>(ini.Int("AnalogInputs", 0));
    hardware->analogOutputs = static_cast<int>(ini.Int("AnalogOutputs", 0));
    if (hardware->analogInputs < 0 || hardware->analogInputs > 256)
        hardware->analogInputs = 0;
    if (hardware->analogOutputs < 0 || hardware->analogOutputs > 256)
        hardware->analogOutputs = 0;
    hardware->analogInBits = static_cast<int>(ini.Int("AnalogInBits", 12));
    hardware->analogOutBits = static_cast<int>(ini.Int("AnalogOutBits", 12));
    if (hardware->analogInBits < 1 || hardware->analogInBits > 16)
        hardware->analogInBits = 12;
    if (hardware->analogOutBits < 1 || hardware->analogOutBits > 16)
        hardware->analogOutBits = 12;
    ReadVoltRange(ini, "AnalogInMin", "AnalogInMax", &hardware->analogInMin, &hardware->analogInMax);
    ReadVoltRange(ini, "AnalogOutMin", "AnalogOutMax", &hardware->analogOutMin, &hardware->analogOutMax);
    hardware->reportAnalog = ini.Int("ReportAnalog", 0) != 0;
    long openError = ini.Int("OpenError", 0);
    hardware->openError = openError < 0 && openError > -32768 ? static_cast<short>(openError) : 0;
    return true;
}

ControllerHardware BuiltInController()
{
    ControllerHardware hardware;
    hardware.id = 0;
    hardware.type = 1;
    hardware.description = "Simulated MC-4 Servo";
    hardware.modules = {1, 1, 12, 15};
    AxisHardware hw;
    hw.captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED | TAVRO_CAPTURE_AUX | TAVRO_CAPTURE_STATUS;
    hardware.axes.assign(4, hw);
    hardware.digitalChannels = 48;
    hardware.digitalCaps.assign(48, 0);
    for (int i = 0; i < 8; ++i)
        hardware.digitalCaps[static_cast<size_t>(i)] = TAVRO_DIO_CAN_LATCH;
    hardware.analogInputs = 8;
    hardware.analogOutputs = 8;
    return hardware;
}

} // namespace

std::string DefaultConfigPath()
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TAVROSIM_CONFIG", path, sizeof path);
    if (length > 0 && length < sizeof path)
        return path;
    length = GetModuleFileNameA(OwnModule(), path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return std::string();
    char* slash = strrchr(path, '\\');
    if (!slash)
        return std::string();
    snprintf(slash + 1, sizeof path - static_cast<size_t>(slash + 1 - path), "%s", "tavrosim.ini");
    return path;
}

void SetUpController(Controller& c)
{
    const ControllerHardware& hardware = c.hardware;
    // Type 8 keeps integer gains whatever its flags say.
    bool fractional = (hardware.flags & TAVRO_CTRL_FRACTIONAL_GAINS) != 0 && hardware.type != 8;
    // The tick is the shortest sample period of any axis; every period of an
    // axis is a whole number of ticks.
    double tick = 0.0;
    for (const AxisHardware& hw : hardware.axes) {
        for (double p : hw.samplePeriod) {
            if (tick == 0.0 || p < tick)
                tick = p;
        }
    }
    c.tick = tick > 0.0 ? tick : 0.001;
    c.axes.assign(hardware.axes.size(), AxisModel());
    for (size_t i = 0; i < hardware.axes.size(); ++i)
        c.axes[i].Configure(hardware.axes[i], fractional);
    c.captures.assign(hardware.axes.size(), Capture());
    c.digital.assign(static_cast<size_t>(hardware.digitalChannels), DigitalChannel());
    c.analogIn.assign(static_cast<size_t>(hardware.analogInputs), AnalogInput());
    c.analogOut.assign(static_cast<size_t>(hardware.analogOutputs), 0);
    PowerOnController(c);
}

// Inputs set from outside keep their stimulus: it is wiring, not a setting.
void PowerOnController(Controller& c)
{
    const ControllerHardware& hardware = c.hardware;
    for (AxisModel& axis : c.axes)
        axis.PowerOn();
    for (Capture& capture : c.captures)
        capture = Capture();
    for (size_t i = 0; i < c.digital.size(); ++i) {
        DigitalChannel& ch = c.digital[i];
        ch.config = static_cast<unsigned short>(TAVRO_DIO_ACTIVE_HIGH | hardware.digitalCaps[i]);
        ch.outputOn = false;
        ch.latch = false;
    }
    long mid = 1L << (hardware.analogOutBits - 1);
    for (long& out : c.analogOut)
        out = mid;
    std::memset(c.registers, 0, sizeof c.registers);
    c.recording = Block();
    c.recordingBlock = false;
    c.block = Block();
}

void LoadControllers(const char* path)
{
    Simulator& sim = Sim();
    sim.controllers.clear();
    sim.handles.clear();
    std::string file = path ? std::string(path) : DefaultConfigPath();
    // The profile functions look for a bare name in the Windows folder.
    char full[MAX_PATH];
    DWORD length = file.empty() ? 0 : GetFullPathNameA(file.c_str(), sizeof full, full, nullptr);
    if (length > 0 && length < sizeof full)
        file = full;
    if (!file.empty() && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        for (int id = 0; id <= kMaxControllerId; ++id) {
            ControllerHardware hardware;
            if (ReadController(file, id, &hardware)) {
                Controller c;
                c.hardware = hardware;
                sim.controllers.push_back(c);
            }
        }
    }
    if (sim.controllers.empty()) {
        Controller c;
        c.hardware = BuiltInController();
        sim.controllers.push_back(c);
    }
    for (Controller& c : sim.controllers) {
        SetUpController(c);
        c.ticks = 0;
    }
    sim.loaded = true;
}
