// Download of controller command files as the tuning program exports them.
#include "dialog_test_env.h"

#include <cstdio>
#include <string>
#include <vector>

using testing_support::DialogAnswerer;
using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

class Download : public OpenController {};

// The servo period of an axis at its update rate.
double ServoPeriod(short handle, short axis)
{
    TavroControllerConfig controller = {};
    controller.size = sizeof controller;
    EXPECT_EQ(TavroGetConfigurationEx(handle, &controller), TAVRO_OK);
    if (controller.controllerType == 8)
        return controller.axisCount * 0.001;
    TavroAxisConfig config = {};
    config.size = sizeof config;
    EXPECT_EQ(TavroGetAxisConfiguration(handle, axis, &config), TAVRO_OK);
    switch (Motion(handle, axis).updateRate) {
    case TAVRO_RATE_LOW:
        return config.samplePeriodLow;
    case TAVRO_RATE_MED:
        return config.samplePeriodMed;
    default:
        return config.samplePeriodHigh;
    }
}

// One axis in the export's own layout: the filter lines for a servo axis
// only, `decimals` digits after the point.
std::string AxisBlock(int axis, int decimals, bool servo, double p, double i, double d, double limit, int fr,
                      double vg, double se, double torque, double velocity, double accel, double decel)
{
    char text[1024] = "";
    int used = 0;
    if (servo)
        used = snprintf(text, sizeof text,
                        ";\r\n;Axis %d setup\r\n;\r\n"
                        "%dSG%.*lf\t\t;Proportional Gain\r\n%dSI%.*lf\t\t;Integral Gain\r\n"
                        "%dSD%.*lf\t\t;Derivative Gain\r\n%dIL%.*lf\t\t;Integration Limit\r\n"
                        "%dFR%d\t\t;Derivative Sampling Period\r\n%dVG%.*lf\t\t;Velocity Gain (Feed Forward)\r\n"
                        "%dSE%.*lf\t\t;Stop on Error\r\n%dSQ%.*lf\t\t;Torque\r\n",
                        axis, axis, decimals, p, axis, decimals, i, axis, decimals, d, axis, decimals, limit,
                        axis, fr, axis, decimals, vg, axis, decimals, se, axis, decimals, torque);
    snprintf(text + used, sizeof text - static_cast<size_t>(used),
             "%dSV%.*lf\t\t;Velocity\r\n%dSA%.*lf\t\t;Acceleration\r\n%dDS%.*lf\t\t;Deceleration\r\n", axis,
             decimals, velocity, axis, decimals, accel, axis, decimals, decel);
    return text;
}

struct AxisTuning {
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    bool servo;
};

AxisTuning ReadTuning(short handle, short axis)
{
    TavroAxisConfig config = {};
    config.size = sizeof config;
    EXPECT_EQ(TavroGetAxisConfiguration(handle, axis, &config), TAVRO_OK);
    AxisTuning tuning = {Motion(handle, axis), {}, (config.axisFlags & TAVRO_AXIS_SERVO) != 0};
    if (tuning.servo)
        tuning.filter = Filter(handle, axis);
    return tuning;
}

// The command file exactly as the tuning program exports it: 5 decimals on
// a fractional-gain controller, none otherwise; the filter lines of servo
// axes only.
void ExportTuning(short handle, int axisCount, int decimals, const std::string& path)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    for (int i = 1; i <= axisCount; ++i) {
        AxisTuning t = ReadTuning(handle, static_cast<short>(i));
        int fr = t.servo ? static_cast<int>(t.filter.derivativePeriod / ServoPeriod(handle, static_cast<short>(i)) *
                                            (1.0 + 1e-9)) - 1
                         : 0;
        fputs(AxisBlock(i, decimals, t.servo, t.motion.proportionalGain, t.filter.integralGain,
                        t.filter.derivativeGain, t.filter.integrationLimit, fr, t.filter.velocityGain,
                        t.filter.maxFollowingError, t.motion.maxTorque, t.motion.velocity, t.motion.acceleration,
                        t.motion.deceleration)
                  .c_str(),
              file);
    }
    fclose(file);
}

// Distinct settings for an axis, `k` apart from those of other axes; the
// update rate is kept, so servo periods stay as they are.
void SetTuning(short handle, short axis, double k, double derivativePeriods)
{
    TavroMotionConfig m = Motion(handle, axis);
    m.proportionalGain = 101.25 + k;
    m.maxTorque = 6.5 + k / 100;
    m.velocity = 4000.5 + k;
    m.acceleration = 80000.25 + k;
    m.deceleration = 90000.75 + k;
    ASSERT_EQ(TavroSetMotionConfig(handle, axis, &m), TAVRO_OK);
    if (!ReadTuning(handle, axis).servo)
        return;
    TavroFilterConfig f = Filter(handle, axis);
    f.integralGain = 20.125 + k;
    f.derivativeGain = 300.5 + k;
    f.integrationLimit = 40.75 + k;
    f.velocityGain = 2.5 + k;
    f.maxFollowingError = 1500.25 + k;
    f.derivativePeriod = derivativePeriods * ServoPeriod(handle, axis);
    ASSERT_EQ(TavroSetFilterConfig(handle, axis, &f), TAVRO_OK);
}

void ExpectTuning(const AxisTuning& want, const AxisTuning& got, double tolerance)
{
    EXPECT_NEAR(got.motion.velocity, want.motion.velocity, tolerance);
    EXPECT_NEAR(got.motion.acceleration, want.motion.acceleration, tolerance);
    EXPECT_NEAR(got.motion.deceleration, want.motion.deceleration, tolerance);
    if (!want.servo)
        return;
    EXPECT_NEAR(got.motion.proportionalGain, want.motion.proportionalGain, tolerance);
    EXPECT_NEAR(got.motion.maxTorque, want.motion.maxTorque, tolerance);
    EXPECT_NEAR(got.filter.integralGain, want.filter.integralGain, tolerance);
    EXPECT_NEAR(got.filter.derivativeGain, want.filter.derivativeGain, tolerance);
    EXPECT_NEAR(got.filter.integrationLimit, want.filter.integrationLimit, tolerance);
    EXPECT_NEAR(got.filter.velocityGain, want.filter.velocityGain, tolerance);
    EXPECT_NEAR(got.filter.maxFollowingError, want.filter.maxFollowingError, tolerance);
    EXPECT_NEAR(got.filter.derivativePeriod, want.filter.derivativePeriod, 1e-12);
}

} // namespace

// Integer and fractional gains, stepper axes without filter lines, and a
// derivative period below one servo period (exported as FR-1).
TEST(DownloadRoundTrip, ExportThenImportRestoresEveryAxisOnEveryKindOfController)
{
    ASSERT_EQ(TavroSim_Reload(nullptr), TAVRO_OK);
    int controllers = TavroSim_ControllerCount();
    int tried = 0;
    for (int c = 0; c < controllers; ++c) {
        TavroSimControllerInfo info = {};
        ASSERT_EQ(TavroSim_ControllerAt(c, &info), TAVRO_OK);
        short handle = info.openError == 0 ? TavroOpen(info.id, TAVRO_OPEN_SHARED, "") : -1;
        if (handle <= 0)
            continue;
        TavroControllerConfig config = {};
        config.size = sizeof config;
        ASSERT_EQ(TavroGetConfigurationEx(handle, &config), TAVRO_OK);
        int axes = config.controllerType == 8 ? info.axisCount : config.axisCount;
        if (axes < 2) {
            TavroClose(handle);
            continue;
        }
        SCOPED_TRACE(info.description);
        ++tried;
        for (short a = 1; a <= axes; ++a)
            SetTuning(handle, a, a * 10.0, a == 2 ? 0.5 : a + 1.0);
        std::vector<AxisTuning> exported;
        for (short a = 1; a <= axes; ++a)
            exported.push_back(ReadTuning(handle, a));
        int decimals = (config.flags & TAVRO_CTRL_FRACTIONAL_GAINS) ? 5 : 0;
        TempFolder folder;
        std::string path = folder.File("tuning.tcl");
        ExportTuning(handle, axes, decimals, path);
        for (short a = 1; a <= axes; ++a)
            SetTuning(handle, a, 1.0, 2.0);

        DialogAnswerer answerer;
        EXPECT_EQ(TavroDLG_DownloadFile(nullptr, handle, 0, path.c_str()), 0);
        EXPECT_EQ(answerer.Count(), 0u) << (answerer.Count() ? answerer.Seen()[0].text : "");
        for (short a = 1; a <= axes; ++a) {
            SCOPED_TRACE(a);
            AxisTuning want = exported[static_cast<size_t>(a - 1)];
            if (a == 2)
                want.filter.derivativePeriod = ServoPeriod(handle, a);
            ExpectTuning(want, ReadTuning(handle, a), decimals ? 1e-5 : 0.5);
        }
        TavroClose(handle);
    }
    EXPECT_GE(tried, 3) << "integer-gain, fractional-gain and type-8 controllers";
}

TEST_F(Download, AnAxisWhoseSettingsAreRefusedKeepsThemAllAndIsNamed)
{
    TavroMotionConfig before2 = Motion(handle_, 2);
    TavroMotionConfig before3 = Motion(handle_, 3);
    TempFolder folder;
    std::string path = folder.File("refused.tcl");
    // Axis 2: a torque of 0 is refused; axis 3: a negative integral gain is
    // refused after its motion settings were accepted.
    WriteTextFile(path, "1SG77\r\n2SG88\r\n2SQ0\r\n3SG99\r\n3SI-1\r\n4SG66\r\n");
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_LT(TavroDLG_DownloadFile(nullptr, handle_, 0, path.c_str()), 0);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("axis 2, 3,"), std::string::npos) << answerer.Seen()[0].text;
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, 77);
    EXPECT_DOUBLE_EQ(Motion(handle_, 2).proportionalGain, before2.proportionalGain);
    EXPECT_DOUBLE_EQ(Motion(handle_, 2).maxTorque, before2.maxTorque);
    EXPECT_DOUBLE_EQ(Motion(handle_, 3).proportionalGain, before3.proportionalGain);
    EXPECT_DOUBLE_EQ(Motion(handle_, 4).proportionalGain, 66);
}

TEST_F(Download, ExportedCommandFileRestoresTheTuning)
{
    TempFolder folder;
    std::string path = folder.File("tuning.tcl");
    WriteTextFile(path, AxisBlock(1, 5, true, 3.5, 0.25, 12.75, 50, 3, 0.5, 2000, 9.5, 4000, 80000, 90000) + "\r\n" +
                            AxisBlock(2, 5, true, 1.25, 0, 4, 10, 0, 0, 1500, 8, 1000, 20000, 30000));
    double period1 = ServoPeriod(handle_, 1);
    DialogAnswerer answerer;
    EXPECT_EQ(TavroDLG_DownloadFile(nullptr, handle_, 0, path.c_str()), 0);
    EXPECT_EQ(answerer.Count(), 0u) << "a clean file shows no message";

    TavroMotionConfig m1 = Motion(handle_, 1);
    TavroFilterConfig f1 = Filter(handle_, 1);
    EXPECT_DOUBLE_EQ(m1.proportionalGain, 3.5);
    EXPECT_DOUBLE_EQ(f1.integralGain, 0.25);
    EXPECT_DOUBLE_EQ(f1.derivativeGain, 12.75);
    EXPECT_DOUBLE_EQ(f1.integrationLimit, 50);
    EXPECT_DOUBLE_EQ(f1.derivativePeriod, 4 * period1);
    EXPECT_DOUBLE_EQ(f1.velocityGain, 0.5);
    EXPECT_DOUBLE_EQ(f1.maxFollowingError, 2000);
    EXPECT_DOUBLE_EQ(m1.maxTorque, 9.5);
    EXPECT_DOUBLE_EQ(m1.velocity, 4000);
    EXPECT_DOUBLE_EQ(m1.acceleration, 80000);
    EXPECT_DOUBLE_EQ(m1.deceleration, 90000);
    EXPECT_DOUBLE_EQ(Motion(handle_, 2).proportionalGain, 1.25);
    EXPECT_DOUBLE_EQ(Filter(handle_, 2).derivativePeriod, ServoPeriod(handle_, 2));
}

TEST_F(Download, UnknownCommandsAreCountedAndReportedOnceAfterwards)
{
    TempFolder folder;
    std::string path = folder.File("mixed.tcl");
    char axisBeyond[32];
    snprintf(axisBeyond, sizeof axisBeyond, "%dSG1\n", controller_.axisCount + 1);
    // LF ends and lower-case letters are read as well.
    WriteTextFile(path, std::string("; a comment only\n\n1XY5\t; unknown command\n") + "garbage\n" + axisBeyond +
                            "1sg6.5\n   \n1SI1.5abc\n1SD2.5\n");
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_EQ(TavroDLG_DownloadFile(nullptr, handle_, 0, path.c_str()), 4);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("4 line"), std::string::npos) << answerer.Seen()[0].text;
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, 6.5);
    EXPECT_DOUBLE_EQ(Filter(handle_, 1).derivativeGain, 2.5);
}

TEST_F(Download, LinesEndAtLfCrLfOrALoneCr)
{
    TempFolder folder;
    std::string path = folder.File("ends.tcl");
    WriteTextFile(path, "1SG901\r;note\r2SG902\r\n3SG\n4SG903\r");
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_EQ(TavroDLG_DownloadFile(nullptr, handle_, 0, path.c_str()), 1);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("line 4"), std::string::npos) << answerer.Seen()[0].text;
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, 901);
    EXPECT_DOUBLE_EQ(Motion(handle_, 2).proportionalGain, 902);
    EXPECT_DOUBLE_EQ(Motion(handle_, 4).proportionalGain, 903);
}

TEST_F(Download, ALineHoldingANulByteIsRefusedAndNamed)
{
    TempFolder folder;
    std::string path = folder.File("byte.tcl");
    // Meant as 1SG700.
    WriteTextFile(path, std::string("1SG5\r\n1SG7") + '\0' + "00\r\n");
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_EQ(TavroDLG_DownloadFile(nullptr, handle_, 0, path.c_str()), 1);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("line 2"), std::string::npos);
    EXPECT_DOUBLE_EQ(Motion(handle_, 1).proportionalGain, 5);
}

TEST_F(Download, MissingFileOrDeadHandleIsReportedAndChangesNothing)
{
    TempFolder folder;
    TavroSim_ResetCallCounts();
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    EXPECT_LT(TavroDLG_DownloadFile(nullptr, handle_, 0, folder.File("absent.tcl").c_str()), 0);
    WriteTextFile(folder.File("one.tcl"), "1SG5\r\n");
    EXPECT_LT(TavroDLG_DownloadFile(nullptr, 0, 0, folder.File("one.tcl").c_str()), 0);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_NE(answerer.Seen()[0].text.find("absent.tcl"), std::string::npos) << answerer.Seen()[0].text;
    EXPECT_NE(answerer.Seen()[1].text.find("No controller is open"), std::string::npos);
    EXPECT_EQ(TavroSim_CallCount("TavroSetMotionConfig"), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetFilterConfig"), 0);
}
