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

struct FakeAxis {
    TavroAxisConfig config;
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    short profile;
};

struct FakeController {
    TavroControllerConfig config;
    FakeAxis axes[9]; // index = axis number
};

// What the scripted entries answer; reset by InstallFakeController to three
// servo axes on a type-3 fractional-gain controller.
extern FakeController g_fake;
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

// A registry value's type and bytes below HKEY_CURRENT_USER.
bool QueryValue(const std::string& key, const char* name, DWORD* type, std::string* bytes);
void SetValue(const std::string& key, const char* name, DWORD type, const void* data, DWORD size);

} // namespace quorisk_test

#endif
