#include "sim_fixture.h"

void SimTest::SetUp()
{
    ASSERT_EQ(TAVRO_OK, TavroSim_SetManualClock(1));
    ASSERT_EQ(TAVRO_OK, TavroSim_Reload(nullptr));
    ASSERT_GE(TavroSim_ControllerCount(), 9) << "the shipped tavrosim.ini is not beside the library";
    h = Open(0);
}

void SimTest::TearDown()
{
    if (h > 0)
        TavroClose(h);
}

short SimTest::Open(short id)
{
    short handle = TavroOpen(id, TAVRO_OPEN_SHARED, "");
    EXPECT_GT(handle, 0) << "controller " << id;
    return handle;
}

TavroSimAxisState SimTest::Axis(short id, short axis)
{
    TavroSimAxisState state = {};
    EXPECT_EQ(TAVRO_OK, TavroSim_GetAxisState(id, axis, &state));
    return state;
}

void SimTest::Run(double seconds)
{
    for (double t = 0.0; t < seconds; t += 0.01)
        TavroSim_Advance(0.01);
}
