// Reads the simulated controllers from tavrosim.ini (or TAVROSIM_CONFIG);
// without a file a single 4-axis servo controller is offered as id 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "simulator.h"

namespace {

const int kMaxControllerId = 63;

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
    double Double(const char* key, double fallback) const
    {
        std::string text = Text(key, "");
        if (text.empty())
            return fallback;
        char* end = nullptr;
        double value = strtod(text.c_str(), &end);
        return end == text.c_str() ? fallback : value;
    }
    // "1,2,3" into numbers.
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
            values.push_back(v);
            p = end;
            while (*p == ',' || *p == ' ')
                ++p;
        }
        return values;
    }
    // "1-8,33,40-41" as a set of channel numbers.
    std::vector<int> Ranges(const char* key) const
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
            for (long n = first; n <= last && n - first < 4096; ++n)
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

void MarkChannels(ControllerSpec& spec, const std::vector<int>& channels, unsigned short bits)
{
    for (int n : channels) {
        if (n >= 1 && n <= spec.digitalChannels)
            spec.digitalCaps[static_cast<size_t>(n - 1)] |= bits;
    }
}

AxisHardware ReadAxis(const IniSection& ini, int axis, const AxisHardware& base,
                      const std::vector<double>& moduleCodes)
{
    AxisHardware hw = base;
    if (axis <= static_cast<int>(moduleCodes.size()))
        hw.moduleType = static_cast<int>(moduleCodes[static_cast<size_t>(axis - 1)]);
    char key[64];
    snprintf(key, sizeof key, "Axis%dStepper", axis);
    hw.servo = ini.Int(key, 0) == 0;
    snprintf(key, sizeof key, "Axis%dCapture", axis);
    hw.captureFlags = static_cast<int>(ini.Int(key, hw.servo ? base.captureFlags : 0));
    snprintf(key, sizeof key, "Axis%dProfile", axis);
    long profile = ini.Int(key, base.powerOnProfile);
    if (profile == TAVRO_PROFILE_TRAPEZOIDAL || profile == TAVRO_PROFILE_SCURVE || profile == TAVRO_PROFILE_PARABOLIC)
        hw.powerOnProfile = static_cast<short>(profile);
    snprintf(key, sizeof key, "Axis%dLimits", axis);
    std::vector<double> limits = ini.List(key);
    if (limits.size() == 2) {
        hw.limitNegative = limits[0];
        hw.limitPositive = limits[1];
    }
    return hw;
}

bool ReadController(const std::string& path, int id, ControllerSpec* spec)
{
    char section[32];
    snprintf(section, sizeof section, "Controller%d", id);
    IniSection ini(path, section);
    if (!ini.Has("Type"))
        return false;
    spec->id = static_cast<short>(id);
    spec->type = static_cast<int>(ini.Int("Type", 1));
    spec->description = ini.Text("Description", "Simulated Controller");
    spec->flags = static_cast<int>(ini.Int("Flags", 0));
    for (double code : ini.List("Modules"))
        spec->modules.push_back(static_cast<int>(code));

    AxisHardware base;
    base.captureFlags = static_cast<int>(ini.Int("CaptureFlags", 0x0780));
    long buffer = ini.Int("CaptureBuffer", 4096);
    base.bufferSize = buffer >= 1 && buffer <= 65536 ? static_cast<int>(buffer) : 4096;
    std::vector<double> periods = ini.List("SamplePeriods");
    for (size_t i = 0; i < 3 && i < periods.size(); ++i) {
        if (periods[i] > 0.0)
            base.samplePeriod[i] = periods[i];
    }
    base.auxRatio = ini.Double("AuxRatio", 1.0);
    std::vector<double> limits = ini.List("Limits");
    if (limits.size() == 2) {
        base.limitNegative = limits[0];
        base.limitPositive = limits[1];
    }
    std::vector<double> axisModules = ini.List("AxisModules");
    long axes = ini.Int("Axes", 0);
    if (axes < 0 || axes > 32)
        axes = 0;
    for (int a = 1; a <= axes; ++a)
        spec->axes.push_back(ReadAxis(ini, a, base, axisModules));

    long digital = ini.Int("DigitalChannels", 0);
    spec->digitalChannels = digital < 0 || digital > 512 ? 0 : static_cast<int>(digital);
    spec->digitalCaps.assign(static_cast<size_t>(spec->digitalChannels), 0);
    MarkChannels(*spec, ini.Ranges("Latchable"), TAVRO_DIO_CAN_LATCH);
    MarkChannels(*spec, ini.Ranges("FixedInputs"), TAVRO_DIO_FIXED);
    MarkChannels(*spec, ini.Ranges("FixedOutputs"), TAVRO_DIO_FIXED | TAVRO_DIO_OUTPUT);
    MarkChannels(*spec, ini.Ranges("StepperReserved"), TAVRO_DIO_STEPPER);

    spec->analogInputs = static_cast<int>(ini.Int("AnalogInputs", 0));
    spec->analogOutputs = static_cast<int>(ini.Int("AnalogOutputs", 0));
    if (spec->analogInputs < 0 || spec->analogInputs > 256)
        spec->analogInputs = 0;
    if (spec->analogOutputs < 0 || spec->analogOutputs > 256)
        spec->analogOutputs = 0;
    spec->analogInBits = static_cast<int>(ini.Int("AnalogInBits", 12));
    spec->analogOutBits = static_cast<int>(ini.Int("AnalogOutBits", 12));
    if (spec->analogInBits < 1 || spec->analogInBits > 16)
        spec->analogInBits = 12;
    if (spec->analogOutBits < 1 || spec->analogOutBits > 16)
        spec->analogOutBits = 12;
    spec->analogInMin = ini.Double("AnalogInMin", -10.0);
    spec->analogInMax = ini.Double("AnalogInMax", 10.0);
    spec->analogOutMin = ini.Double("AnalogOutMin", -10.0);
    spec->analogOutMax = ini.Double("AnalogOutMax", 10.0);
    if (spec->analogInMax <= spec->analogInMin) {
        spec->analogInMin = -10.0;
        spec->analogInMax = 10.0;
    }
    if (spec->analogOutMax <= spec->analogOutMin) {
        spec->analogOutMin = -10.0;
        spec->analogOutMax = 10.0;
    }
    spec->reportAnalog = ini.Int("ReportAnalog", 0) != 0;
    long openError = ini.Int("OpenError", 0);
    spec->openError = openError < 0 && openError > -32768 ? static_cast<short>(openError) : 0;
    return true;
}

ControllerSpec BuiltInController()
{
    ControllerSpec spec;
    spec.id = 0;
    spec.type = 1;
    spec.description = "Simulated MC-4 Servo";
    spec.modules = {1, 1, 12, 15};
    AxisHardware hw;
    hw.captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED | TAVRO_CAPTURE_AUX | TAVRO_CAPTURE_STATUS;
    spec.axes.assign(4, hw);
    spec.digitalChannels = 48;
    spec.digitalCaps.assign(48, 0);
    for (int i = 0; i < 8; ++i)
        spec.digitalCaps[static_cast<size_t>(i)] = TAVRO_DIO_CAN_LATCH;
    spec.analogInputs = 8;
    spec.analogOutputs = 8;
    return spec;
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
    const ControllerSpec& spec = c.spec;
    // Type 8 keeps integer gains whatever its flags say.
    bool fractional = (spec.flags & TAVRO_CTRL_FRACTIONAL_GAINS) != 0 && spec.type != 8;
    // The tick is the shortest sample period of any axis; every period of an
    // axis is a whole number of ticks.
    double tick = 0.0;
    for (const AxisHardware& hw : spec.axes) {
        for (double p : hw.samplePeriod) {
            if (tick == 0.0 || p < tick)
                tick = p;
        }
    }
    c.tick = tick > 0.0 ? tick : 0.001;
    c.axes.assign(spec.axes.size(), AxisModel());
    for (size_t i = 0; i < spec.axes.size(); ++i)
        c.axes[i].Configure(spec.axes[i], fractional);
    c.captures.assign(spec.axes.size(), Capture());
    c.digital.assign(static_cast<size_t>(spec.digitalChannels), DigitalChannel());
    c.analogIn.assign(static_cast<size_t>(spec.analogInputs), AnalogInput());
    c.analogOut.assign(static_cast<size_t>(spec.analogOutputs), 0);
    PowerOnController(c);
}

// Inputs set from outside keep their stimulus: it is wiring, not a setting.
void PowerOnController(Controller& c)
{
    const ControllerSpec& spec = c.spec;
    for (AxisModel& axis : c.axes)
        axis.PowerOn();
    for (Capture& capture : c.captures)
        capture = Capture();
    for (size_t i = 0; i < c.digital.size(); ++i) {
        DigitalChannel& ch = c.digital[i];
        ch.config = static_cast<unsigned short>(TAVRO_DIO_ACTIVE_HIGH | spec.digitalCaps[i]);
        ch.outputOn = false;
        ch.latch = false;
    }
    long mid = 1L << (spec.analogOutBits - 1);
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
            ControllerSpec spec;
            if (ReadController(file, id, &spec)) {
                Controller c;
                c.spec = spec;
                sim.controllers.push_back(c);
            }
        }
    }
    if (sim.controllers.empty()) {
        Controller c;
        c.spec = BuiltInController();
        sim.controllers.push_back(c);
    }
    for (Controller& c : sim.controllers) {
        SetUpController(c);
        c.ticks = 0;
    }
    sim.loaded = true;
}
