// Moves, stops, enables, following-error trip, limits, gearing and settings.
#include <cmath>
#include <cstring>

#include "sim_fixture.h"

namespace {

bool StatusBit(short h, short axis, short bit)
{
    return TavroDecodeStatus(h, TavroGetStatus(h, axis), bit) != 0;
}

} // namespace

TEST_F(SimTest, RelativeMovesArriveAndCountFromTheTarget)
{
    ASSERT_EQ(TAVRO_OK, TavroEnableAxis(h, 1, 1));
    EXPECT_TRUE(StatusBit(h, 1, TAVRO_STAT_MOTOR_ON));
    ASSERT_EQ(TAVRO_OK, TavroMoveRelative(h, 1, 1000.0));
    ASSERT_EQ(TAVRO_OK, TavroMoveRelative(h, 1, 500.0));
    double target = 0.0;
    TavroGetTargetEx(h, 1, &target);
    EXPECT_EQ(1500.0, target);

    Run(0.02);
    EXPECT_EQ(0, TavroIsStopped(h, 1, 0.0));
    EXPECT_EQ(0, TavroIsStopped(h, 0, 0.0));
    EXPECT_NE(0, TavroIsStopped(h, 2, 0.0));
    Run(1.0);
    EXPECT_NE(0, TavroIsStopped(h, 0, 0.0));
    double position = 0.0;
    ASSERT_EQ(TAVRO_OK, TavroGetPositionEx(h, 1, &position));
    EXPECT_NEAR(1500.0, position, 2.0);
    EXPECT_EQ(std::floor(position), position) << "the encoder counts whole counts";
    double optimal = 0.0;
    TavroGetOptimalEx(h, 1, &optimal);
    EXPECT_EQ(1500.0, optimal);

    // A move with the motor off goes nowhere.
    TavroEnableAxis(h, 2, 0);
    TavroMoveRelative(h, 2, 1000.0);
    Run(0.5);
    TavroGetPositionEx(h, 2, &position);
    EXPECT_EQ(0.0, position);
}

TEST_F(SimTest, StopDeceleratesAndEnableAdoptsTheStopPoint)
{
    TavroEnableAxis(h, 1, 1);
    TavroMoveRelative(h, 1, 100000.0);
    Run(0.3);
    ASSERT_EQ(TAVRO_OK, TavroStop(h, 1));
    double target = 0.0;
    TavroGetTargetEx(h, 1, &target);
    EXPECT_LT(target, 100000.0);
    Run(0.5);
    ASSERT_NE(0, TavroIsStopped(h, 1, 0.0));
    ASSERT_EQ(TAVRO_OK, TavroEnableAxis(h, 1, 1));
    double position = 0.0;
    TavroGetPositionEx(h, 1, &position);
    TavroGetTargetEx(h, 1, &target);
    EXPECT_EQ(position, target);
    EXPECT_GT(position, 1000.0);
    EXPECT_LT(position, 100000.0);

    // Abort stops at once and switches the servo off.
    TavroMoveRelative(h, 1, 50000.0);
    Run(0.1);
    ASSERT_EQ(TAVRO_OK, TavroAbort(h, 1));
    EXPECT_FALSE(StatusBit(h, 1, TAVRO_STAT_MOTOR_ON));
    EXPECT_NE(0, TavroIsStopped(h, 1, 0.0));
}

TEST_F(SimTest, BackAndForthCyclesReturnExactlyToTheStart)
{
    TavroEnableAxis(h, 1, 1);
    TavroSetProfile(h, 1, TAVRO_PROFILE_SCURVE);
    for (int cycle = 0; cycle < 3; ++cycle) {
        TavroMoveRelative(h, 1, 4000.0);
        Run(0.6);
        ASSERT_NE(0, TavroIsStopped(h, 1, 0.0));
        TavroMoveRelative(h, 1, -4000.0);
        Run(0.6);
        ASSERT_NE(0, TavroIsStopped(h, 1, 0.0));
    }
    double optimal = 1.0, position = 1.0;
    TavroGetOptimalEx(h, 1, &optimal);
    EXPECT_EQ(0.0, optimal);
    Run(0.5);
    TavroGetPositionEx(h, 1, &position);
    EXPECT_NEAR(0.0, position, 2.0);
}

TEST_F(SimTest, VelocityChangesTheCruiseSpeedAndZeroHoldsTheMove)
{
    TavroEnableAxis(h, 1, 1);
    TavroMoveRelative(h, 1, 100000.0);
    Run(0.3);
    ASSERT_EQ(TAVRO_OK, TavroSetVelocity(h, 1, 0.0));
    Run(0.3);
    double held = 0.0, later = 0.0;
    TavroGetOptimalEx(h, 1, &held);
    Run(0.3);
    TavroGetOptimalEx(h, 1, &later);
    EXPECT_EQ(held, later);
    EXPECT_EQ(0, TavroIsStopped(h, 1, 0.0));

    TavroSetVelocity(h, 1, 40000.0);
    double speed = 0.0;
    TavroGetVelocityEx(h, 1, &speed);
    EXPECT_EQ(40000.0, speed);
    Run(0.5);
    TavroGetOptimalEx(h, 1, &later);
    EXPECT_GT(later - held, 12000.0); // faster than the 20000 counts/s default allows
    EXPECT_LT(TavroSetVelocity(h, 1, -5.0), 0);
}

TEST_F(SimTest, FollowingErrorTripSetsTheErrorBitUntilEnable)
{
    TavroFilterConfig filter;
    TavroGetFilterConfig(h, 1, &filter);
    filter.maxFollowingError = 50.0;
    ASSERT_EQ(TAVRO_OK, TavroSetFilterConfig(h, 1, &filter));
    TavroEnableAxis(h, 1, 1);
    TavroSetOperatingMode(h, 1, 0, 1); // the command steps at once
    TavroMoveRelative(h, 1, 1000.0);
    Run(0.05);
    EXPECT_TRUE(StatusBit(h, 1, TAVRO_STAT_ERROR));
    EXPECT_FALSE(StatusBit(h, 1, TAVRO_STAT_MOTOR_ON));
    DWORD first = TavroGetStatus(h, 1);
    Run(0.5);
    EXPECT_EQ(first, TavroGetStatus(h, 1)) << "the word changes only with the state";

    ASSERT_EQ(TAVRO_OK, TavroEnableAxis(h, 1, 1));
    EXPECT_FALSE(StatusBit(h, 1, TAVRO_STAT_ERROR));
    EXPECT_TRUE(StatusBit(h, 1, TAVRO_STAT_MOTOR_ON));

    TavroSim_ForceAxisError(0, 2);
    EXPECT_TRUE(StatusBit(h, 2, TAVRO_STAT_ERROR));
}

TEST_F(SimTest, MotorOffOrTripEndsTheMoveAtOnce)
{
    TavroEnableAxis(h, 1, 1);
    TavroEnableAxis(h, 2, 1);
    TavroMoveRelative(h, 1, 1000000.0);
    TavroMoveRelative(h, 2, 1000000.0);
    Run(0.5);
    ASSERT_EQ(0, TavroIsStopped(h, 0, 0.0));
    ASSERT_EQ(TAVRO_OK, TavroEnableAxis(h, 1, 0));
    TavroSim_ForceAxisError(0, 2);
    EXPECT_NE(0, TavroIsStopped(h, 1, 0.0));
    EXPECT_NE(0, TavroIsStopped(h, 2, 0.0));

    // Nor does a move run while the motor is off.
    TavroMoveRelative(h, 1, 1000.0);
    Run(0.1);
    EXPECT_NE(0, TavroIsStopped(h, 0, 0.0));
    double position = 0.0, target = 1.0;
    TavroGetPositionEx(h, 1, &position);
    TavroGetTargetEx(h, 1, &target);
    EXPECT_EQ(position, target);
}

TEST_F(SimTest, TravelLimitsHaltMotionTowardThemAndSetTheirBits)
{
    short large = Open(1); // axis 1 has limits at -50000 and +50000
    TavroEnableAxis(large, 1, 1);
    TavroMoveRelative(large, 1, 200000.0);
    Run(4.0);
    EXPECT_TRUE(StatusBit(large, 1, TAVRO_STAT_LIMIT_POS));
    EXPECT_FALSE(StatusBit(large, 1, TAVRO_STAT_LIMIT_NEG));
    EXPECT_NE(0, TavroIsStopped(large, 1, 0.0));
    double position = 0.0;
    TavroGetPositionEx(large, 1, &position);
    EXPECT_LT(position, 60000.0);

    TavroMoveRelative(large, 1, -20000.0);
    Run(2.0);
    EXPECT_FALSE(StatusBit(large, 1, TAVRO_STAT_LIMIT_POS));

    TavroSim_SetLimit(1, 2, 0, 1);
    EXPECT_TRUE(StatusBit(large, 2, TAVRO_STAT_LIMIT_NEG));
    TavroClose(large);
}

TEST_F(SimTest, PositionRedefinitionAndGearingFollowTheMaster)
{
    TavroEnableAxis(h, 1, 1);
    TavroEnableAxis(h, 2, 1);
    ASSERT_EQ(TAVRO_OK, TavroSetPosition(h, 2, 300.0));
    double position = 0.0;
    TavroGetPositionEx(h, 2, &position);
    EXPECT_EQ(300.0, position);
    Run(0.2);
    TavroGetPositionEx(h, 2, &position);
    EXPECT_NEAR(300.0, position, 1.0) << "redefinition moves nothing";

    ASSERT_EQ(TAVRO_OK, TavroEnableGearing(h, 2, 1, 2.0, 1));
    TavroMoveRelative(h, 1, 1000.0);
    Run(0.5);
    double slave = 0.0;
    TavroGetOptimalEx(h, 2, &slave);
    EXPECT_EQ(2300.0, slave);
    ASSERT_EQ(TAVRO_OK, TavroEnableGearing(h, 2, 1, 2.0, 0));
    TavroMoveRelative(h, 1, 1000.0);
    Run(0.5);
    TavroGetOptimalEx(h, 2, &slave);
    EXPECT_EQ(2300.0, slave);
    EXPECT_LT(TavroEnableGearing(h, 2, 2, 1.0, 1), 0);
    EXPECT_LT(TavroEnableGearing(h, 2, 9, 1.0, 1), 0);

    // A geared axis switched on takes its present position and follows on
    // from there, without jumping to where its command had gone meanwhile.
    TavroEnableAxis(h, 3, 0);
    ASSERT_EQ(TAVRO_OK, TavroEnableGearing(h, 3, 1, 1.0, 1));
    TavroMoveRelative(h, 1, 1000.0);
    Run(0.5);
    TavroGetPositionEx(h, 3, &position);
    EXPECT_EQ(0.0, position) << "the motor was off";
    ASSERT_EQ(TAVRO_OK, TavroEnableAxis(h, 3, 1));
    Run(0.2);
    TavroGetOptimalEx(h, 3, &slave);
    EXPECT_EQ(0.0, slave);
    TavroMoveRelative(h, 1, 500.0);
    Run(0.5);
    TavroGetOptimalEx(h, 3, &slave);
    EXPECT_EQ(500.0, slave);
}

TEST_F(SimTest, PositionsAndRatesAreInUserUnitsOfTheScale)
{
    // The compact model counts 10 per unit; its settings are in units.
    short compact = Open(2);
    TavroScale scale;
    ASSERT_EQ(TAVRO_OK, TavroGetScale(compact, 1, &scale));
    EXPECT_EQ(10.0, scale.positionScale);
    TavroMotionConfig motion;
    TavroGetMotionConfig(compact, 1, &motion);
    EXPECT_EQ(2000.0, motion.velocity);
    EXPECT_EQ(20000.0, motion.acceleration);
    TavroFilterConfig filter;
    TavroGetFilterConfig(compact, 1, &filter);
    EXPECT_EQ(200.0, filter.maxFollowingError);

    TavroEnableAxis(compact, 1, 1);
    ASSERT_EQ(TAVRO_OK, TavroMoveRelative(compact, 1, 1.5));
    double target = 0.0;
    TavroGetTargetEx(compact, 1, &target);
    EXPECT_EQ(1.5, target);
    Run(0.5);
    EXPECT_EQ(15.0, Axis(2, 1).target);
    EXPECT_NEAR(15.0, Axis(2, 1).position, 1.0);
    double position = 0.0;
    TavroGetPositionEx(compact, 1, &position);
    EXPECT_NEAR(1.5, position, 0.1);
    EXPECT_DOUBLE_EQ(Axis(2, 1).position / 10.0, position);

    // 2000 units/s is 20000 counts/s.
    TavroMoveRelative(compact, 1, 1000.0);
    Run(0.4);
    TavroGetOptimalEx(compact, 1, &position);
    EXPECT_GT(position, 650.0);
    EXPECT_LT(position, 750.0);
    TavroClose(compact);

    // A new scale reads the same place anew and moves in its own units.
    TavroEnableAxis(h, 1, 1);
    TavroMoveRelative(h, 1, 1000.0);
    Run(1.0);
    TavroGetScale(h, 1, &scale);
    scale.positionScale = 1000.0;
    ASSERT_EQ(TAVRO_OK, TavroSetScale(h, 1, &scale));
    TavroGetTargetEx(h, 1, &target);
    EXPECT_EQ(1.0, target);
    TavroGetPositionEx(h, 1, &position);
    EXPECT_NEAR(1.0, position, 0.002);
    TavroMoveRelative(h, 1, 0.5);
    EXPECT_EQ(1500.0, Axis(0, 1).target);
    ASSERT_EQ(TAVRO_OK, TavroSetPosition(h, 1, 2.0));
    EXPECT_EQ(2000.0, Axis(0, 1).position);
    scale.positionScale = 0.0;
    EXPECT_LT(TavroSetScale(h, 1, &scale), 0);
}

TEST_F(SimTest, SettingsReadBackAsWrittenAndBadValuesChangeNothing)
{
    TavroMotionConfig motion;
    memset(&motion, 0, sizeof motion);
    ASSERT_EQ(TAVRO_OK, TavroGetMotionConfig(h, 2, &motion));
    EXPECT_EQ(TAVRO_RATE_HIGH, motion.updateRate);
    motion.velocity = 12345.0;
    motion.updateRate = TAVRO_RATE_MED;
    motion.reserved52[3] = 77;
    ASSERT_EQ(TAVRO_OK, TavroSetMotionConfig(h, 2, &motion));
    TavroMotionConfig back;
    TavroGetMotionConfig(h, 2, &back);
    EXPECT_EQ(0, memcmp(&motion, &back, sizeof motion));

    motion.updateRate = 3;
    EXPECT_LT(TavroSetMotionConfig(h, 2, &motion), 0);
    motion.updateRate = TAVRO_RATE_LOW;
    motion.maxTorque = NAN;
    EXPECT_LT(TavroSetMotionConfig(h, 2, &motion), 0);
    TavroGetMotionConfig(h, 2, &back);
    EXPECT_EQ(TAVRO_RATE_MED, back.updateRate);

    TavroScale scale;
    TavroGetScale(h, 2, &scale);
    EXPECT_EQ(1.0, scale.positionScale);
    scale.positionScale = 2000.0;
    ASSERT_EQ(TAVRO_OK, TavroSetScale(h, 2, &scale));
    TavroScale scaleBack;
    TavroGetScale(h, 2, &scaleBack);
    EXPECT_EQ(0, memcmp(&scale, &scaleBack, sizeof scale));

    short value = 0;
    EXPECT_LT(TavroSetProfile(h, 2, 3), 0);
    ASSERT_EQ(TAVRO_OK, TavroSetProfile(h, 2, TAVRO_PROFILE_PARABOLIC));
    TavroGetProfile(h, 2, &value);
    EXPECT_EQ(TAVRO_PROFILE_PARABOLIC, value);
    ASSERT_EQ(TAVRO_OK, TavroSetServoOutputPhase(h, 2, 1));
    TavroGetServoOutputPhase(h, 2, &value);
    EXPECT_EQ(1, value);
    ASSERT_EQ(TAVRO_OK, TavroSetModuleOutputMode(h, 2, 3));
    TavroGetModuleOutputMode(h, 2, &value);
    EXPECT_EQ(3, value);
    EXPECT_LT(TavroSetGain(h, 2, -1.0), 0);
    EXPECT_LT(TavroSetOperatingMode(h, 2, 0, 3), 0);

    // Reset brings back the power-on settings, outputs included.
    TavroEnableAxis(h, 2, 1);
    TavroSetAnalog(h, 1, 100);
    TavroConfigureDigitalIO(h, 1, TAVRO_DIO_MODE_OUTPUT);
    TavroEnableDigitalIO(h, 1, 1);
    ASSERT_EQ(TAVRO_OK, TavroReset(h, 0));
    TavroGetMotionConfig(h, 2, &back);
    EXPECT_EQ(TAVRO_RATE_HIGH, back.updateRate);
    EXPECT_EQ(20000.0, back.velocity);
    TavroGetProfile(h, 2, &value);
    EXPECT_EQ(TAVRO_PROFILE_TRAPEZOIDAL, value);
    EXPECT_FALSE(TavroDecodeStatus(h, TavroGetStatus(h, 2), TAVRO_STAT_MOTOR_ON));
    EXPECT_EQ(2048, TavroSim_GetAnalogOutput(0, 1));
    EXPECT_EQ(TAVRO_DIO_ACTIVE_HIGH | TAVRO_DIO_CAN_LATCH, TavroSim_GetDigitalConfig(0, 1));
    EXPECT_EQ(0, TavroSim_GetDigitalOutput(0, 1));
}
