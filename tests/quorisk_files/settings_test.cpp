// Registry settings of the tuning program: program key, per-axis key with its
// hardware identity, test settings; values, types, sizes and defensive reads.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "quorisk_test_env.h"
#include "settings.h"
#include "test_support.h"
#include "vistrel.h"

using namespace quorisk_test;

namespace {

const std::string PROGRAM_KEY = "Software\\Korvane\\Drevalon\\Servo Tuning";
const double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { InstallFakeController(); }
    testing_support::RegistryKeyReset reset_{PROGRAM_KEY};
};

// Type and size of a stored value, as "type/size".
std::string Shape(const std::string& key, const char* name)
{
    DWORD type = 0;
    std::string bytes;
    return QueryValue(key, name, &type, &bytes)
               ? std::to_string(type) + "/" + std::to_string(bytes.size())
               : "missing";
}

int32_t StoredInt(const char* name)
{
    DWORD type = 0;
    std::string bytes;
    int32_t value = 0;
    if (QueryValue(PROGRAM_KEY, name, &type, &bytes) && bytes.size() == 4) {
        memcpy(&value, bytes.data(), 4);
    }
    return value;
}

std::string Placement(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

TEST_F(SettingsTest, FirstRunPlacesTheWindowWithDefaults)
{
    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->Axis = 9;
    data->PlotStyle = PLOT_STYLE_SEPARATE;
    EXPECT_EQ(0, LoadProgramSettings(data));
    EXPECT_EQ("0,0 640x480", Placement(window.Window()));
    EXPECT_EQ(1, data->Axis);
    EXPECT_EQ(PLOT_STYLE_MULTI, data->PlotStyle);
}

TEST_F(SettingsTest, ProgramValuesAreStoredWithTheirTypesAndReadBack)
{
    {
        TuningWindow window;
        TuningWindowData* data = window.Data();
        data->ControllerID = -1;
        data->Axis = 3;
        data->AuxiliaryScale = 2.5;
        data->PlotActual = 0;
        data->PlotTorque = 1;
        data->PlotStyle = PLOT_STYLE_SEPARATE;
        data->GantrySlave = 4;
        data->GantryShare = 0;
        SetWindowPos(window.Window(), nullptr, 30, 40, 800, 600, SWP_NOZORDER);
        EXPECT_EQ(1, SaveProgramSettings(data));
        // Minimized at the next exit: the placement of this one stays.
        ShowWindow(window.Window(), SW_MINIMIZE);
        EXPECT_EQ(1, SaveProgramSettings(data));
    }
    const char* dwords[] = {"ControllerID", "Axis", "AutoInit", "XPos", "YPos", "Width", "Height"};
    for (const char* name : dwords) {
        EXPECT_EQ("4/4", Shape(PROGRAM_KEY, name)) << name;
    }
    EXPECT_EQ("3/8", Shape(PROGRAM_KEY, "AuxiliaryScale"));
    EXPECT_EQ("3/1", Shape(PROGRAM_KEY, "PlotTorque"));
    EXPECT_EQ("3/4", Shape(PROGRAM_KEY, "PlotStyle"));
    EXPECT_EQ("3/1", Shape(PROGRAM_KEY, "GantryShare"));
    EXPECT_EQ("3/4", Shape(PROGRAM_KEY, "GantrySlave"));
    EXPECT_EQ("1/10", Shape(PROGRAM_KEY, "Version"));
    EXPECT_EQ(-1, StoredInt("ControllerID"));
    EXPECT_EQ(800, StoredInt("Width"));

    TuningWindow window;
    TuningWindowData* data = window.Data();
    EXPECT_EQ(1, LoadProgramSettings(data));
    EXPECT_EQ(-1, data->ControllerID);
    EXPECT_EQ(3, data->Axis);
    EXPECT_DOUBLE_EQ(2.5, data->AuxiliaryScale);
    EXPECT_EQ(0, data->PlotActual);
    EXPECT_EQ(1, data->PlotTorque);
    EXPECT_EQ(PLOT_STYLE_SEPARATE, data->PlotStyle);
    EXPECT_EQ(4, data->GantrySlave);
    EXPECT_EQ(0, data->GantryShare);
    EXPECT_EQ("30,40 800x600", Placement(window.Window()));
}

TEST_F(SettingsTest, APlaceOffTheScreenIsMovedOntoItAndSavedThere)
{
    DWORD offLeft = static_cast<DWORD>(-5000);
    DWORD belowBottom = static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN) + 100);
    DWORD width = 700;
    DWORD height = 500;
    SetValue(PROGRAM_KEY, "XPos", REG_DWORD, &offLeft, 4);
    SetValue(PROGRAM_KEY, "YPos", REG_DWORD, &belowBottom, 4);
    SetValue(PROGRAM_KEY, "Width", REG_DWORD, &width, 4);
    SetValue(PROGRAM_KEY, "Height", REG_DWORD, &height, 4);
    {
        TuningWindow window;
        EXPECT_EQ(1, LoadProgramSettings(window.Data()));
        EXPECT_EQ("0,0 700x500", Placement(window.Window()));
        EXPECT_EQ(1, SaveProgramSettings(window.Data()));
    }
    EXPECT_EQ(0, StoredInt("XPos"));
    EXPECT_EQ(0, StoredInt("YPos"));

    // A place on the screen is kept, each edge on its own.
    DWORD left = 40;
    SetValue(PROGRAM_KEY, "XPos", REG_DWORD, &left, 4);
    SetValue(PROGRAM_KEY, "YPos", REG_DWORD, &belowBottom, 4);
    TuningWindow window;
    EXPECT_EQ(1, LoadProgramSettings(window.Data()));
    EXPECT_EQ("40,0 700x500", Placement(window.Window()));
}

TEST_F(SettingsTest, ValuesOfAnotherSizeOrRangeAreNotTakenWhateverTheirType)
{
    DWORD four = 4;
    BYTE seven = 7;
    int32_t five = 5;
    double eight = 8.0;
    const char longVersion[] = "2.7.0.21700000000000000000000000000000000000000";
    SetValue(PROGRAM_KEY, "Axis", REG_BINARY, &four, 4);
    SetValue(PROGRAM_KEY, "ControllerID", REG_DWORD, &four, 4);
    SetValue(PROGRAM_KEY, "AuxiliaryScale", REG_BINARY, &NOT_A_NUMBER, 8);
    SetValue(PROGRAM_KEY, "PlotTorque", REG_BINARY, &seven, 1);
    SetValue(PROGRAM_KEY, "PlotActual", REG_DWORD, &four, 4);
    SetValue(PROGRAM_KEY, "PlotStyle", REG_BINARY, &five, 4);
    SetValue(PROGRAM_KEY, "GantryMaster", REG_BINARY, &eight, 8);
    SetValue(PROGRAM_KEY, "Version", REG_SZ, longVersion, sizeof(longVersion));

    TuningWindow window;
    TuningWindowData* data = window.Data();
    EXPECT_EQ(1, LoadProgramSettings(data));
    EXPECT_EQ(4, data->Axis); // four bytes, stored as binary
    EXPECT_EQ(4, data->ControllerID);
    EXPECT_DOUBLE_EQ(1.0, data->AuxiliaryScale);
    EXPECT_EQ(1, data->PlotTorque);
    EXPECT_EQ(1, data->PlotActual);
    EXPECT_EQ(PLOT_STYLE_MULTI, data->PlotStyle);
    EXPECT_EQ(1, data->GantryMaster);
}

TEST_F(SettingsTest, PlotLooksAreRestoredOnlyFromThisVersionOrLater)
{
    const struct {
        const char* version;
        bool restored;
    } cases[] = {{"", false},         {"2.6.0.100", false}, {"10.0.0.0", false},
                 {"2.7.0.217", true}, {"2.8.0.1", true}};
    for (const auto& c : cases) {
        {
            TuningWindow window;
            SendMessageA(window.Data()->plotWindows[0], PLM_SETBACKCOLOR, 0, RGB(1, 2, 3));
            SaveProgramSettings(window.Data());
        }
        if (c.version[0]) {
            SetValue(PROGRAM_KEY, "Version", REG_SZ, c.version,
                     static_cast<DWORD>(strlen(c.version) + 1));
        } else {
            RegDeleteKeyValueA(HKEY_CURRENT_USER, PROGRAM_KEY.c_str(), "Version");
        }
        TuningWindow window;
        LoadProgramSettings(window.Data());
        LRESULT back = SendMessageA(window.Data()->plotWindows[0], PLM_GETBACKCOLOR, 0, 0);
        EXPECT_EQ(c.restored, back == static_cast<LRESULT>(RGB(1, 2, 3))) << c.version;
    }
}

TEST_F(SettingsTest, AxisKeyIsReadOnlyForTheSameHardware)
{
    const std::string axisKey = PROGRAM_KEY + "\\Axis5:2";
    {
        TuningWindow window;
        TuningWindowData* data = window.Data();
        data->controller = FAKE_HANDLE;
        data->ControllerID = 5;
        data->Axis = 2;
        g_fake.axes[2].config.moduleType = 0x1204; // the low byte names the module
        data->propGain.upperPercent = 80.0;
        data->derGain.lowerPercent = 5.0;
        data->testSettings.RecordTime = 0.75;
        data->testSettings.Sampling = 4;
        data->testSettings.Count = 6;
        data->testSettings.Cycle = 1;
        EXPECT_EQ(1, SaveAxisSettings(window.Window()));
    }
    EXPECT_EQ("3/4", Shape(axisKey, "Identity"));
    EXPECT_EQ("3/8", Shape(axisKey, "PropGainMax"));
    EXPECT_EQ("4/4", Shape(axisKey + "\\Test Settings", "Sampling"));
    EXPECT_EQ("3/1", Shape(axisKey + "\\Test Settings", "Cycle"));
    EXPECT_EQ("3/4", Shape(axisKey + "\\Test Settings", "Count"));

    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->controller = FAKE_HANDLE;
    data->ControllerID = 5;
    data->Axis = 2;
    g_fake.axes[2].config.moduleType = 4;
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(80.0, data->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(5.0, data->derGain.lowerPercent);
    EXPECT_DOUBLE_EQ(0.75, data->testSettings.RecordTime);
    EXPECT_EQ(4, data->testSettings.Sampling);
    EXPECT_EQ(6, data->testSettings.Count);

    // Another module at that id and axis: the full span, nothing read.
    data->testSettings.Count = 2;
    g_fake.axes[2].config.moduleType = 5;
    EXPECT_EQ(0, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(100.0, data->propGain.upperPercent);
    EXPECT_EQ(2, data->testSettings.Count);
    // A stored identity of 0 fits any hardware.
    int32_t zero = 0;
    SetValue(axisKey, "Identity", REG_BINARY, &zero, 4);
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));

    // No controller open: no identity to store, nothing saved.
    data->controller = -6;
    data->ControllerID = -1;
    data->Axis = 1;
    EXPECT_EQ(0, SaveAxisSettings(window.Window()));
    EXPECT_EQ("missing", Shape(PROGRAM_KEY + "\\Axis-1:1", "Identity"));
    // The key of a cancelled selection is still read, by its signed id.
    double limit = 70.0;
    SetValue(PROGRAM_KEY + "\\Axis-1:1", "PropGainMax", REG_BINARY, &limit, 8);
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    EXPECT_DOUBLE_EQ(70.0, data->propGain.upperPercent);
}

TEST_F(SettingsTest, UnsoundTestSettingsAndLimitsKeepTheirValues)
{
    const std::string axisKey = PROGRAM_KEY + "\\Axis0:1";
    const std::string testKey = axisKey + "\\Test Settings";
    double infinite = std::numeric_limits<double>::infinity();
    double negative = -0.5, zero = 0.0, upper = 40.0, lower = 60.0;
    DWORD sampling = 3;
    int32_t count = -3;
    SetValue(testKey, "RecordTime", REG_BINARY, &zero, 8);
    SetValue(testKey, "Delay", REG_BINARY, &negative, 8);
    SetValue(testKey, "Dwell", REG_BINARY, &infinite, 8);
    SetValue(testKey, "Distance", REG_BINARY, &NOT_A_NUMBER, 8);
    SetValue(testKey, "Sampling", REG_DWORD, &sampling, 4);
    SetValue(testKey, "Count", REG_BINARY, &count, 4);
    SetValue(testKey, "Repeat", REG_DWORD, &sampling, 4);
    SetValue(axisKey, "PropGainMax", REG_BINARY, &upper, 8);
    SetValue(axisKey, "PropGainMin", REG_BINARY, &lower, 8);

    TuningWindow window;
    TuningWindowData* data = window.Data();
    data->controller = FAKE_HANDLE;
    EXPECT_EQ(1, LoadAxisSettings(window.Window()));
    const TestSettings& test = data->testSettings;
    EXPECT_DOUBLE_EQ(0.5, test.RecordTime);
    EXPECT_DOUBLE_EQ(0.0, test.Delay);
    EXPECT_DOUBLE_EQ(0.0, test.Dwell);
    EXPECT_DOUBLE_EQ(100.0, test.Distance);
    EXPECT_EQ(3, test.Sampling); // no range of its own: taken as stored
    EXPECT_EQ(1, test.Count);
    EXPECT_EQ(0, test.Repeat);
    EXPECT_DOUBLE_EQ(100.0, data->propGain.upperPercent);
    EXPECT_DOUBLE_EQ(0.0, data->propGain.lowerPercent);
}

} // namespace
