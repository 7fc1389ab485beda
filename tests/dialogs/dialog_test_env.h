// Shared set-up of the dialog tests: the entries of both controller
// libraries, the simulator's control exports, and a fixture that opens a
// configured controller of the wanted kind.
#ifndef DIALOG_TEST_ENV_H
#define DIALOG_TEST_ENV_H

#include <gtest/gtest.h>

#include "tavro_api.h"
#include "tavrosim_control.h"
#include "test_support.h"

#include <functional>
#include <string>

#define DIALOG_TEST_DECL(ret, name, params) extern "C" ret name params;
#define DIALOG_TEST_SKIP(name)
TAVRO_API_ENTRIES(DIALOG_TEST_DECL, DIALOG_TEST_SKIP)
TAVRO_DLG_ENTRIES(DIALOG_TEST_DECL, DIALOG_TEST_SKIP)
#undef DIALOG_TEST_DECL
#undef DIALOG_TEST_SKIP

// The first configured controller that opens and satisfies `wanted`.
bool FindController(const std::function<bool(const TavroSimControllerInfo&)>& wanted,
                    TavroSimControllerInfo* found);

// The library's store file of a controller id.
std::string StoreFile(short controllerId);

class OpenController : public ::testing::Test {
protected:
    // Reloads the simulator (power-on state) and opens a controller with at
    // least one servo axis.
    void SetUp() override;
    void TearDown() override;
    // Power cycle: every handle dropped, the same controller opened again.
    void PowerCycle();

    TavroSimControllerInfo controller_ = {};
    short handle_ = 0;
};

TavroMotionConfig Motion(short handle, short axis);
TavroFilterConfig Filter(short handle, short axis);

#endif
