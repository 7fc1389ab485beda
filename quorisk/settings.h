// Registry settings of the tuning program: the program key (window place,
// controller, axis, plot choices, gantry pair, plot looks), one key per
// controller and axis (slider limits guarded by a hardware identity) and the
// test settings below it.
#ifndef QUORISK_SETTINGS_H
#define QUORISK_SETTINGS_H

#include <windows.h>

struct TuningWindowData;
struct TestSettings;

// HKEY_CURRENT_USER key of the program.
#define TUNING_REGISTRY_KEY "Software\\Korvane\\Drevalon\\Servo Tuning"
// Version text stored with the settings.
#define TUNING_PROGRAM_VERSION "2.7.0.217"

// Sets the program defaults, reads the program key, places the main window
// and restores the plot looks. 1 when the key was opened.
int LoadProgramSettings(TuningWindowData* data);
// Writes the program key at exit. 1 when the key could be created.
int SaveProgramSettings(TuningWindowData* data);

// Slider limits and test settings of the current controller and axis.
int LoadAxisSettings(HWND mainWindow);
int SaveAxisSettings(HWND mainWindow);

// The test settings in subkey `subKeyName` of an open key.
int LoadTestSettings(TestSettings* settings, HKEY key, const char* subKeyName);
int SaveTestSettings(const TestSettings* settings, HKEY key, const char* subKeyName);

// Name of the per-axis key below HKEY_CURRENT_USER for a controller id and axis.
void FormatAxisKeyName(char* buffer, size_t size, int controllerId, int axis);

#endif
