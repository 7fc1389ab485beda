// A fresh simulator on the manual clock with the shipped controllers.
#ifndef SIMULATOR_TEST_FIXTURE_H
#define SIMULATOR_TEST_FIXTURE_H

#include <gtest/gtest.h>

#include "exports.h"
#include "tavrosim_control.h"

class SimTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a controller of the shipped file; fails the test when it cannot.
    short Open(short id);
    TavroSimAxisState Axis(short id, short axis);
    // Advances the manual clock in small steps up to `seconds`.
    void Run(double seconds);

    short h = 0; // controller 0, opened by SetUp
};

#endif
