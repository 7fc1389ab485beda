// The one way every program opens its help.
#ifndef DREVALON_HELP_H
#define DREVALON_HELP_H

#include <windows.h>

// Opens help file `fileName` (beside the executable) with WinHelpA. When the
// file is missing it says so in a message box instead: the help viewer would
// otherwise wait for a file that never comes. HELP_QUIT always goes through.
BOOL ShowHelp(HWND owner, const char* fileName, UINT command, ULONG_PTR data);

// Full path of a file beside the running executable.
void GetModuleSiblingPath(const char* fileName, char* path, DWORD size);

#endif
