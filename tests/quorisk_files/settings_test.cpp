// Registry settings of the tuning program: program key, per-axis key with its
// hardware identity, test settings; values, types, sizes and defensive reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "quorisk_test_env.h"
#include "settings.h"
#include "test_support.h"
#include "vistrel.h"

using namespace quorisk_test;
using testing_support::RegistryKeyReset;

namespace {

const std::string PROGRAM_KEY = "Software\\Korvane\\Drevalon\\Servo Tuning";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InstallFakeController(); }
    RegistryKeyReset reset_{PROGRAM_KEY};
};

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

void ExpectValueShape(const std::string& key, const char* name, DWORD type, size_t size)
{
    DWORD storedType = 0;
    std::string bytes;
    ASSERT_TRUE(QueryValue(HKEY_CURRENT_USER, key, name, &storedType, &bytes)) << name;
    EXPECT_EQ(type, storedType) << name;
    EXPECT_EQ(size, bytes.size()) << name;
}

template <typename T> T StoredAs(const std::string& key, const char* name)
{
    DWORD type = 0;
    std::string bytes;
    T value = T();
    if (QueryValue(HKEY_CURRENT_USER, key, name, &type, &bytes) && bytes.size() == sizeof(T)) {
        memcpy(&value, bytes.data(), sizeof(T));
    }
    return value;
}

TEST_F(SettingsTest, FirstRunPlacesWindowAndSetsDefaults)
{
    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->Axis = 9;
    data->PlotStyle = PLOT_STYLE_SEPARATE;
    data->PlotTorque = 1;
    data->ControllerID = 4;

    EXPECT_EQ(0, LoadProgramSettings(data));
    RECT rect = WindowRect(window.Window());
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(640, rect.right - rect.left);
    EXPECT_EQ(480, rect.bottom - rect.top);
    EXPECT_EQ(0, data->ControllerID);
    EXPECT_EQ(1, data->Axis);
    EXPECT_EQ(PLOT_STYLE_MULTI, data->PlotStyle);
    EXPECT_EQ(1, data->PlotActual);
    EXPECT_EQ(1, data->PlotOptimal);
    EXPECT_EQ(1, data->PlotError);
    EXPECT_EQ(1, data->PlotTarget);
    EXPECT_EQ(0, data->PlotTorque);
    EXPECT_EQ(1, data->GantryMaster);
    EXPECT_EQ(2, data->GantrySlave);
    EXPECT_EQ(1, data->GantryShare);
    EXPECT_DOUBLE_EQ(1.0, data->AuxiliaryScale);
}

TEST_F(SettingsTest, ProgramValuesKeepTypesSizesAndReadBack)
{
    {
        TuningWindow window;
        TuningWindowData* data = window.Data();
        data->ControllerID = -1;
        data->Axis = 3;
        data->AutoInit = 1;
        data->AuxiliaryScale = 2.5;
        data->PlotActual = 0;
        data->PlotAuxiliary = 1;
        data->PlotOptimal = 0;
        data->PlotError = 0;
        data->PlotTorque = 1;
        data->PlotTarget = 0;
        data->PlotStyle = PLOT_STYLE_SEPARATE;
        data->Gantry = 1;
        data->GantryMaster = 3;
        data->GantrySlave = 4;
        data->GantryShare = 0;
        SetWindowPos(window.Window(), nullptr, 30, 40, 800, 600, SWP_NOZORDER);
        EXPECT_EQ(1, SaveProgramSettings(data));
    }
    const struct {
        const char* name;
        DWORD type;
        size_t size;
    } shapes[] = {
        {"ControllerID", REG_DWORD, 4}, {"Axis", REG_DWORD, 4},      {"AutoInit", REG_DWORD, 4},
        {"AuxiliaryScale", REG_BINARY, 8}, {"PlotActual", REG_BINARY, 1},
        {"PlotAuxiliary", REG_BINARY, 1}, {"PlotOptimal", REG_BINARY, 1},
        {"PlotError", REG_BINARY, 1},    {"PlotTorque", REG_BINARY, 1},
        {"PlotTarget", REG_BINARY, 1},   {"PlotStyle", REG_BINARY, 4},
        {"Gantry", REG_BINARY, 1},       {"GantryMaster", REG_BINARY, 4},
        {"GantrySlave", REG_BINARY, 4},  {"GantryShare", REG_BINARY, 1},
        {"XPos", REG_DWORD, 4},          {"YPos", REG_DWORD, 4},
        {"Width", REG_DWORD, 4},         {"Height", REG_DWORD, 4},
        {"Version", REG_SZ, 10},
    };
    for (const auto& shape : shapes) {
        ExpectValueShape(PROGRAM_KEY, shape.name, shape.type, shape.size);
    }
    EXPECT_EQ(-1, StoredAs<int32_t>(PROGRAM_KEY, "ControllerID"));
    EXPECT_EQ(800, StoredAs<int32_t>(PROGRAM_KEY, "Width"));
    for (const char* plot : {"Plot0", "Plot1", "Plot2", "Plot3"}) {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (PROGRAM_KEY + "\\" + plot).c_str(),
                                               0, KEY_READ, &key))
            << plot;
        RegCloseKey(key);
    }

    TuningWindow window;
    TuningWindowData* data = window.Data();
    EXPECT_EQ(1, LoadProgramSettings(data));
    EXPECT_EQ(-1, data->ControllerID);
    EXPECT_EQ(3, data->Axis);
    EXPECT_EQ(1, data->AutoInit);
    EXPECT_DOUBLE_EQ(2.5, data->AuxiliaryScale);
    EXPECT_EQ(0, data->PlotActual);
    EXPECT_EQ(1, data->PlotAuxiliary);
    EXPECT_EQ(0, data->PlotOptimal);
    EXPECT_EQ(0, data->PlotError);
    EXPECT_EQ(1, data->PlotTorque);
    EXPECT_EQ(0, data->PlotTarget);
    EXPECT_EQ(PLOT_STYLE_SEPARATE, data->PlotStyle);
    EXPECT_EQ(1, data->Gantry);
    EXPECT_EQ(3, data->GantryMaster);
    EXPECT_EQ(4, data->GantrySlave);
    EXPECT_EQ(0, data->GantryShare);
    RECT rect = WindowRect(window.Window());
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(40, rect.top);
    EXPECT_EQ(800, rect.right - rect.left);
    EXPECT_EQ(600, rect.bottom - rect.top);
}

TEST_F(SettingsTest, ProgramValuesOfWrongTypeSizeOrRangeAreNotTaken)
{
    DWORD four = 4;
    SetValue(PROGRAM_KEY, "Axis", REG_BINARY, &four, 4);            // wrong type
    SetValue(PROGRAM_KEY, "ControllerID", REG_DWORD, &four, 4);     // sound
    double notANumber = std::numeric_limits<double>::quiet_NaN();
    SetValue(PROGRAM_KEY, "AuxiliaryScale", REG_BINARY, &notANumber, 8);
    BYTE seven = 7;
    SetValue(PROGRAM_KEY, "PlotTorque", REG_BINARY, &seven, 1);     // flag becomes 1
    SetValue(PROGRAM_KEY, "PlotActual", REG_DWORD, &four, 4);       // wrong type and size
    int32_t style = 5;
    SetValue(PROGRAM_KEY, "PlotStyle", REG_BINARY, &style, 4);
    double eight = 8.0;
    SetValue(PROGRAM_KEY, "GantryMaster", REG_BINARY, &eight, 8);   // wrong size
    const char longVersion[] = "2.7.0.2170000000000000000000000000000000000000000000";
    SetValue(PROGRAM_KEY, "Version", REG_SZ, longVersion, sizeof(longVersion));

    TuningWindow window;
    TuningWindowData* data = window.Data();
    EXPECT_EQ(1, LoadProgramSettings(data));
    EXPECT_EQ(1, data->Axis);
    EXPECT_EQ(4, data->ControllerID);
    EXPECT_DOUBLE_EQ(1.0, data->AuxiliaryScale);
    EXPECT_EQ(1, data->PlotTorque);
    EXPECT_EQ(1, data->PlotActual);
    EXPECT_EQ(PLOT_STYLE_MULTI, data->PlotStyle);
    EXPECT_EQ(1, data->GantryMaster);
    // Missing placement values give the first-run placement.
    RECT rect = WindowRect(window.Window());
    EXPECT_EQ(640, rect.right - rect.left);
    EXPECT_EQ(480, rect.bottom - rect.top);
}

// Stores plot window 0's look with a back colour of its own, then the version.
void StorePlotLookWithVersion(const char* version)
{
    {
        TuningWindow window;
        SendMessageA(window.Data()->plotWindows[0], PLM_SETBACKCOLOR, 0, RGB(1, 2, 3));
        SaveProgramSettings(window.Data());
    }
    if (version) {
        SetValue(PROGRAM_KEY, "Version", REG_SZ, version, static_cast<DWORD>(strlen(version) + 1));
    } else {
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, PROGRAM_KEY.c_str(), 0, KEY_WRITE, &key);
        RegDeleteValueA(key, "Version");
        RegCloseKey(key);
    }
}

TEST_F(SettingsTest, PlotLooksAreRestoredOnlyFromThisVersionOrLater)
{
    const struct {
        const char* version;
        bool restored;
    } cases[] = {
        {nullptr, false},   {"2.6.0.100", false}, {"10.0.0.0", false},
        {"2.7.0.217", true}, {"2.8.0.1", true},
    };
    for (const auto& c : cases) {
        StorePlotLookWithVersion(c.version);
        TuningWindow window;
        COLORREF initial = static_cast<COLORREF>(
            SendMessageA(window.Data()->plotWindows[0], PLM_GETBACKCOLOR, 0, 0));
        ASSERT_NE(RGB(1, 2, 3), initial);
        LoadProgramSettings(window.Data());
        COLORREF back = static_cast<COLORREF>(
            SendMessageA(window.Data()->plotWindows[0], PLM_GETBACKCOLOR, 0, 0));
        EXPECT_EQ(c.restored, back == RGB(1, 2, 3)) << (c.version ? c.version : "(missing)");
    }
}

TEST_F(SettingsTest, MinimizedWindowKeepsThePreviousPlacement)
{
    {
        TuningWindow window;
        SetWindowPos(window.Window(), nullptr, 50, 60, 700, 520, SWP_NOZORDER);
        SaveProgramSettings(window.Data());
    }
    TuningWindow window;
    ShowWindow(window.Window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.Window()));
    SaveProgramSettings(window.Data());
    EXPECT_EQ(50, StoredAs<int32_t>(PROGRAM_KEY, "XPos"));
    EXPECT_EQ(60, StoredAs<int32_t>(PROGRAM_KEY, "YPos"));
    EXPECT_EQ(700, StoredAs<int32_t>(PROGRAM_KEY, "Width"));
    EXPECT_EQ(520, StoredAs<int32_t>(PROGRAM_KEY, "Height"));
}

TEST_F(SettingsTest, AxisKeyCarriesIdentityLimitsAndTestSettings)
{
    const std::string axisKey = PROGRAM_KEY + "\\Axis5:2";
    {
        TuningWindow window;
        TuningWindowData* data = window.Data();
        data->controller = FAKE_HANDLE;
        data->ControllerID = 5;
        data->Axis = 2;
        g_fake.axes[2].moduleType = 0x1204; // only the low byte counts
        data->propGain.upperPercent = 80.0;
        data->propGain.lowerPercent = 20.0;
        data->intGain.upperPercent = 60.0;
        data->derGain.lowerPercent = 5.0;
        TestSettings& test = data->testSettings;
        test.Distance = 250.0;
        test.RecordTime = 0.75;
        test.Delay = 0.01;
        test.Trajectory = 1;
        test.Sampling = 4;
        test.Cycle = 1;
        test.Dwell = 0.2;
        test.Repeat = 1;
        test.Count = 6;
        test.RDwell = 0.3;
        EXPECT_EQ(1, SaveAxisSettings(window.Window()));
    }
    ExpectValueShape(axisKey, "Identity", REG_BINARY, 4);
    EXPECT_EQ(0x0304, StoredAs<int32_t>(axisKey, "Identity"));
    for (const char* name : {"PropGainMax", "PropGainMin", "IntGainMax", "IntGainMin",
                             "DerGainMax", "DerGainMin"}) {
        ExpectValueShape(axisKey, name, REG_BINARY, 8);
    }
    const std::string testKey = axisKey + "\\Test Settings";
    ExpectValueShape(testKey, "Distance", REG_BINARY, 8);
    ExpectValueShape(testKey, "Trajectory", REG_BINARY, 1);
    ExpectValueShape(testKey, "Sampling", REG_DWORD, 4);
    ExpectValueShape(testKey, "Count", REG_BINARY, 4);
    ExpectValueShape(testKey, "RDwell", REG_BINARY, 8);

    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->controller = FAKE_HANDLE;
    data->ControllerID = 5;
    data->Axis = 2;
    g_fake.axes[2].moduleType = 0x04;
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(80.0, data->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(20.0, data->propGain.lowerPercent);
    EXPECT_DOUBLE_EQ(60.0, data->intGain.upperPercent);
    EXPECT_DOUBLE_EQ(5.0, data->derGain.lowerPercent);
    const TestSettings& test = data->testSettings;
    EXPECT_DOUBLE_EQ(250.0, test.Distance);
    EXPECT_DOUBLE_EQ(0.75, test.RecordTime);
    EXPECT_DOUBLE_EQ(0.01, test.Delay);
    EXPECT_EQ(1, test.Trajectory);
    EXPECT_EQ(4, test.Sampling);
    EXPECT_EQ(1, test.Cycle);
    EXPECT_DOUBLE_EQ(0.2, test.Dwell);
    EXPECT_EQ(1, test.Repeat);
    EXPECT_EQ(6, test.Count);
    EXPECT_DOUBLE_EQ(0.3, test.RDwell);

    // Other hardware at the same id and axis: nothing is read, the limits
    // go back to the full span.
    data->propGain.upperPercent = 33.0;
    data->testSettings.Distance = 1.0;
    g_fake.axes[2].moduleType = 5;
    EXPECT_EQ(0, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(100.0, data->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(0.0, data->propGain.lowerPercent);
    EXPECT_DOUBLE_EQ(1.0, data->testSettings.Distance);

    // An identity of 0 is accepted for any hardware.
    int32_t zero = 0;
    SetValue(axisKey, "Identity", REG_BINARY, &zero, 4);
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(80.0, data->propGain.upperPercent);
}

TEST_F(SettingsTest, AxisKeyNameFollowsControllerIdAndAxis)
{
    char name[128];
    FormatAxisKeyName(name, sizeof(name), -1, 1);
    EXPECT_STREQ("Software\\Korvane\\Drevalon\\Servo Tuning\\Axis-1:1", name);
    FormatAxisKeyName(name, sizeof(name), 0, 0x10003);
    EXPECT_STREQ("Software\\Korvane\\Drevalon\\Servo Tuning\\Axis0:3", name);
}

TEST_F(SettingsTest, NothingIsSavedForAnAxisWithoutAnOpenController)
{
    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->controller = -6;
    data->ControllerID = 2;
    EXPECT_EQ(0, SaveAxisSettings(window.Window()));
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (PROGRAM_KEY + "\\Axis2:1").c_str(),
                                           0, KEY_READ, &key));
}

TEST_F(SettingsTest, UnsoundTestSettingsAndLimitsKeepTheirValues)
{
    const std::string axisKey = PROGRAM_KEY + "\\Axis0:1";
    const std::string testKey = axisKey + "\\Test Settings";
    double infinite = std::numeric_limits<double>::infinity();
    double notANumber = std::numeric_limits<double>::quiet_NaN();
    double negative = -0.5;
    double zero = 0.0;
    SetValue(testKey, "RecordTime", REG_BINARY, &zero, 8);
    SetValue(testKey, "Delay", REG_BINARY, &negative, 8);
    SetValue(testKey, "Dwell", REG_BINARY, &infinite, 8);
    SetValue(testKey, "Distance", REG_BINARY, &notANumber, 8);
    DWORD sampling = 0;
    SetValue(testKey, "Sampling", REG_DWORD, &sampling, 4);
    int32_t count = -3;
    SetValue(testKey, "Count", REG_BINARY, &count, 4);
    BYTE two = 2;
    SetValue(testKey, "Cycle", REG_BINARY, &two, 1);
    SetValue(testKey, "Repeat", REG_DWORD, &sampling, 4);
    double upper = 40.0;
    double lower = 60.0; // above the upper limit
    SetValue(axisKey, "PropGainMax", REG_BINARY, &upper, 8);
    SetValue(axisKey, "PropGainMin", REG_BINARY, &lower, 8);
    SetValue(axisKey, "IntGainMax", REG_BINARY, &notANumber, 8);

    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->controller = FAKE_HANDLE;
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    const TestSettings& test = data->testSettings;
    EXPECT_DOUBLE_EQ(0.5, test.RecordTime);
    EXPECT_DOUBLE_EQ(0.0, test.Delay);
    EXPECT_DOUBLE_EQ(0.0, test.Dwell);
    EXPECT_DOUBLE_EQ(100.0, test.Distance);
    EXPECT_EQ(1, test.Sampling);
    EXPECT_EQ(1, test.Count);
    EXPECT_EQ(1, test.Cycle);
    EXPECT_EQ(0, test.Repeat);
    EXPECT_DOUBLE_EQ(100.0, data->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(0.0, data->propGain.lowerPercent);
    EXPECT_DOUBLE_EQ(100.0, data->intGain.upperPercent);
}

} // namespace
