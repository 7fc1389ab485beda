// Bound controller libraries and simulator look-ups for connection tests.
#ifndef CONNECTION_FIXTURE_H
#define CONNECTION_FIXTURE_H

#include <gtest/gtest.h>

#include <string>

#include "simulated_controllers.h"

// Binds both libraries and reloads the simulator's shipped controllers.
class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// A drevalon.conf text with [General] Version and the given type sections.
std::string ConfText(const std::string& version, const std::string& sections);
std::string TypeSection(int type, const std::string& extraKeys = "");

#endif
