// Download of controller command files as the tuning program exports them.
#include "dialog_test_env.h"

#include <cstdio>
#include <string>

using testing_support::DialogAnswerer;
using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

class Download : public OpenController {};

// The servo period of an axis at its update rate.
double ServoPeriod(short handle, short axis)
{
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

// One servo axis in the export's own layout, five decimals.
std::string AxisBlock(int axis, double p, double i, double d, double limit, int fr, double vg, double se,
                      double torque, double velocity, double accel, double decel)
{
    char text[1024];
    snprintf(text, sizeof text,
             ";\r\n;Axis %d setup\r\n;\r\n"
             "%dSG%.5lf\t\t;Proportional Gain\r\n%dSI%.5lf\t\t;Integral Gain\r\n"
             "%dSD%.5lf\t\t;Derivative Gain\r\n%dIL%.5lf\t\t;Integration Limit\r\n"
             "%dFR%d\t\t;Derivative Sampling Period\r\n%dVG%.5lf\t\t;Velocity Gain (Feed Forward)\r\n"
             "%dSE%.5lf\t\t;Stop on Error\r\n%dSQ%.5lf\t\t;Torque\r\n"
             "%dSV%.5lf\t\t;Velocity\r\n%dSA%.5lf\t\t;Acceleration\r\n%dDS%.5lf\t\t;Deceleration\r\n",
             axis, axis, p, axis, i, axis, d, axis, limit, axis, fr, axis, vg, axis, se, axis, torque, axis,
             velocity, axis, accel, axis, decel);
    return text;
}

} // namespace

TEST_F(Download, ExportedCommandFileRestoresTheTuning)
{
    TempFolder folder;
    std::string path = folder.File("tuning.tcl");
    WriteTextFile(path, AxisBlock(1, 3.5, 0.25, 12.75, 50, 3, 0.5, 2000, 9.5, 4000, 80000, 90000) + "\r\n" +
                            AxisBlock(2, 1.25, 0, 4, 10, 0, 0, 1500, 8, 1000, 20000, 30000));
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
