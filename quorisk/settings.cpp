// Program, per-axis and test settings of the tuning program in the registry.
// Every read keeps the field as it was unless the value has the expected
// size, whatever its type, and a sound value.
#include "settings.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "registry_values.h"
#include "tavro_binding.h"
#include "tuning_data.h"
#include "vistrel.h"
#include "window_utils.h"

namespace {

const char* const PLOT_SUBKEYS[4] = {"Plot0", "Plot1", "Plot2", "Plot3"};
// The version text with its terminating zero.
const DWORD VERSION_BYTES = sizeof(TUNING_PROGRAM_VERSION);

void ReadDword(HKEY key, const char* name, int32_t* field)
{
    DWORD value = 0;
    if (RegReadDword(key, name, &value)) {
        *field = static_cast<int32_t>(value);
    }
}

void ReadBinaryInt(HKEY key, const char* name, int32_t* field)
{
    int32_t value = 0;
    if (RegReadExact(key, name, &value, sizeof(value))) {
        *field = value;
    }
}

// A one-byte flag: any nonzero byte reads as 1.
void ReadFlag(HKEY key, const char* name, uint8_t* field)
{
    uint8_t value = 0;
    if (RegReadExact(key, name, &value, sizeof(value))) {
        *field = value ? 1 : 0;
    }
}

// A double that is finite and no smaller than `minimum` (above it when
// `exclusive`).
void ReadDouble(HKEY key, const char* name, double* field, double minimum = -HUGE_VAL,
                bool exclusive = false)
{
    double value = 0.0;
    if (!RegReadExact(key, name, &value, sizeof(value)) || !std::isfinite(value)) {
        return;
    }
    if (value < minimum || (exclusive && value == minimum)) {
        return;
    }
    *field = value;
}

void WriteDword(HKEY key, const char* name, int32_t value)
{
    RegWriteDword(key, name, static_cast<DWORD>(value));
}

void WriteBinary(HKEY key, const char* name, const void* value, DWORD size)
{
    RegWriteExact(key, name, REG_BINARY, value, size);
}

void WriteFlag(HKEY key, const char* name, uint8_t value)
{
    uint8_t data = value ? 1 : 0;
    WriteBinary(key, name, &data, sizeof(data));
}

HKEY CreateKeyForWriting(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

HKEY OpenKeyForReading(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

// True unless the stored version is older: compared by bytes, a missing or
// unreadable text counting as the oldest.
bool StoredVersionIsCurrent(HKEY key)
{
    char stored[32] = {};
    if (!RegReadString(key, "Version", stored, sizeof(stored))) {
        return false;
    }
    const unsigned char* a = reinterpret_cast<const unsigned char*>(stored);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(TUNING_PROGRAM_VERSION);
    for (DWORD i = 0; i < VERSION_BYTES; ++i) {
        if (a[i] != b[i]) {
            return a[i] > b[i];
        }
    }
    return true;
}

void SetProgramDefaults(TuningWindowData* data)
{
    data->PlotTorque = 0;
    data->PlotAuxiliary = 0;
    data->PlotTarget = 1;
    data->ControllerID = 0;
    data->AutoInit = 0;
    data->Gantry = 0;
    data->AuxiliaryScale = 1.0;
    data->Axis = 1;
    data->PlotActual = 1;
    data->PlotOptimal = 1;
    data->PlotError = 1;
    data->PlotStyle = PLOT_STYLE_MULTI;
    data->GantryMaster = 1;
    data->GantryShare = 1;
    data->GantrySlave = 2;
}

// Hardware identity of the open controller and current axis: controller
// type in bits 8-15, the axis's module type in bits 0-7.
int32_t ComputeIdentity(const TuningWindowData* data)
{
    TavroControllerConfig controllerConfig = {};
    controllerConfig.size = 124;
    g_tavro.TavroGetConfigurationEx(data->controller, &controllerConfig);
    TavroAxisConfig axisConfig = {};
    axisConfig.size = sizeof(axisConfig);
    g_tavro.TavroGetAxisConfiguration(data->controller, static_cast<short>(data->Axis),
                                      &axisConfig);
    return ((controllerConfig.controllerType & 0xFF) << 8) | (axisConfig.moduleType & 0xFF);
}

// A limit pair is taken only when both ends are sound.
void ReadGainLimits(HKEY key, const char* upperName, const char* lowerName, GainSlider* gain)
{
    double upper = gain->upperPercent;
    double lower = gain->lowerPercent;
    ReadDouble(key, upperName, &upper);
    ReadDouble(key, lowerName, &lower);
    if (lower >= 0.0 && upper <= 100.0 && lower < upper) {
        gain->upperPercent = upper;
        gain->lowerPercent = lower;
    }
}

void WriteGainLimits(HKEY key, const char* upperName, const char* lowerName,
                     const GainSlider* gain)
{
    WriteBinary(key, upperName, &gain->upperPercent, sizeof(double));
    WriteBinary(key, lowerName, &gain->lowerPercent, sizeof(double));
}

} // namespace

void FormatAxisKeyName(char* buffer, size_t size, int controllerId, int axis)
{
    snprintf(buffer, size, TUNING_REGISTRY_KEY "\\Axis%d:%d", controllerId, axis & 0xFFFF);
}

int LoadProgramSettings(TuningWindowData* data)
{
    SetProgramDefaults(data);
    HKEY key = OpenKeyForReading(HKEY_CURRENT_USER, TUNING_REGISTRY_KEY);
    if (!key) {
        SetWindowPos(data->mainWindow, nullptr, 0, 0, 640, 480, SWP_NOZORDER);
        return 0;
    }
    ReadDword(key, "ControllerID", &data->ControllerID);
    ReadDword(key, "Axis", &data->Axis);
    ReadDword(key, "AutoInit", &data->AutoInit);
    data->AutoInit = data->AutoInit ? 1 : 0;
    ReadDouble(key, "AuxiliaryScale", &data->AuxiliaryScale);
    ReadFlag(key, "PlotActual", &data->PlotActual);
    ReadFlag(key, "PlotAuxiliary", &data->PlotAuxiliary);
    ReadFlag(key, "PlotOptimal", &data->PlotOptimal);
    ReadFlag(key, "PlotError", &data->PlotError);
    ReadFlag(key, "PlotTorque", &data->PlotTorque);
    ReadFlag(key, "PlotTarget", &data->PlotTarget);
    ReadBinaryInt(key, "PlotStyle", &data->PlotStyle);
    if (data->PlotStyle < PLOT_STYLE_SINGLE || data->PlotStyle > PLOT_STYLE_SEPARATE) {
        data->PlotStyle = PLOT_STYLE_MULTI;
    }
    ReadFlag(key, "Gantry", &data->Gantry);
    ReadBinaryInt(key, "GantryMaster", &data->GantryMaster);
    ReadBinaryInt(key, "GantrySlave", &data->GantrySlave);
    ReadFlag(key, "GantryShare", &data->GantryShare);

    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 640;
    int32_t height = 480;
    ReadDword(key, "XPos", &x);
    ReadDword(key, "YPos", &y);
    ReadDword(key, "Width", &width);
    ReadDword(key, "Height", &height);
    KeepCornerOnScreen(&x, &y);
    SetWindowPos(data->mainWindow, nullptr, x, y, width, height, SWP_NOZORDER);

    if (StoredVersionIsCurrent(key)) {
        for (int i = 0; i < 4; ++i) {
            LumoRestoreSettings(data->plotWindows[i], key, PLOT_SUBKEYS[i]);
        }
    }
    RegCloseKey(key);
    return 1;
}

int SaveProgramSettings(TuningWindowData* data)
{
    HKEY key = CreateKeyForWriting(HKEY_CURRENT_USER, TUNING_REGISTRY_KEY);
    if (!key) {
        return 0;
    }
    WriteDword(key, "ControllerID", data->ControllerID);
    WriteDword(key, "Axis", data->Axis);
    WriteDword(key, "AutoInit", data->AutoInit);
    WriteBinary(key, "AuxiliaryScale", &data->AuxiliaryScale, sizeof(double));
    WriteFlag(key, "PlotActual", data->PlotActual);
    WriteFlag(key, "PlotAuxiliary", data->PlotAuxiliary);
    WriteFlag(key, "PlotOptimal", data->PlotOptimal);
    WriteFlag(key, "PlotError", data->PlotError);
    WriteFlag(key, "PlotTorque", data->PlotTorque);
    WriteFlag(key, "PlotTarget", data->PlotTarget);
    WriteBinary(key, "PlotStyle", &data->PlotStyle, sizeof(int32_t));
    WriteFlag(key, "Gantry", data->Gantry);
    WriteBinary(key, "GantryMaster", &data->GantryMaster, sizeof(int32_t));
    WriteBinary(key, "GantrySlave", &data->GantrySlave, sizeof(int32_t));
    WriteFlag(key, "GantryShare", data->GantryShare);

    if (!IsIconic(data->mainWindow)) {
        RECT rect;
        if (GetWindowRect(data->mainWindow, &rect)) {
            WriteDword(key, "XPos", rect.left);
            WriteDword(key, "YPos", rect.top);
            WriteDword(key, "Width", rect.right - rect.left);
            WriteDword(key, "Height", rect.bottom - rect.top);
        }
    }
    RegWriteString(key, "Version", TUNING_PROGRAM_VERSION);
    for (int i = 0; i < 4; ++i) {
        LumoSaveSettings(data->plotWindows[i], key, PLOT_SUBKEYS[i]);
    }
    RegCloseKey(key);
    return 1;
}

int LoadAxisSettings(HWND mainWindow)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    if (!data) {
        return 0;
    }
    GainSlider* gains[3] = {&data->propGain, &data->intGain, &data->derGain};
    for (GainSlider* gain : gains) {
        gain->upperPercent = 100.0;
        gain->lowerPercent = 0.0;
    }
    char name[128];
    FormatAxisKeyName(name, sizeof(name), data->ControllerID, data->Axis);
    HKEY key = OpenKeyForReading(HKEY_CURRENT_USER, name);
    if (!key) {
        return 0;
    }
    int32_t stored = 0;
    ReadBinaryInt(key, "Identity", &stored);
    if (stored != 0 && stored != ComputeIdentity(data)) {
        RegCloseKey(key);
        return 0;
    }
    ReadGainLimits(key, "PropGainMax", "PropGainMin", &data->propGain);
    ReadGainLimits(key, "IntGainMax", "IntGainMin", &data->intGain);
    ReadGainLimits(key, "DerGainMax", "DerGainMin", &data->derGain);
    LoadTestSettings(&data->testSettings, key, "Test Settings");
    RegCloseKey(key);
    return 1;
}

int SaveAxisSettings(HWND mainWindow)
{
    TuningWindowData* data = GetTuningData(mainWindow);
    // Without an open controller there is no hardware to name the key's
    // identity after, and the values belong to no axis of it.
    if (!data || data->controller <= 0) {
        return 0;
    }
    char name[128];
    FormatAxisKeyName(name, sizeof(name), data->ControllerID, data->Axis);
    HKEY key = CreateKeyForWriting(HKEY_CURRENT_USER, name);
    if (!key) {
        return 0;
    }
    int32_t identity = ComputeIdentity(data);
    WriteBinary(key, "Identity", &identity, sizeof(identity));
    WriteGainLimits(key, "PropGainMax", "PropGainMin", &data->propGain);
    WriteGainLimits(key, "IntGainMax", "IntGainMin", &data->intGain);
    WriteGainLimits(key, "DerGainMax", "DerGainMin", &data->derGain);
    SaveTestSettings(&data->testSettings, key, "Test Settings");
    RegCloseKey(key);
    return 1;
}

int LoadTestSettings(TestSettings* settings, HKEY key, const char* subKeyName)
{
    HKEY subKey = OpenKeyForReading(key, subKeyName);
    if (!subKey) {
        return 0;
    }
    ReadDouble(subKey, "Distance", &settings->Distance);
    ReadDouble(subKey, "RecordTime", &settings->RecordTime, 0.0, true);
    ReadDouble(subKey, "Delay", &settings->Delay, 0.0);
    ReadFlag(subKey, "Trajectory", &settings->Trajectory);
    // Taken as stored: the test and the plots fall back to every point for a
    // step other than 1, 2 or 4.
    ReadDword(subKey, "Sampling", &settings->Sampling);
    ReadFlag(subKey, "Cycle", &settings->Cycle);
    ReadDouble(subKey, "Dwell", &settings->Dwell, 0.0);
    ReadFlag(subKey, "Repeat", &settings->Repeat);
    int32_t count = settings->Count;
    ReadBinaryInt(subKey, "Count", &count);
    if (count >= 0) {
        settings->Count = count;
    }
    ReadDouble(subKey, "RDwell", &settings->RDwell, 0.0);
    RegCloseKey(subKey);
    return 1;
}

int SaveTestSettings(const TestSettings* settings, HKEY key, const char* subKeyName)
{
    HKEY subKey = CreateKeyForWriting(key, subKeyName);
    if (!subKey) {
        return 0;
    }
    WriteBinary(subKey, "Distance", &settings->Distance, sizeof(double));
    WriteBinary(subKey, "RecordTime", &settings->RecordTime, sizeof(double));
    WriteBinary(subKey, "Delay", &settings->Delay, sizeof(double));
    WriteFlag(subKey, "Trajectory", settings->Trajectory);
    WriteDword(subKey, "Sampling", settings->Sampling);
    WriteFlag(subKey, "Cycle", settings->Cycle);
    WriteBinary(subKey, "Dwell", &settings->Dwell, sizeof(double));
    WriteFlag(subKey, "Repeat", settings->Repeat);
    WriteBinary(subKey, "Count", &settings->Count, sizeof(int32_t));
    WriteBinary(subKey, "RDwell", &settings->RDwell, sizeof(double));
    RegCloseKey(subKey);
    return 1;
}
