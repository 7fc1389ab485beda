#include "settings.h"

#include <cstdio>

#include "tuning_data.h"

int LoadProgramSettings(TuningWindowData*) { return 0; }
int SaveProgramSettings(TuningWindowData*) { return 0; }
int LoadAxisSettings(HWND) { return 0; }
int SaveAxisSettings(HWND) { return 0; }
int LoadTestSettings(TestSettings*, HKEY, const char*) { return 0; }
int SaveTestSettings(const TestSettings*, HKEY, const char*) { return 0; }

void FormatAxisKeyName(char* buffer, size_t size, int controllerId, int axis)
{
    snprintf(buffer, size, TUNING_REGISTRY_KEY "\\Axis%d:%d", controllerId, axis & 0xFFFF);
}
