// Digital and analog I/O, and the trace file.
#include <windows.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "sim_fixture.h"

TEST_F(SimTest, DigitalCodesSetDirectionAndPolarityAndOutputsLoopBack)
{
    unsigned short word = 0;
    ASSERT_EQ(TAVRO_OK, TavroGetDigitalIOConfig(h, 1, &word));
    EXPECT_EQ(TAVRO_DIO_ACTIVE_HIGH | TAVRO_DIO_CAN_LATCH, word);

    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 1, TAVRO_DIO_MODE_OUTPUT | TAVRO_DIO_MODE_HIGH));
    EXPECT_EQ(TAVRO_DIO_OUTPUT, TavroSim_GetDigitalConfig(0, 1) & TAVRO_DIO_OUTPUT);
    EXPECT_EQ(0, TavroGetDigitalIO(h, 9));
    ASSERT_EQ(TAVRO_OK, TavroEnableDigitalIO(h, 1, 1));
    EXPECT_EQ(1, TavroGetDigitalIO(h, 1));
    EXPECT_EQ(1, TavroSim_GetDigitalOutput(0, 1));
    EXPECT_EQ(1, TavroGetDigitalIO(h, 9)) << "input 9 is wired back from output 1";

    // An active-low input reads on at a low level.
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 9, TAVRO_DIO_MODE_LOW));
    EXPECT_EQ(0, TavroGetDigitalIO(h, 9));
    TavroEnableDigitalIO(h, 1, 0);
    EXPECT_EQ(1, TavroGetDigitalIO(h, 9));

    // Back to an input: the output state is dropped.
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 1, TAVRO_DIO_MODE_INPUT | TAVRO_DIO_MODE_HIGH));
    EXPECT_EQ(0, TavroSim_GetDigitalOutput(0, 1));
    EXPECT_LT(TavroEnableDigitalIO(h, 1, 1), 0) << "an input cannot be switched";
    EXPECT_LT(TavroConfigureDigitalIO(h, 2, TAVRO_DIO_MODE_INPUT | TAVRO_DIO_MODE_OUTPUT), 0);
    EXPECT_LT(TavroConfigureDigitalIO(h, 2, 0x40), 0);

    TavroSim_SetDigitalInput(0, 3, 1);
    EXPECT_EQ(1, TavroGetDigitalIO(h, 3));
    TavroSim_SetDigitalInput(0, 3, 0);
    EXPECT_EQ(0, TavroGetDigitalIO(h, 3));
}

TEST_F(SimTest, LatchedInputsHoldAPulseUntilRead)
{
    EXPECT_LT(TavroConfigureDigitalIO(h, 20, TAVRO_DIO_MODE_LATCH), 0) << "channel 20 cannot latch";
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 2, TAVRO_DIO_MODE_LATCH));
    EXPECT_NE(0, TavroSim_GetDigitalConfig(0, 2) & TAVRO_DIO_LATCHED);
    TavroSim_SetDigitalInput(0, 2, 1);
    TavroSim_SetDigitalInput(0, 2, 0);
    EXPECT_EQ(1, TavroGetDigitalIO(h, 2));
    EXPECT_EQ(0, TavroGetDigitalIO(h, 2));

    // Channel 7 sees 10 ms pulses every 1.5 s: only the latch catches one.
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 7, TAVRO_DIO_MODE_INPUT));
    TavroSim_Advance(0.5);
    EXPECT_EQ(0, TavroGetDigitalIO(h, 7));
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 7, TAVRO_DIO_MODE_LATCH));
    TavroSim_Advance(1.2);
    EXPECT_EQ(1, TavroGetDigitalIO(h, 7));
    EXPECT_EQ(0, TavroGetDigitalIO(h, 7));

    // Code 1 turns the latch off again.
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(h, 7, TAVRO_DIO_MODE_INPUT));
    EXPECT_EQ(0, TavroSim_GetDigitalConfig(0, 7) & TAVRO_DIO_LATCHED);
}

TEST_F(SimTest, FixedAndStepperChannelsRefuseChanges)
{
    short large = Open(1);
    unsigned short word = 0;
    TavroGetDigitalIOConfig(large, 1, &word);
    EXPECT_EQ(TAVRO_DIO_FIXED | TAVRO_DIO_ACTIVE_HIGH, word);
    EXPECT_LT(TavroConfigureDigitalIO(large, 1, TAVRO_DIO_MODE_OUTPUT), 0);
    EXPECT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 1, TAVRO_DIO_MODE_LOW));
    TavroGetDigitalIOConfig(large, 17, &word);
    EXPECT_EQ(TAVRO_DIO_FIXED | TAVRO_DIO_OUTPUT, word & (TAVRO_DIO_FIXED | TAVRO_DIO_OUTPUT));
    EXPECT_EQ(TAVRO_OK, TavroEnableDigitalIO(large, 17, 1));
    TavroGetDigitalIOConfig(large, 140, &word);
    EXPECT_NE(0, word & TAVRO_DIO_STEPPER);
    EXPECT_LT(TavroConfigureDigitalIO(large, 140, TAVRO_DIO_MODE_INPUT), 0);
    EXPECT_EQ(word, TavroSim_GetDigitalConfig(1, 140));
    TavroClose(large);
}

TEST_F(SimTest, ResetCodeSetsThePolarityOfFixedChannels)
{
    short large = Open(1); // 1-8 fixed inputs, 17-24 fixed outputs
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 17, TAVRO_DIO_MODE_LOW));
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 1, TAVRO_DIO_MODE_LOW));
    EXPECT_EQ(0, TavroSim_GetDigitalConfig(1, 17) & TAVRO_DIO_ACTIVE_HIGH);

    // Code 5 (input, active high) is the power-on state; a fixed output
    // keeps its direction and takes the polarity.
    const unsigned short reset = TAVRO_DIO_MODE_INPUT | TAVRO_DIO_MODE_HIGH;
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 17, reset));
    EXPECT_EQ(TAVRO_DIO_FIXED | TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH, TavroSim_GetDigitalConfig(1, 17));
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 1, reset));
    EXPECT_EQ(TAVRO_DIO_FIXED | TAVRO_DIO_ACTIVE_HIGH, TavroSim_GetDigitalConfig(1, 1));

    // A fixed input set to output, active low: only the polarity is taken.
    ASSERT_EQ(TAVRO_OK, TavroConfigureDigitalIO(large, 1, TAVRO_DIO_MODE_OUTPUT | TAVRO_DIO_MODE_LOW));
    EXPECT_EQ(TAVRO_DIO_FIXED, TavroSim_GetDigitalConfig(1, 1));
    // Nothing but a direction it cannot take is still refused.
    EXPECT_LT(TavroConfigureDigitalIO(large, 17, TAVRO_DIO_MODE_INPUT), 0);
    TavroClose(large);
}

TEST_F(SimTest, Type5OutputsTakeTheCountsOfTheWholeConverterRange)
{
    // 12-bit outputs of 0 to 5 V, read back through 10-bit inputs.
    short compact = Open(2);
    for (long counts : {0L, 1024L, 2048L, 3072L, 4095L}) {
        ASSERT_EQ(TAVRO_OK, TavroSetAnalog(compact, 1, counts));
        EXPECT_EQ(counts, TavroSim_GetAnalogOutput(2, 1));
        EXPECT_NEAR(counts / 4.0, TavroGetAnalog(compact, 1), 2.0) << counts;
    }
    TavroClose(compact);
}

TEST_F(SimTest, AnalogOutputsClampAndLoopBackToTheirInputs)
{
    ASSERT_EQ(TAVRO_OK, TavroSetAnalog(h, 1, 3072)); // +5 V
    EXPECT_EQ(3072, TavroSim_GetAnalogOutput(0, 1));
    long in = TavroGetAnalog(h, 1);
    EXPECT_NEAR(3072, in, 1);

    EXPECT_EQ(TAVRO_OK, TavroSetAnalog(h, 1, 9000));
    EXPECT_EQ(4095, TavroSim_GetAnalogOutput(0, 1));
    EXPECT_EQ(TAVRO_OK, TavroSetAnalog(h, 1, -7));
    EXPECT_EQ(0, TavroSim_GetAnalogOutput(0, 1));

    ASSERT_EQ(TAVRO_OK, TavroSim_SetAnalogInput(0, 2, 2.5));
    EXPECT_EQ(2560, TavroGetAnalog(h, 2));
    TavroSim_SetAnalogInput(0, 2, 100.0);
    EXPECT_EQ(4095, TavroGetAnalog(h, 2));

    // Even inputs follow a slow waveform: it moves over seconds.
    TavroSim_SetAnalogInput(0, 2, NAN);
    long first = TavroGetAnalog(h, 2);
    TavroSim_Advance(1.5);
    EXPECT_GT(std::labs(TavroGetAnalog(h, 2) - first), 50);

    // 16-bit inputs of the analog-only controller.
    short analog = Open(5);
    TavroSim_SetAnalogInput(5, 3, 5.0);
    EXPECT_EQ(49152, TavroGetAnalog(analog, 3));
    EXPECT_EQ(0, TavroGetAnalog(analog, 9));
    TavroClose(analog);
}

namespace {

// A fresh trace file named in TAVROSIM_TRACE. The library reads the name when
// it first works, so this comes before any call.
std::string StartTrace(const char* stem)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    snprintf(path, sizeof path, "%s%s_%lu.txt", folder, stem, GetCurrentProcessId());
    DeleteFileA(path);
    SetEnvironmentVariableA("TAVROSIM_TRACE", path);
    return path;
}

std::string ReadTrace(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(SimTrace, TraceFileHasOneLinePerCall)
{
    std::string path = StartTrace("simtrace");
    short h = TavroOpen(0, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(h, 0);
    TavroMoveRelative(h, 2, 250.5);
    TavroGetStatus(0, 1);
    EXPECT_EQ(TAVRO_ERR_NOT_SUPPORTED, TavroGetVersion(h));
    TavroClose(h);

    std::string lines = ReadTrace(path);
    DeleteFileA(path.c_str());
    EXPECT_NE(std::string::npos, lines.find("TavroOpen(0, 2, \"\") = " + std::to_string(h)));
    EXPECT_NE(std::string::npos, lines.find("TavroMoveRelative(" + std::to_string(h) + ", 2, 250.500000) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroGetStatus(0, 1) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroGetVersion(" + std::to_string(h) + ") = -1"));
    EXPECT_NE(std::string::npos, lines.find("TavroClose(" + std::to_string(h) + ") = 0"));
}

TEST(SimTrace, TraceShowsTheRecordsACallSetsOrReturns)
{
    std::string path = StartTrace("simtrace_records");
    short h = TavroOpen(0, TAVRO_OPEN_SHARED, "");
    ASSERT_GT(h, 0);
    const std::string hs = std::to_string(h);

    TavroFilterConfig filter;
    ASSERT_EQ(TAVRO_OK, TavroGetFilterConfig(h, 1, &filter));
    filter.integralGain = 0.125;
    filter.derivativeGain = 7.5;
    ASSERT_EQ(TAVRO_OK, TavroSetFilterConfig(h, 1, &filter));
    TavroMotionConfig motion;
    TavroGetMotionConfig(h, 1, &motion);
    motion.velocity = 12345.5;
    ASSERT_EQ(TAVRO_OK, TavroSetMotionConfig(h, 1, &motion));
    TavroScale scale;
    TavroGetScale(h, 1, &scale);
    scale.positionScale = 250.0;
    ASSERT_EQ(TAVRO_OK, TavroSetScale(h, 1, &scale));
    double value = 2.5;
    ASSERT_EQ(TAVRO_OK, TavroSetRegister(h, 3, &value, 4));
    TavroSetPosition(h, 1, 4.0);
    TavroGetPositionEx(h, 1, &value);
    unsigned short word = 0;
    TavroGetDigitalIOConfig(h, 1, &word);
    TavroControllerConfig config;
    memset(&config, 0, sizeof config);
    config.size = 40;
    TavroGetConfigurationEx(h, &config);
    char text[128];
    TavroTranslateErrorEx(TAVRO_ERR_BAD_AXIS, text, sizeof text);

    // Read while the library still has the file open: every line is there.
    const std::string lines = ReadTrace(path);
    EXPECT_NE(std::string::npos,
              lines.find("TavroSetFilterConfig(" + hs + ", 1, {derivativeGain=7.5, derivativePeriod=0.00025, "
                         "integralGain=0.125, integrationLimit=5, velocityGain=0, maxFollowingError=2000}) = 0"))
        << lines;
    EXPECT_NE(std::string::npos, lines.find("TavroSetMotionConfig(" + hs + ", 1, {acceleration=200000, "
                                            "deceleration=200000, velocity=12345.5, proportionalGain=800, "
                                            "maxTorque=10, updateRate=4}) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroSetScale(" + hs + ", 1, {encoderScale=1, auxEncoderScale=1, "
                                            "outputScale=1, positionScale=250, velocityScale=1, timeScale=1}) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroSetRegister(" + hs + ", 3, {2.5}, 4) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroGetPositionEx(" + hs + ", 1, {4}) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroGetDigitalIOConfig(" + hs + ", 1, {0x0204}) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroGetConfigurationEx(" + hs + ", {size=40, controllerType=1, "
                                            "axisCount=4, moduleSlots=4, flags=0x0, digitalChannels=48, "
                                            "analogInputs=8, analogOutputs=8}) = 0"));
    EXPECT_NE(std::string::npos, lines.find("TavroTranslateErrorEx(-3, {\"Invalid axis number\"}, 128) = 0"));
    TavroClose(h);
    DeleteFileA(path.c_str());
}
