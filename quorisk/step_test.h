// The step-response test: one stored command block that captures the axis
// while it moves by the test distance, then the read-back of the samples.
#ifndef QUORISK_STEP_TEST_H
#define QUORISK_STEP_TEST_H

#include <windows.h>

// Longest recording (record time plus delay) a test waits for, in
// milliseconds; a test that needs more is refused.
#define MAX_TEST_WAIT_MS 120000

// Runs the whole test on the current axis (and its gantry partner), from the
// timing check to the plot refresh. A test whose capture cannot be timed or
// whose record time and delay outlast MAX_TEST_WAIT_MS is refused with a
// message before anything is sent to the controller.
void RunStepResponseTest(HWND mainWindow, bool plus);

// Refills the five series of `axis` (1..16) from its capture buffer with the
// samples of the record time, relative to the start values and negated for a
// minus step. False for an axis outside 1..16.
bool ReadCaptureSeries(HWND mainWindow, int axis, double target0, double optimal0, double aux0,
                       bool plus);

#endif
