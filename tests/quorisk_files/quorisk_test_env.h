// A tuning record behind a real main window with five plot windows, and a
// scripted controller behind the binding table for exact inputs.
#ifndef QUORISK_TEST_ENV_H
#define QUORISK_TEST_ENV_H

#include <windows.h>

#include <string>

#include "tavro_api.h"
#include "tuning_data.h"

namespace quorisk_test {

const short FAKE_HANDLE = 7;
const int FAKE_MAX_AXES = 8;

struct FakeAxis {
    int32_t moduleType;
    int32_t axisFlags;
    int32_t captureFlags;
    int32_t bufferSize;
    double periodHigh;
    double periodMed;
    double periodLow;
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    short profile;
};

struct FakeController {
    int32_t type;
    int32_t axisCount;
    int32_t flags;
    FakeAxis axes[FAKE_MAX_AXES + 1]; // index = axis number
};

// The scripted controller the fake entries answer from.
extern FakeController g_fake;

// Resets g_fake to three servo axes on a type-3 fractional-gain controller and
// points the binding table's entries used here at it.
void InstallFakeController();

// Main window of a test: the record in its user data, plot windows created.
class TuningWindow {
public:
    TuningWindow();
    ~TuningWindow();
    TuningWindow(const TuningWindow&) = delete;
    TuningWindow& operator=(const TuningWindow&) = delete;

    HWND Window() const { return window_; }
    TuningWindowData* Data() { return data_; }

private:
    HWND window_;
    TuningWindowData* data_; // built and destroyed as the main window does
};

// Registry helpers.
bool QueryValue(HKEY root, const std::string& key, const std::string& name, DWORD* type,
                std::string* bytes);
void SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD size);

} // namespace quorisk_test

#endif
