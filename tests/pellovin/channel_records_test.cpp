// Conversions, clamping and settings of the analog channel and group records,
// against an open simulated controller.
#include <cstdio>
#include <cstring>
#include <string>

#include "analog_channel.h"
#include "channel_group.h"
#include "panel_fixture.h"
#include "tavro_binding.h"

namespace {

class AnalogChannelRecordTest : public AnalogPanelTest {
protected:
    void SetUp() override
    {
        AnalogPanelTest::SetUp();
        ASSERT_EQ(BindTavroApi(), 0);
        controller = ModularController();
        handle = g_tavro.TavroOpen(controller.id, 2, "");
        ASSERT_GT(handle, 0);
    }
    void TearDown() override
    {
        if (handle > 0)
            g_tavro.TavroClose(handle);
        AnalogPanelTest::TearDown();
    }

    std::string Text(const AnalogChannel& channel, int mode = 0, bool withUnit = true)
    {
        char text[64];
        channel.Format(text, sizeof text, withUnit, mode);
        return text;
    }
    long SimOutput(int channel) { return TavroSim_GetAnalogOutput(controller.id, channel); }

    TavroSimControllerInfo controller = {};
    short handle = 0;
};

TEST_F(AnalogChannelRecordTest, OutputWritesConvertEachDisplayMode)
{
    AnalogChannel output(handle, 1, false);
    output.Write(2.5, MODE_0_TO_5V);
    EXPECT_DOUBLE_EQ(output.OutputCounts(), 2047.5);
    EXPECT_EQ(SimOutput(1), 2047);
    EXPECT_DOUBLE_EQ(output.Read(), 2.5);

    output.SetDisplayMode(MODE_PLUS_MINUS_10V);
    output.Write(0.0, 0);
    EXPECT_EQ(SimOutput(1), 2047);
    EXPECT_EQ(Text(output), "0.000 V");

    output.Write(2048.0, MODE_DAC_COUNTS);
    EXPECT_EQ(Text(output, MODE_0_TO_5V), "2.501 V");
    EXPECT_EQ(Text(output, MODE_PLUS_MINUS_10V), "0.005 V");
    EXPECT_EQ(Text(output, MODE_DAC_COUNTS), " 2048 Counts");
    EXPECT_EQ(Text(output, MODE_DAC_COUNTS, false), " 2048 ");
    EXPECT_EQ(output.DisplayMode(), MODE_PLUS_MINUS_10V);
}

TEST_F(AnalogChannelRecordTest, OutputCountsAreLimitedToTheConverterRange)
{
    AnalogChannel output(handle, 2, false);
    output.Write(10.0, MODE_0_TO_5V); // 8190 counts unlimited
    EXPECT_EQ(SimOutput(2), 4095);
    EXPECT_DOUBLE_EQ(output.OutputCounts(), 4095.0);
    output.Write(10.0, MODE_PLUS_MINUS_10V);
    EXPECT_EQ(SimOutput(2), 4095);
    output.Write(-10.0, MODE_PLUS_MINUS_10V); // -1 unlimited
    EXPECT_EQ(SimOutput(2), 0);
    EXPECT_DOUBLE_EQ(output.OutputCounts(), 0.0);
    output.Write(-5.0, MODE_DAC_COUNTS);
    EXPECT_EQ(SimOutput(2), 0);
    output.Write(std::strtod("nan", nullptr), MODE_DAC_COUNTS);
    EXPECT_EQ(SimOutput(2), 0);
    output.Write(1234.75, MODE_DAC_COUNTS);
    EXPECT_EQ(SimOutput(2), 1234);
    EXPECT_DOUBLE_EQ(output.OutputCounts(), 1234.75);
}

TEST_F(AnalogChannelRecordTest, InputsReadCountsVoltsAndUserUnits)
{
    AnalogChannel input(handle, 1, true);
    input.SetVoltsPerCount(5.0 / 4095.0);
    TavroSim_SetAnalogInput(controller.id, 1, 1.0);
    input.SetDisplayMode(MODE_ADC_COUNTS);
    const double counts = input.Read();
    EXPECT_GT(counts, 0.0);
    EXPECT_LE(counts, 65535.0);
    EXPECT_EQ(counts, static_cast<long>(counts));
    char expected[64];
    snprintf(expected, sizeof expected, "%5.0f Counts", counts);
    EXPECT_EQ(Text(input), expected);

    input.SetDisplayMode(MODE_VOLTS);
    input.SetVoltsOffset(-1.0);
    const double volts = input.Read();
    EXPECT_NEAR(volts, counts * 5.0 / 4095.0 - 1.0, 3 * 5.0 / 4095.0);
    EXPECT_EQ(Text(input).substr(Text(input).size() - 2), " V");
    EXPECT_EQ(Text(input)[0], volts < 0 ? '-' : '+');

    input.SetDisplayMode(MODE_USER_UNITS);
    input.SetUserFactor(2.0);
    input.SetUserOffset(1.0);
    input.SetLabel("psi");
    EXPECT_NEAR(input.Read(), volts * 2.0 + 1.0, 6 * 5.0 / 4095.0);
    EXPECT_NE(Text(input).find(" psi"), std::string::npos);

    // A mode of the other channel kind shows raw counts.
    input.SetDisplayMode(MODE_DAC_COUNTS);
    EXPECT_NE(Text(input).find(" Counts"), std::string::npos);
    // An input is never written.
    TavroSim_ResetCallCounts();
    input.Write(1.0, 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetAnalog"), 0);
}

TEST_F(AnalogChannelRecordTest, VoltsPerCountFallsBackToTheDefaultResolution)
{
    EXPECT_DOUBLE_EQ(VoltsPerCount(4.095, 12), 0.001);
    EXPECT_DOUBLE_EQ(VoltsPerCount(20.0, 1), 20.0);
    EXPECT_DOUBLE_EQ(VoltsPerCount(5.0, 30), 5.0 / 1073741823.0);
    for (int bits : {0, -3, 31, 64, 1000})
        EXPECT_DOUBLE_EQ(VoltsPerCount(2.55, bits), 0.01) << bits;
}

TEST_F(AnalogChannelRecordTest, ChannelSettingsRoundTripThroughTheIniFile)
{
    const std::string path = IniPath();
    AnalogChannel input(handle, 3, true);
    input.SetDisplayMode(MODE_USER_UNITS);
    input.SetUserFactor(2.5);
    input.SetUserOffset(-0.125);
    input.SetLabel("ft-lb");
    input.Save(7, path.c_str());
    AnalogChannel output(handle, 3, false);
    output.Write(1000.5, MODE_DAC_COUNTS);
    output.SetDisplayMode(MODE_PLUS_MINUS_10V);
    output.Save(7, path.c_str());
    EXPECT_EQ(IniValue("Analog Input 7:3", "Configured"), "true");
    EXPECT_EQ(IniValue("Analog Output 7:3", "DisplayMode"), "1236");

    AnalogChannel input2(handle, 3, true);
    input2.Load(7, path.c_str());
    EXPECT_EQ(input2.DisplayMode(), MODE_USER_UNITS);
    EXPECT_DOUBLE_EQ(input2.UserFactor(), 2.5);
    EXPECT_DOUBLE_EQ(input2.UserOffset(), -0.125);
    EXPECT_EQ(input2.Label(), "ft-lb");

    TavroSim_ResetCallCounts();
    AnalogChannel output2(handle, 3, false);
    output2.Load(7, path.c_str());
    EXPECT_EQ(output2.DisplayMode(), MODE_PLUS_MINUS_10V);
    EXPECT_DOUBLE_EQ(output2.OutputCounts(), 1000.5);
    EXPECT_EQ(SimOutput(3), 1000);

    // Another controller id has no settings: nothing changes, nothing is sent.
    TavroSim_ResetCallCounts();
    AnalogChannel output3(handle, 3, false);
    output3.Load(8, path.c_str());
    EXPECT_EQ(output3.DisplayMode(), MODE_0_TO_5V);
    EXPECT_EQ(TavroSim_CallCount("TavroSetAnalog"), 0);

    // An output nobody wrote stores no level, so loading it sends nothing,
    // but its display mode comes back; a loaded level is known and stored again.
    AnalogChannel unwritten(handle, 4, false);
    unwritten.SetDisplayMode(MODE_PLUS_MINUS_10V);
    unwritten.Save(7, path.c_str());
    output2.Save(9, path.c_str());
    TavroSim_ResetCallCounts();
    AnalogChannel output4(handle, 4, false);
    output4.Load(7, path.c_str());
    EXPECT_EQ(TavroSim_CallCount("TavroSetAnalog"), 0);
    EXPECT_EQ(output4.DisplayMode(), MODE_PLUS_MINUS_10V);
    EXPECT_EQ(IniValue("Analog Output 9:3", "OutputCounts"), "1000.5");
}

TEST_F(AnalogChannelRecordTest, GarbledChannelSettingsGiveTheirLeadingNumberOrTheDefaults)
{
    WriteIni("[Analog Input 0:1]\r\nConfigured=true\r\nFactor=nan\r\nOffset=1e999\r\n"
             "DisplayMode=1221 ; volts\r\n"
             "[Analog Input 0:2]\r\nConfigured=yes\r\n"
             "[Analog Output 0:1]\r\nConfigured=1\r\nOutputCounts=12abc\r\nDisplayMode=\r\n"
             "[Analog Output 0:2]\r\nConfigured=true\r\nOutputCounts=90000\r\n"
             "[Analog Output 0:3]\r\nConfigured=true\r\nOutputCounts=-7\r\n"
             "[Analog Output 0:4]\r\nConfigured=nope\r\nOutputCounts=100\r\n");
    const std::string path = IniPath();
    AnalogChannel input1(handle, 1, true);
    input1.Load(0, path.c_str());
    EXPECT_EQ(input1.DisplayMode(), MODE_VOLTS);
    EXPECT_DOUBLE_EQ(input1.UserFactor(), 1.0);
    EXPECT_DOUBLE_EQ(input1.UserOffset(), 0.0);
    EXPECT_EQ(input1.Label(), " ***"); // the reader trims the default's trailing blank
    AnalogChannel input2(handle, 2, true);
    input2.Load(0, path.c_str());
    EXPECT_EQ(input2.DisplayMode(), MODE_DAC_COUNTS); // shown as counts
    EXPECT_NE(Text(input2).find("Counts"), std::string::npos);

    AnalogChannel output1(handle, 1, false);
    output1.Load(0, path.c_str());
    EXPECT_DOUBLE_EQ(output1.OutputCounts(), 12.0);
    EXPECT_EQ(output1.DisplayMode(), MODE_DAC_COUNTS);
    EXPECT_EQ(SimOutput(1), 12);
    AnalogChannel output2(handle, 2, false);
    output2.Load(0, path.c_str());
    EXPECT_EQ(SimOutput(2), 4095);
    AnalogChannel output3(handle, 3, false);
    output3.Load(0, path.c_str());
    EXPECT_EQ(SimOutput(3), 0);
    AnalogChannel output4(handle, 4, false);
    output4.Load(0, path.c_str());
    EXPECT_EQ(output4.DisplayMode(), MODE_0_TO_5V);
    EXPECT_DOUBLE_EQ(output4.OutputCounts(), 0.0);
}

TEST_F(AnalogChannelRecordTest, GroupSettingsLoadOnlyFromAMarkedSection)
{
    const std::string path = IniPath();
    ChannelGroup saved(2, MODULE_PELTA);
    saved.SetReferenceVoltage(4.9);
    saved.Save(3, path.c_str());
    EXPECT_EQ(IniValue("Analog Group 3:2", "HasInit"), "false");
    EXPECT_EQ(IniValue("Analog Group 3:2", "Scale"), "1");

    ChannelGroup loaded(2, MODULE_UNKNOWN);
    loaded.Load(3, path.c_str());
    EXPECT_EQ(loaded.ModuleType(), MODULE_PELTA);
    EXPECT_DOUBLE_EQ(loaded.ReferenceVoltage(), 4.9);

    WriteIni("[Analog Group 0:1]\r\nModuleType=3\r\nRefVoltage=4.5\r\n"
             "[Analog Group 0:2]\r\nHasInit=false\r\nModuleType=x\r\nRefVoltage=inf\r\n"
             "[Analog Group 0:3]\r\nHasInit=false\r\nModuleType=9\r\nRefVoltage=-2\r\n"
             "[Analog Group 0:4]\r\nHasInit=false\r\nModuleType=2 ; Pelta\r\nRefVoltage=4.9 V\r\n"
             "[Analog Group 0:0]\r\nHasInit=false\r\nModuleType=1\r\nRefVoltage=4.8\r\n");
    ChannelGroup unmarked(1, MODULE_UNKNOWN);
    unmarked.Load(0, path.c_str());
    EXPECT_EQ(unmarked.ModuleType(), MODULE_UNKNOWN);
    EXPECT_DOUBLE_EQ(unmarked.ReferenceVoltage(), 5.0);
    ChannelGroup garbled(2, MODULE_PELMO);
    garbled.Load(0, path.c_str());
    EXPECT_EQ(garbled.ModuleType(), MODULE_UNKNOWN);
    EXPECT_DOUBLE_EQ(garbled.ReferenceVoltage(), 5.0);
    ChannelGroup outOfRange(3, MODULE_UNKNOWN);
    outOfRange.Load(0, path.c_str());
    EXPECT_EQ(outOfRange.ModuleType(), MODULE_UNKNOWN);
    EXPECT_DOUBLE_EQ(outOfRange.ReferenceVoltage(), 5.0);
    // Numbers followed by a comment are read as their leading number.
    ChannelGroup commented(4, MODULE_UNKNOWN);
    commented.Load(0, path.c_str());
    EXPECT_EQ(commented.ModuleType(), MODULE_PELTA);
    EXPECT_DOUBLE_EQ(commented.ReferenceVoltage(), 4.9);
    // A page of the controller's own channels never becomes a module page.
    ChannelGroup standard(0, MODULE_STANDARD);
    standard.Load(0, path.c_str());
    EXPECT_EQ(standard.ModuleType(), MODULE_STANDARD);
    EXPECT_DOUBLE_EQ(standard.ReferenceVoltage(), 4.8);
}

} // namespace
