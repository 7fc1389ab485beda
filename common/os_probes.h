// Probes of the operating system and of library versions.
#ifndef DREVALON_OS_PROBES_H
#define DREVALON_OS_PROBES_H

#include <windows.h>

// Native processor architecture and whether this process runs under WOW64.
int GetNativeArchitecture(WORD* architecture, int* isWow64);

// A small code for the Windows family and version (0 when unknown).
int GetWindowsVersionClass();

// The user's application-data folder with up to two sub-folders (created),
// ending in a backslash; returns the length, 0 on failure.
int GetAppDataFolder(char* path, const char* first, const char* second);

// A library's DllGetVersion as major * 65536 + minor; 0 when unavailable.
DWORD GetDllVersion(const char* fileName);

#endif
