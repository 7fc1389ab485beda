// Handles, error codes, configuration records and dead-handle calls.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim_fixture.h"

namespace {

// Reloads the simulator from a file of `text`, named without a folder so
// that it is taken from the working folder.
bool ReloadFrom(const char* text)
{
    char name[64];
    snprintf(name, sizeof name, "simtest_%lu.ini", GetCurrentProcessId());
    FILE* file = fopen(name, "w");
    if (!file)
        return false;
    fputs(text, file);
    fclose(file);
    bool loaded = TavroSim_Reload(name) == TAVRO_OK;
    DeleteFileA(name);
    return loaded;
}

} // namespace

TEST_F(SimTest, HandlesAreFreshAndCountUpwardSoStaleOnesStayDead)
{
    short second = Open(0);
    EXPECT_GT(second, h);
    ASSERT_EQ(TAVRO_OK, TavroClose(second));
    short third = Open(1);
    EXPECT_GT(third, second);
    EXPECT_EQ(1, TavroSim_ControllerIdOfHandle(third));
    EXPECT_EQ(-1, TavroSim_ControllerIdOfHandle(second));

    double position = 7.0;
    EXPECT_LT(TavroGetPositionEx(second, 1, &position), 0);
    EXPECT_EQ(0.0, position);
    EXPECT_LT(TavroClose(second), 0);
    EXPECT_EQ(TAVRO_OK, TavroClose(third));
    EXPECT_EQ(1, TavroSim_OpenHandleCount());

    // After 32767 the numbers wrap to 1 and pass over the handle still open.
    short last = 0;
    for (int i = 0; i < 33000; ++i) {
        short next = TavroOpen(0, TAVRO_OPEN_SHARED, "");
        ASSERT_GT(next, 0);
        ASSERT_NE(h, next);
        ASSERT_EQ(TAVRO_OK, TavroClose(next));
        last = next;
    }
    EXPECT_LT(last, 1000);
}

TEST_F(SimTest, FailedOpensGiveDistinctCodesWithTexts)
{
    short offline = TavroOpen(7, TAVRO_OPEN_SHARED, "");
    short noDriver = TavroOpen(8, TAVRO_OPEN_SHARED, nullptr);
    short unknown = TavroOpen(42, TAVRO_OPEN_SHARED, "");
    EXPECT_LT(offline, 0);
    EXPECT_LT(noDriver, 0);
    EXPECT_LT(unknown, 0);
    EXPECT_NE(offline, noDriver);
    EXPECT_NE(offline, unknown);

    char a[128], b[128], c[128];
    TavroTranslateErrorEx(offline, a, sizeof a);
    TavroTranslateErrorEx(noDriver, b, sizeof b);
    TavroTranslateErrorEx(unknown, c, sizeof c);
    EXPECT_STRNE(a, b);
    EXPECT_STRNE(a, c);
    EXPECT_GT(strlen(a), 0u);

    // Every code has a text, cut to the buffer and always terminated.
    char small[8];
    memset(small, 'x', sizeof small);
    EXPECT_EQ(TAVRO_OK, TavroTranslateErrorEx(-12345, small, sizeof small));
    EXPECT_EQ(7u, strlen(small));
    char zero[128];
    TavroTranslateErrorEx(0, zero, sizeof zero);
    EXPECT_GT(strlen(zero), 0u);
}

TEST_F(SimTest, SizedRecordsAreNeverWrittenAtOrPastTheirSize)
{
    unsigned char raw[132];
    memset(raw, 0xAB, sizeof raw);
    auto* config = reinterpret_cast<TavroControllerConfig*>(raw);
    config->size = 124;
    ASSERT_EQ(TAVRO_OK, TavroGetConfigurationEx(h, config));
    EXPECT_EQ(1, config->controllerType);
    EXPECT_EQ(4, config->axisCount);
    EXPECT_EQ(48, config->digitalChannels);
    EXPECT_EQ(8, config->analogInputs);
    for (size_t i = 124; i < sizeof raw; ++i)
        EXPECT_EQ(0xAB, raw[i]) << "byte " << i;

    memset(raw, 0xAB, sizeof raw);
    auto* axis = reinterpret_cast<TavroAxisConfig*>(raw);
    axis->size = 40; // ends inside the sample periods
    ASSERT_EQ(TAVRO_OK, TavroGetAxisConfiguration(h, 1, axis));
    EXPECT_EQ(0x780, axis->captureFlags);
    EXPECT_EQ(4096, axis->captureBufferSize);
    double period = axis->samplePeriodHigh; // a packed double: never bound to a reference
    EXPECT_EQ(0.00025, period);
    for (size_t i = 40; i < sizeof raw; ++i)
        EXPECT_EQ(0xAB, raw[i]) << "byte " << i;

    // A dead handle zeroes the record from byte 4 up to its size.
    memset(raw, 0xAB, sizeof raw);
    config->size = 128;
    EXPECT_LT(TavroGetConfigurationEx(0, config), 0);
    EXPECT_EQ(128u, config->size);
    for (size_t i = 4; i < 128; ++i)
        EXPECT_EQ(0, raw[i]) << "byte " << i;
    EXPECT_EQ(0xAB, raw[128]);
}

TEST_F(SimTest, ControllerModelsReportWhatTheProgramsRelyOn)
{
    TavroControllerConfig config = {};
    config.size = sizeof config;

    short type8 = Open(3);
    TavroGetConfigurationEx(type8, &config);
    EXPECT_EQ(8, config.controllerType);
    TavroAxisConfig axis = {};
    axis.size = sizeof axis;
    TavroGetAxisConfiguration(type8, 1, &axis);
    // The axis count doubles as the servo period in milliseconds.
    EXPECT_DOUBLE_EQ(config.axisCount * 0.001, axis.samplePeriodHigh);

    short analog = Open(5);
    memset(&config, 0, sizeof config);
    config.size = sizeof config;
    TavroGetConfigurationEx(analog, &config);
    EXPECT_EQ(0, config.axisCount);
    EXPECT_EQ(16, config.analogInBits);
    EXPECT_EQ(12, config.analogOutBits);
    EXPECT_EQ(-10.0, config.analogInMin);
    double outMax = config.analogOutMax;
    EXPECT_EQ(10.0, outMax);

    short large = Open(1);
    TavroGetConfigurationEx(large, &config);
    EXPECT_EQ(4, config.flags & TAVRO_CTRL_FRACTIONAL_GAINS);
    EXPECT_EQ(144, config.digitalChannels);
    int32_t modules[16];
    ASSERT_EQ(TAVRO_OK, TavroGetInstalledModules(large, modules, static_cast<short>(config.moduleSlots)));
    int analogModules = 0;
    for (int i = 0; i < config.moduleSlots; ++i)
        analogModules += modules[i] == TAVRO_MODULE_ANALOG;
    EXPECT_EQ(2, analogModules);
    TavroGetAxisConfiguration(large, 5, &axis);
    EXPECT_EQ(4, axis.moduleType);
    EXPECT_EQ(0, axis.axisFlags & TAVRO_AXIS_SERVO);
    EXPECT_EQ(0, axis.captureFlags);
    short profile = 0;
    TavroGetProfile(large, 3, &profile);
    EXPECT_EQ(TAVRO_PROFILE_SCURVE, profile);

    TavroBasicConfig basic;
    memset(&basic, 0xAB, sizeof basic);
    ASSERT_EQ(TAVRO_OK, TavroGetConfiguration(large, &basic));
    EXPECT_EQ(10, basic.axisCount);
}

TEST_F(SimTest, DeadHandlesChangeNothingAndZeroTheirOutputs)
{
    TavroEnableAxis(h, 1, 1);
    short closed = Open(0);
    TavroClose(closed);
    TavroSim_ResetCallCounts();
    const short dead[] = {0, -3, closed, 999};
    for (short d : dead) {
        EXPECT_LT(TavroMoveRelative(d, 1, 500.0), 0);
        EXPECT_LT(TavroEnableAxis(d, 1, 0), 0);
        EXPECT_LT(TavroSetGain(d, 1, 5.0), 0);
        EXPECT_LT(TavroSetAnalog(d, 1, 4000), 0);
        EXPECT_LT(TavroEnableDigitalIO(d, 1, 1), 0);
        double value = 3.0;
        EXPECT_LT(TavroGetTargetEx(d, 1, &value), 0);
        EXPECT_EQ(0.0, value);
        TavroMotionConfig motion;
        memset(&motion, 0xAB, sizeof motion);
        EXPECT_LT(TavroGetMotionConfig(d, 1, &motion), 0);
        EXPECT_EQ(0.0, motion.velocity);
        EXPECT_EQ(0, motion.updateRate);
        unsigned short word = 7;
        EXPECT_LT(TavroGetDigitalIOConfig(d, 1, &word), 0);
        EXPECT_EQ(0, word);
        EXPECT_EQ(0u, TavroGetStatus(d, 1));
        EXPECT_NE(0, TavroIsStopped(d, 0, 0.0));
        EXPECT_EQ(0, TavroGetDigitalIO(d, 1));
        EXPECT_EQ(0, TavroGetAnalog(d, 1));
    }
    EXPECT_EQ(4 * 12, TavroSim_DeadHandleCallCount());

    Run(0.2);
    TavroSimAxisState state = Axis(0, 1);
    EXPECT_EQ(1, state.motorOn);
    EXPECT_EQ(0.0, state.target);
    double gain = 0.0;
    TavroGetGain(h, 1, &gain);
    EXPECT_EQ(800.0, gain);
    EXPECT_EQ(2048, TavroSim_GetAnalogOutput(0, 1));

    // Axes and channels the controller lacks fail the same way.
    double value = 3.0;
    EXPECT_EQ(TAVRO_ERR_BAD_AXIS, TavroGetPositionEx(h, 5, &value));
    EXPECT_EQ(0.0, value);
    EXPECT_EQ(0u, TavroGetStatus(h, 0));
    EXPECT_LT(TavroConfigureDigitalIO(h, 49, 2), 0);
    EXPECT_LT(TavroSetAnalog(h, 9, 100), 0);
}

TEST_F(SimTest, ControllersComeFromTheNamedFileOrTheBuiltInDefault)
{
    TavroClose(h);
    h = 0;
    ASSERT_EQ(TAVRO_OK, TavroSim_Reload("no_such_tavrosim.ini"));
    ASSERT_EQ(1, TavroSim_ControllerCount());
    TavroSimControllerInfo info;
    ASSERT_EQ(TAVRO_OK, TavroSim_ControllerAt(0, &info));
    EXPECT_EQ(0, info.id);
    EXPECT_EQ(1, info.controllerType);
    EXPECT_EQ(4, info.axisCount);

    // A name without a folder is taken from the working folder.
    ASSERT_TRUE(ReloadFrom("[Controller3]\nType=5\nDescription=Bench\nAxes=2\nDigitalChannels=8\n"
                           "[Controller9]\nType=1\nOpenError=-10\n"));
    ASSERT_EQ(2, TavroSim_ControllerCount());
    TavroSim_ControllerAt(0, &info);
    EXPECT_EQ(3, info.id);
    EXPECT_STREQ("Bench", info.description);
    EXPECT_EQ(8, info.digitalChannels);
    TavroSim_ControllerAt(1, &info);
    EXPECT_EQ(-10, info.openError);
    EXPECT_EQ(-10, TavroOpen(9, TAVRO_OPEN_SHARED, ""));
    EXPECT_LT(TavroOpen(0, TAVRO_OPEN_SHARED, ""), 0);
    short handle = TavroOpen(3, TAVRO_OPEN_SHARED, "");
    EXPECT_GT(handle, 0);
    TavroClose(handle);
}

TEST_F(SimTest, PeriodsAndScalesOfTheFileAreKeptWithinTheirRange)
{
    TavroClose(h);
    h = 0;
    ASSERT_TRUE(ReloadFrom("[Controller0]\nType=1\nAxes=3\nSamplePeriods=1e-9,5,-1\nScale=0\nAxis2Scale=2.5\n"
                           "Axis3Scale=1e12\n"));
    h = Open(0);
    TavroAxisConfig axis = {};
    axis.size = sizeof axis;
    ASSERT_EQ(TAVRO_OK, TavroGetAxisConfiguration(h, 1, &axis));
    EXPECT_DOUBLE_EQ(0.00005, axis.samplePeriodHigh);
    EXPECT_DOUBLE_EQ(0.1, axis.samplePeriodMed);
    EXPECT_DOUBLE_EQ(0.001, axis.samplePeriodLow) << "not a period: the default stays";
    const double scales[] = {1.0, 2.5, 1.0};
    for (short a = 1; a <= 3; ++a) {
        TavroScale scale = {};
        TavroGetScale(h, a, &scale);
        EXPECT_EQ(scales[a - 1], scale.positionScale) << "axis " << a;
    }

    // A second at the shortest tick is 20000 ticks of work, not billions.
    TavroEnableAxis(h, 1, 1);
    TavroMoveRelative(h, 1, 1000.0);
    DWORD start = GetTickCount();
    ASSERT_EQ(TAVRO_OK, TavroSim_Advance(1.0));
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_NE(0, TavroIsStopped(h, 1, 0.0));

    // Numbers that are not finite, and an auxiliary ratio no reading could
    // carry, keep their defaults: every reading stays a number.
    TavroClose(h);
    h = 0;
    ASSERT_TRUE(ReloadFrom("[Controller0]\nType=1\nAxes=1\nSamplePeriods=inf,nan,-inf\nAuxRatio=nan\n"
                           "Limits=-inf,nan\n"
                           "[Controller1]\nType=1\nAxes=1\nAuxRatio=-inf\nAxis1Limits=1e309,-1e309\n"
                           "[Controller2]\nType=1\nAxes=1\nAuxRatio=1e306\n"));
    for (short id = 0; id <= 2; ++id) {
        SCOPED_TRACE(testing::Message() << "controller " << id);
        short other = Open(id);
        axis = {};
        axis.size = sizeof axis;
        ASSERT_EQ(TAVRO_OK, TavroGetAxisConfiguration(other, 1, &axis));
        EXPECT_DOUBLE_EQ(0.00025, axis.samplePeriodHigh);
        EXPECT_DOUBLE_EQ(0.0005, axis.samplePeriodMed);
        EXPECT_DOUBLE_EQ(0.001, axis.samplePeriodLow);
        TavroEnableAxis(other, 1, 1);
        ASSERT_EQ(TAVRO_OK, TavroCaptureData(other, 1, 500, 0.001, 0.0));
        TavroMoveRelative(other, 1, 1000.0);
        Run(1.0);
        double position = 0.0, aux = 0.0, sample = 0.0;
        TavroGetPositionEx(other, 1, &position);
        TavroGetAuxEncPosEx(other, 1, &aux);
        EXPECT_NEAR(1000.0, position, 2.0);
        EXPECT_NEAR(position, aux, 1.0);
        ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(other, 1, TAVRO_CAPTURE_KIND_AUX, 499, 1, &sample));
        EXPECT_NEAR(position, sample, 2.0);
        EXPECT_EQ(0u, TavroGetStatus(other, 1) & (1u << TAVRO_STAT_LIMIT_POS | 1u << TAVRO_STAT_LIMIT_NEG));
        TavroClose(other);
    }
}

TEST_F(SimTest, ChannelSetsAnalogSpansAndCodesAtTheEdgeOfTheirRangeStayUsable)
{
    TavroClose(h);
    h = 0;
    ASSERT_TRUE(ReloadFrom("[Controller0]\nType=1\nDigitalChannels=8\nLatchable=2147483647,7-2147483647\n"
                           "AnalogInputs=1\nAnalogOutputs=1\nAnalogInMin=0\nAnalogInMax=0.000001\n"
                           "[Controller1]\nType=1\nAnalogInputs=1\nAnalogOutputs=1\nReportAnalog=1\n"
                           "AnalogInMin=-1e308\nAnalogInMax=1e308\nAnalogOutMin=-1e308\nAnalogOutMax=1e308\n"
                           "Modules=1,1e308,12,15\nAxes=2\nAxisModules=-1e10,nan\n"
                           "[Controller2]\nType=1\nAnalogInputs=1\nReportAnalog=1\nAnalogInMin=-inf\n"
                           "AnalogOutMin=nan\nAnalogOutMax=1e309\n"));
    h = Open(0);
    for (short ch = 1; ch <= 8; ++ch)
        EXPECT_EQ(ch >= 7, (TavroSim_GetDigitalConfig(0, ch) & TAVRO_DIO_CAN_LATCH) != 0) << ch;
    // A full-scale output read through a microvolt span gives the top count.
    TavroSetAnalog(h, 1, 4095);
    EXPECT_EQ(4095, TavroGetAnalog(h, 1));
    TavroSetAnalog(h, 1, 0);
    EXPECT_EQ(0, TavroGetAnalog(h, 1));

    // An infinite span, or an end that is not finite, keeps the default range.
    for (short id = 1; id <= 2; ++id) {
        short other = Open(id);
        TavroControllerConfig config = {};
        config.size = sizeof config;
        ASSERT_EQ(TAVRO_OK, TavroGetConfigurationEx(other, &config));
        EXPECT_EQ(-10.0, config.analogInMin) << id;
        EXPECT_EQ(10.0, config.analogInMax) << id;
        // Packed at offsets no double reference may bind to: copied.
        const double outMin = config.analogOutMin, outMax = config.analogOutMax;
        EXPECT_EQ(-10.0, outMin) << id;
        EXPECT_EQ(10.0, outMax) << id;
        TavroClose(other);
    }
    short wide = Open(1);
    TavroSetAnalog(wide, 1, 3072); // +5 V
    EXPECT_NEAR(3072, TavroGetAnalog(wide, 1), 1);
    // A code no int can hold: an empty slot, an axis on the default module.
    int32_t modules[4] = {};
    ASSERT_EQ(TAVRO_OK, TavroGetInstalledModules(wide, modules, 4));
    EXPECT_EQ(TAVRO_MODULE_EMPTY, modules[1]);
    EXPECT_EQ(12, modules[2]);
    for (short a = 1; a <= 2; ++a) {
        TavroAxisConfig axis = {};
        axis.size = sizeof axis;
        ASSERT_EQ(TAVRO_OK, TavroGetAxisConfiguration(wide, a, &axis));
        EXPECT_EQ(1, axis.moduleType) << a;
    }
    TavroClose(wide);
}
