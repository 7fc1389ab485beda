// A scripted controller behind the binding table: the entries the tuning
// program calls are replaced by fakes that answer from `FakeController` and
// log every call, so tests can check exact call sequences and arguments.
#ifndef QUORISK_FAKE_CONTROLLER_H
#define QUORISK_FAKE_CONTROLLER_H

#include "tavro_api.h"

#include <map>
#include <string>
#include <vector>

struct FakeAxis {
    int32_t moduleType = 3;
    int32_t captureFlags = TAVRO_CAPTURE_TORQUE | TAVRO_CAPTURE_ADVANCED;
    int32_t captureBuffer = 512;
    double periodHigh = 0.00025;
    double periodMed = 0.0005;
    double periodLow = 0.001;
    int16_t updateRate = TAVRO_RATE_MED;
    double gain = 0.0;
    TavroFilterConfig filter = {};
    TavroScale scale = {};
    double position = 0.0;
    double target = 0.0;
    double optimal = 0.0;
    double auxiliary = 0.0;
    DWORD status = 0;
    short profile = TAVRO_PROFILE_TRAPEZOIDAL;
    bool failFilterRead = false;
    bool failScaleRead = false;
};

struct FakeController {
    short openResult = 1;          // handle TavroOpen gives, or an error code
    int32_t controllerType = 1;
    int32_t axisCount = 4;
    int32_t flags = 0;
    std::vector<short> selections; // successive answers of the selection dialog
    FakeAxis axes[17];
    std::vector<std::string> log;
    std::map<std::string, int> calls;

    // Capture sample of an axis, kind and index (16, 64, 128, 512).
    double CaptureSample(short axis, short kind, long index) const;
};

// The one fake controller of the test process.
FakeController& Fake();

// Binds the real libraries, then puts the fakes in the table.
void InstallFakeController();

// Log lines whose entry name is in `names`, in order.
std::vector<std::string> LoggedCalls(const std::vector<std::string>& names);

#endif
