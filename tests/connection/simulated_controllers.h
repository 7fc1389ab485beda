// Look-ups among the simulated controllers and the answer to the controller
// selection dialog, shared by the connection and panel tests.
#ifndef SIMULATED_CONTROLLERS_H
#define SIMULATED_CONTROLLERS_H

#include "tavrosim_control.h"
#include "test_support.h"

// The first controller of `type` that opens; a failure (id -1) when none.
TavroSimControllerInfo SimulatedControllerOfType(int type);
// The id of a controller that fails to open; a failure (-1) when none.
short SimulatedFailingController();
// Answers the selection dialog with controller `id`.
void AnswerControllerChoice(testing_support::DialogAnswerer& answerer, short id);

#endif
