// Step tests as the tuning program sends them: blocks, capture, the repeat
// tail and the gantry start, and how the gains shape the response.
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "sim_fixture.h"

namespace {

// The block of a plain step test; reads every sample right after it.
std::vector<double> StepResponse(short h, short axis, double distance, long points, double period)
{
    TavroEnableAxis(h, axis, 1);
    TavroSetOperatingMode(h, axis, 0, 1);
    double target0 = 0.0;
    TavroGetTargetEx(h, axis, &target0);
    TavroBlockBegin(h, 0, 0);
    TavroCaptureData(h, axis, points, period, 0.0);
    TavroMoveRelative(h, axis, distance);
    TavroBlockEnd(h, 0);
    std::vector<double> samples;
    for (long k = 0; k < points; ++k) {
        double v = NAN;
        EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, axis, TAVRO_CAPTURE_KIND_ACTUAL, k, 1, &v)) << "sample " << k;
        samples.push_back(v - target0);
    }
    return samples;
}

double Peak(const std::vector<double>& v)
{
    double peak = -1e300;
    for (double x : v)
        peak = x > peak ? x : peak;
    return peak;
}

// Largest distance from `value` over the last quarter of the samples.
double TailSpread(const std::vector<double>& v, double value)
{
    double spread = 0.0;
    for (size_t i = v.size() * 3 / 4; i < v.size(); ++i)
        spread = std::fmax(spread, std::fabs(v[i] - value));
    return spread;
}

// The tuning program's gantry step: the partner geared to the test axis, both
// captures started together, a step of `distance` (and back after
// `cycleDwell` seconds when it is positive), then the partner released.
void SendGantryStep(short h, short a, short p, double distance, int32_t points, double period, double cycleDwell)
{
    ASSERT_EQ(TAVRO_OK, TavroEnableGearing(h, p, a, 1.0, 1));
    TavroCaptureData(h, a, 1, period, 0.0);
    TavroCaptureData(h, p, 1, period, 0.0);
    TavroBlockBegin(h, 0, 0);
    qorcmdex(h, a, 212, &points, 2);
    qorcmdex(h, p, 212, &points, 2);
    TavroMoveRelative(h, a, distance);
    if (cycleDwell > 0.0) {
        TavroWaitForStop(h, a, cycleDwell);
        TavroMoveRelative(h, a, -distance);
    }
    TavroWaitForStop(h, a, 0.025);
    TavroEnableGearing(h, p, a, 1.0, 0);
    ASSERT_EQ(TAVRO_OK, TavroBlockEnd(h, 0));
}

// Samples of the first `points` where the two axes' captured commands differ.
int CommandsDiffering(short h, short a, short p, long points)
{
    int differing = 0;
    for (long k = 0; k < points; ++k) {
        double va = NAN, vp = NAN;
        TavroGetCaptureData(h, a, TAVRO_CAPTURE_KIND_OPTIMAL, k, 1, &va);
        TavroGetCaptureData(h, p, TAVRO_CAPTURE_KIND_OPTIMAL, k, 1, &vp);
        differing += va != vp;
    }
    return differing;
}

} // namespace

TEST_F(SimTest, DefaultStepSettlesAtTheDistanceWithSomeOvershoot)
{
    std::vector<double> s = StepResponse(h, 1, 100.0, 2000, 0.00025);
    ASSERT_EQ(2000u, s.size());
    double peak = Peak(s);
    EXPECT_GT(peak, 105.0);
    EXPECT_LT(peak, 140.0);
    EXPECT_LE(TailSpread(s, 100.0), 2.0);

    // Torque, optimal and auxiliary samples come with it; optimal is the
    // stepped command.
    double torque = 0.0, optimal = 0.0, aux = 0.0;
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_TORQUE, 0, 1, &torque));
    EXPECT_GT(torque, 0.5);
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 0, 1, &optimal));
    EXPECT_EQ(100.0, optimal);
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_AUX, 1999, 1, &aux));
    EXPECT_NEAR(100.0, aux, 3.0);

    // Beyond what was captured: failure and a zero.
    double beyond = 5.0;
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 2000, 1, &beyond), 0);
    EXPECT_EQ(0.0, beyond);
    EXPECT_LT(TavroGetCaptureData(h, 1, 32, 0, 1, &beyond), 0);
}

TEST_F(SimTest, StepOnAScaledAxisIsCapturedInUserUnits)
{
    // 100 units on the compact model are 1000 counts, within its
    // following-error limit even with the trajectory generator off.
    short compact = Open(2);
    std::vector<double> s = StepResponse(compact, 1, 100.0, 1000, 0.0005);
    ASSERT_EQ(1000u, s.size());
    EXPECT_LE(TailSpread(s, 100.0), 2.0);
    EXPECT_EQ(0, TavroDecodeStatus(compact, TavroGetStatus(compact, 1), TAVRO_STAT_ERROR));
    EXPECT_NEAR(1000.0, Axis(2, 1).position, 20.0);
    for (double v : s)
        ASSERT_NEAR(std::round(v * 10.0), v * 10.0, 1e-9) << "whole counts are tenths";
    double optimal = 0.0;
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(compact, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 0, 1, &optimal));
    EXPECT_EQ(100.0, optimal);
    TavroClose(compact);
}

TEST_F(SimTest, GainsShapeTheResponseFromDampedToUnstable)
{
    TavroFilterConfig filter;
    TavroGetFilterConfig(h, 1, &filter);
    filter.derivativeGain = 20000.0;
    TavroSetFilterConfig(h, 1, &filter);
    std::vector<double> damped = StepResponse(h, 1, 100.0, 2000, 0.00025);
    EXPECT_LT(Peak(damped), 110.0);

    TavroSetGain(h, 2, 12000.0);
    TavroGetFilterConfig(h, 2, &filter);
    filter.derivativeGain = 1000.0;
    TavroSetFilterConfig(h, 2, &filter);
    std::vector<double> ringing = StepResponse(h, 2, 100.0, 2000, 0.00025);
    EXPECT_GT(Peak(ringing), 150.0);

    TavroSetGain(h, 3, 32767.0);
    std::vector<double> unstable = StepResponse(h, 3, 100.0, 2000, 0.00025);
    EXPECT_GT(TailSpread(unstable, 100.0), 10.0);

    // The fractional family at its defaults behaves like the integer one.
    short large = Open(1);
    std::vector<double> fractional = StepResponse(large, 1, 100.0, 500, 0.0005);
    EXPECT_GT(Peak(fractional), 102.0);
    EXPECT_LE(TailSpread(fractional, 100.0), 2.0);
    TavroClose(large);
}

TEST_F(SimTest, RepeatTailRunsTheMotionAgainWithoutRearmingTheCapture)
{
    TavroEnableAxis(h, 1, 1);
    int32_t count = 2;
    ASSERT_EQ(TAVRO_OK, TavroSetRegister(h, 0, &count, 2));
    TavroBlockBegin(h, 0, 0);
    TavroCaptureData(h, 1, 100, 0.001, 0.0);
    TavroMoveRelative(h, 1, 1000.0);
    TavroWaitForStop(h, 1, 0.01);
    const short tail[][2] = {{134, 1}, {163, 0}, {6, 3}, {120, 0}};
    for (const auto& raw : tail) {
        int32_t value = raw[1];
        EXPECT_EQ(TAVRO_OK, qorcmdex(h, 0, raw[0], &value, 2));
    }
    ASSERT_EQ(TAVRO_OK, TavroBlockEnd(h, 0));
    double v = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 99, 1, &v));
    Run(1.0);
    double target = 0.0;
    TavroGetTargetEx(h, 1, &target);
    EXPECT_EQ(3000.0, target);
    // The capture ran once: a sample past its points was never taken.
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 100, 1, &v), 0);

    EXPECT_EQ(TAVRO_ERR_BLOCK, TavroBlockEnd(h, 0));
    TavroBlockBegin(h, 0, 0);
    EXPECT_EQ(TAVRO_ERR_BLOCK, TavroBlockBegin(h, 0, 0));
    TavroBlockEnd(h, 0);

    // A reset clears the count: the same tail then runs the motion once.
    TavroSetRegister(h, 0, &count, 2);
    ASSERT_EQ(TAVRO_OK, TavroReset(h, 0));
    TavroEnableAxis(h, 1, 1);
    TavroBlockBegin(h, 0, 0);
    TavroMoveRelative(h, 1, 1000.0);
    TavroWaitForStop(h, 1, 0.01);
    for (const auto& raw : tail) {
        int32_t value = raw[1];
        qorcmdex(h, 0, raw[0], &value, 2);
    }
    TavroBlockEnd(h, 0);
    Run(1.0);
    double start = target;
    TavroGetTargetEx(h, 1, &target);
    EXPECT_NEAR(start + 1000.0, target, 2.0);
}

// A block whose only axis is off moves nothing, so what shows here is that
// the repeat tail does not run on once the motor is on again; each early end
// is judged on its own by the gantry case below.
TEST_F(SimTest, MotorOffOrATripEndsTheRunningBlock)
{
    const short tail[][2] = {{134, 1}, {163, 0}, {6, 3}, {120, 0}};
    for (int trip = 0; trip <= 1; ++trip) {
        TavroEnableAxis(h, 1, 1);
        int32_t count = 20;
        TavroSetRegister(h, 0, &count, 2);
        TavroBlockBegin(h, 0, 0);
        TavroCaptureData(h, 1, 100, 0.001, 0.0);
        TavroMoveRelative(h, 1, 1000.0);
        TavroWaitForStop(h, 1, 0.05);
        for (const auto& raw : tail) {
            int32_t value = raw[1];
            qorcmdex(h, 0, raw[0], &value, 2);
        }
        ASSERT_EQ(TAVRO_OK, TavroBlockEnd(h, 0));
        Run(0.5);
        if (trip)
            ASSERT_EQ(TAVRO_OK, TavroSim_ForceAxisError(0, 1));
        else
            TavroEnableAxis(h, 1, 0);
        Run(0.1);
        TavroEnableAxis(h, 1, 1);
        double here = 0.0, later = 0.0;
        TavroGetTargetEx(h, 1, &here);
        Run(5.0);
        TavroGetTargetEx(h, 1, &later);
        EXPECT_EQ(here, later) << (trip ? "after a trip" : "after motor off");
        // The capture had ended before and keeps its samples.
        double v = 0.0;
        EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 99, 1, &v));
    }
}

TEST_F(SimTest, MotorOnLeavesABlockBegunWithTheMotorOffUnrun)
{
    for (int trip = 0; trip <= 1; ++trip) {
        SCOPED_TRACE(trip ? "tripped" : "motor off");
        TavroEnableAxis(h, 2, 1);
        if (trip)
            ASSERT_EQ(TAVRO_OK, TavroSim_ForceAxisError(0, 2));
        else
            TavroEnableAxis(h, 2, 0);
        TavroBlockBegin(h, 0, 0);
        TavroCaptureData(h, 2, 2000, 0.001, 0.0);
        TavroMoveRelative(h, 2, 700.0);
        TavroWaitForStop(h, 2, 2.5);
        TavroMoveRelative(h, 2, -700.0);
        ASSERT_EQ(TAVRO_OK, TavroBlockEnd(h, 0));
        Run(0.8);
        TavroEnableAxis(h, 2, 1);
        double here = 0.0, later = 0.0;
        TavroGetTargetEx(h, 2, &here);
        Run(5.0);
        TavroGetTargetEx(h, 2, &later);
        EXPECT_EQ(here, later);
        EXPECT_NEAR(here, Axis(0, 2).position, 1.0);
        // The capture still records to its last sample.
        double v = NAN;
        EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 2, TAVRO_CAPTURE_KIND_ACTUAL, 1999, 1, &v));
    }
}

TEST_F(SimTest, CycleWaitsForTheStopAndItsDwellBeforeMovingBack)
{
    // Trajectory on: the dwell starts only when the profile has ended, which
    // takes 0.3 s at the default velocity and acceleration.
    TavroEnableAxis(h, 2, 1);
    TavroBlockBegin(h, 0, 0);
    TavroMoveRelative(h, 2, 4000.0);
    TavroWaitForStop(h, 2, 0.1);
    TavroMoveRelative(h, 2, -4000.0);
    TavroBlockEnd(h, 0);
    double target = 0.0;
    TavroSim_Advance(0.35);
    TavroGetTargetEx(h, 2, &target);
    EXPECT_EQ(4000.0, target) << "dwelling";
    TavroSim_Advance(0.1);
    TavroGetTargetEx(h, 2, &target);
    EXPECT_EQ(0.0, target);

    // Trajectory off: the step is complete at once, then 0.2 s of dwell.
    TavroEnableAxis(h, 1, 1);
    TavroSetOperatingMode(h, 1, 0, 1);
    TavroBlockBegin(h, 0, 0);
    TavroCaptureData(h, 1, 400, 0.001, 0.0);
    TavroMoveRelative(h, 1, 1000.0);
    TavroWaitForStop(h, 1, 0.2);
    TavroMoveRelative(h, 1, -1000.0);
    TavroBlockEnd(h, 0);
    double early = 0.0, late = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 190, 1, &early));
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 210, 1, &late));
    EXPECT_EQ(1000.0, early);
    EXPECT_EQ(0.0, late);
}

TEST_F(SimTest, GantryPairStartsItsCapturesTogetherAndFollowsTheTestAxis)
{
    // The partner may have the lower number: it still follows within the tick.
    const short pairs[][2] = {{1, 2}, {4, 3}};
    for (const auto& pair : pairs) {
        short a = pair[0], p = pair[1];
        SCOPED_TRACE(testing::Message() << "test axis " << a << ", partner " << p);
        TavroEnableAxis(h, a, 1);
        TavroEnableAxis(h, p, 1);
        TavroSetOperatingMode(h, a, 0, 2);
        TavroSetOperatingMode(h, p, 0, 2);
        ASSERT_NO_FATAL_FAILURE(SendGantryStep(h, a, p, 200.0, 400, 0.0005, 0.0));

        double va = 0.0, vp = 0.0;
        ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, a, TAVRO_CAPTURE_KIND_OPTIMAL, 399, 1, &va));
        ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, p, TAVRO_CAPTURE_KIND_OPTIMAL, 399, 1, &vp));
        EXPECT_EQ(200.0, va);
        EXPECT_EQ(200.0, vp);
        EXPECT_EQ(0, CommandsDiffering(h, a, p, 400));
        Run(0.5);
        TavroMoveRelative(h, a, 100.0);
        Run(0.5);
        TavroGetOptimalEx(h, p, &vp);
        EXPECT_EQ(200.0, vp) << "uncoupled at the end of the block";
    }

    // An axis that cannot capture refuses.
    short large = Open(1);
    EXPECT_EQ(TAVRO_ERR_NOT_SUPPORTED, TavroCaptureData(large, 5, 100, 0.001, 0.0));
    TavroClose(large);
}

// Each early end is judged before any Motor On, which would end the block
// by itself: the partner obeys its own moves again, or the test axis, left
// on, makes no return move after the dwell; the captures keep their samples.
TEST_F(SimTest, GantryPartnerIsReleasedWhenItsBlockEndsEarly)
{
    const short a = 1, p = 2;
    enum Way { MotorOff, Abort, ForcedFault, FollowingErrorTrip, PartnersMotorOff, Ways };
    const char* names[] = {"motor off", "abort", "forced fault", "following-error trip", "partner's motor off"};
    TavroFilterConfig filter;
    ASSERT_EQ(TAVRO_OK, TavroGetFilterConfig(h, a, &filter));
    for (int way = 0; way < Ways; ++way) {
        SCOPED_TRACE(names[way]);
        for (short axis : {a, p}) {
            TavroEnableAxis(h, axis, 1);
            TavroSetPosition(h, axis, 0.0);
            TavroSetOperatingMode(h, axis, 0, 2);
        }
        TavroFilterConfig tight = filter;
        tight.maxFollowingError = way == FollowingErrorTrip ? 5.0 : filter.maxFollowingError;
        ASSERT_EQ(TAVRO_OK, TavroSetFilterConfig(h, a, &tight));
        // A step of 1000 with a 2 s cycle dwell; the trip comes in the step.
        ASSERT_NO_FATAL_FAILURE(SendGantryStep(h, a, p, 1000.0, 3000, 0.001, 2.0));
        Run(0.6);
        if (way == MotorOff)
            TavroEnableAxis(h, a, 0);
        else if (way == Abort)
            TavroAbort(h, a);
        else if (way == ForcedFault)
            ASSERT_EQ(TAVRO_OK, TavroSim_ForceAxisError(0, a));
        else if (way == PartnersMotorOff)
            TavroEnableAxis(h, p, 0);
        Run(0.1);
        if (way == FollowingErrorTrip)
            ASSERT_TRUE(Axis(0, a).error) << "tripped in the step";
        if (way != PartnersMotorOff) {
            double before = Axis(0, p).position;
            TavroMoveRelative(h, p, 300.0);
            Run(0.5);
            EXPECT_NEAR(before + 300.0, Axis(0, p).position, 2.0) << "the partner obeys its own move";
        }
        Run(2.5); // past the dwell and the return move due after it
        if (way == PartnersMotorOff)
            EXPECT_EQ(1000.0, Axis(0, a).target) << "no return move";
        double v = NAN;
        EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, a, TAVRO_CAPTURE_KIND_ACTUAL, 2999, 1, &v));
        EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, p, TAVRO_CAPTURE_KIND_ACTUAL, 2999, 1, &v));

        ASSERT_EQ(TAVRO_OK, TavroSetFilterConfig(h, a, &filter));
        for (short axis : {a, p}) {
            TavroEnableAxis(h, axis, 1);
            TavroSetPosition(h, axis, 0.0);
        }
        Run(1.0);
        EXPECT_NEAR(0.0, Axis(0, a).position, 2.0);
        EXPECT_NEAR(0.0, Axis(0, p).position, 2.0);
        // Each moves alone when told to.
        TavroMoveRelative(h, p, 300.0);
        Run(1.0);
        EXPECT_NEAR(300.0, Axis(0, p).position, 2.0);
        EXPECT_NEAR(0.0, Axis(0, a).position, 2.0);
        TavroMoveRelative(h, a, 200.0);
        Run(1.0);
        EXPECT_NEAR(200.0, Axis(0, a).position, 2.0);
        EXPECT_NEAR(300.0, Axis(0, p).position, 2.0);
    }
}

// The tuning program replaces a block still in its dwell when the next test
// starts. The partner the replaced block would have released is released,
// unless the new block is a gantry test of the same pair, which keeps it
// geared for its own step; gearing set up outside any block stays.
TEST_F(SimTest, ReplacingAGantryBlockLeavesOnlyTheGearingStillWanted)
{
    const short a = 1, p = 2;
    for (short axis : {a, p, short{3}, short{4}}) {
        TavroEnableAxis(h, axis, 1);
        TavroSetOperatingMode(h, axis, 0, 2);
    }
    ASSERT_EQ(TAVRO_OK, TavroEnableGearing(h, 4, 3, 1.0, 1));

    // A second test of the same pair while the first dwells.
    ASSERT_NO_FATAL_FAILURE(SendGantryStep(h, a, p, 1000.0, 3000, 0.001, 2.0));
    Run(0.6);
    ASSERT_NO_FATAL_FAILURE(SendGantryStep(h, a, p, 500.0, 400, 0.001, 0.0));
    double va = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, a, TAVRO_CAPTURE_KIND_OPTIMAL, 399, 1, &va));
    EXPECT_EQ(1500.0, va);
    EXPECT_EQ(0, CommandsDiffering(h, a, p, 400)) << "geared for the whole second step";

    // A test of another axis while the pair's test dwells.
    ASSERT_NO_FATAL_FAILURE(SendGantryStep(h, a, p, 1000.0, 3000, 0.001, 2.0));
    Run(0.6);
    TavroBlockBegin(h, 0, 0);
    TavroCaptureData(h, 3, 400, 0.001, 0.0);
    TavroMoveRelative(h, 3, 100.0);
    ASSERT_EQ(TAVRO_OK, TavroBlockEnd(h, 0));
    Run(3.0);
    EXPECT_EQ(2500.0, Axis(0, a).target) << "the replaced block's return move is dropped";
    for (short axis : {a, p})
        TavroSetPosition(h, axis, 0.0);
    Run(1.0);
    EXPECT_NEAR(0.0, Axis(0, p).position, 2.0);
    TavroMoveRelative(h, p, 300.0);
    Run(1.0);
    EXPECT_NEAR(300.0, Axis(0, p).position, 2.0);
    TavroMoveRelative(h, a, 200.0);
    Run(1.0);
    EXPECT_NEAR(200.0, Axis(0, a).position, 2.0);
    EXPECT_NEAR(300.0, Axis(0, p).position, 2.0) << "uncoupled when its block was replaced";

    // Axis 4 still follows axis 3's moves.
    EXPECT_NEAR(100.0, Axis(0, 4).position, 2.0);
    TavroMoveRelative(h, 3, 50.0);
    Run(1.0);
    EXPECT_NEAR(150.0, Axis(0, 4).position, 2.0);
}

TEST_F(SimTest, CapturesKeepTheirPeriodAndRunThroughLongWaits)
{
    // Below the axis's servo period the asked period still holds: the type-8
    // controller's tuning period is 2 ms whatever the axis's update rate.
    short type8 = Open(3);
    TavroMotionConfig motion;
    TavroGetMotionConfig(type8, 1, &motion);
    motion.updateRate = TAVRO_RATE_MED; // 4 ms
    ASSERT_EQ(TAVRO_OK, TavroSetMotionConfig(type8, 1, &motion));
    TavroEnableAxis(type8, 1, 1);
    TavroMoveRelative(type8, 1, 100000.0);
    Run(0.5);
    ASSERT_EQ(TAVRO_OK, TavroCaptureData(type8, 1, 9, 0.002, 0.0));
    double first = 0.0, last = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(type8, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 0, 1, &first));
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(type8, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 8, 1, &last));
    EXPECT_NEAR(16e-3 * motion.velocity, last - first, 1e-6);
    TavroClose(type8);

    // On the wall clock a wait longer than the idle catch-up still captures
    // every sample at its time.
    ASSERT_EQ(TAVRO_OK, TavroSim_SetManualClock(0));
    TavroEnableAxis(h, 1, 1);
    TavroBlockBegin(h, 0, 0);
    TavroCaptureData(h, 1, 1000, 0.0105, 0.0);
    TavroMoveRelative(h, 1, 1000.0);
    TavroBlockEnd(h, 0);
    Sleep(10700);
    double v = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 999, 1, &v));
    EXPECT_EQ(1000.0, v);
    ASSERT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_OPTIMAL, 0, 1, &v));
    EXPECT_LT(v, 100.0) << "the first sample lies at the start of the move";
}

TEST_F(SimTest, WaitForStopOutsideABlockAnswersAtOnce)
{
    TavroEnableAxis(h, 1, 1);
    TavroMoveRelative(h, 1, 100000.0);
    EXPECT_EQ(TAVRO_OK, TavroWaitForStop(h, 1, 10.0));
    EXPECT_EQ(0, TavroIsStopped(h, 1, 5.0));
    TavroSimAxisState state = Axis(0, 1);
    EXPECT_EQ(1, state.moving);
}

TEST_F(SimTest, AbsurdCaptureRequestsFailOrAreBoundedByTheBuffer)
{
    EXPECT_LT(TavroCaptureData(h, 1, 100, 0.0, 0.0), 0);
    EXPECT_LT(TavroCaptureData(h, 1, 100, NAN, 0.0), 0);
    EXPECT_LT(TavroCaptureData(h, 1, 0, 0.001, 0.0), 0);
    EXPECT_LT(TavroCaptureData(h, 1, 100, 0.001, -1.0), 0);
    EXPECT_LT(TavroCaptureData(h, 5, 100, 0.001, 0.0), 0);

    // More points than the buffer holds: the buffer's worth is captured.
    ASSERT_EQ(TAVRO_OK, TavroCaptureData(h, 1, 1000000, 0.00025, 0.0));
    double v = 9.0;
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 4095, 1, &v));
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 4096, 1, &v), 0);
    EXPECT_EQ(0.0, v);
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, -1, 1, &v), 0);
    double several[16];
    memset(several, 0x7F, sizeof several);
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, LONG_MAX - 5, 16, several), 0)
        << "a start near the top of the range is no way past the end";
    for (double x : several)
        EXPECT_EQ(0.0, x);
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 0, 0, &v), 0);
    EXPECT_LT(TavroGetCaptureData(h, 1, TAVRO_CAPTURE_KIND_ACTUAL, 0, 1, nullptr), 0);

    // A sample minutes away is not run ahead to: the call answers at once.
    ASSERT_EQ(TAVRO_OK, TavroCaptureData(h, 2, 4000, 10.0, 0.0));
    v = 9.0;
    EXPECT_EQ(TAVRO_ERR_NOT_CAPTURED, TavroGetCaptureData(h, 2, TAVRO_CAPTURE_KIND_ACTUAL, 3999, 1, &v));
    EXPECT_EQ(0.0, v);
    EXPECT_EQ(TAVRO_OK, TavroGetCaptureData(h, 2, TAVRO_CAPTURE_KIND_ACTUAL, 2, 1, &v));
}
