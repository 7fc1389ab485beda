// The one way every program opens its help.
#include "help.h"

#include <cstdio>
#include <cstring>

void GetModuleSiblingPath(const char* fileName, char* path, DWORD size)
{
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module)
        module[0] = '\0';
    char* slash = strrchr(module, '\\');
    if (slash)
        slash[1] = '\0';
    else
        module[0] = '\0';
    snprintf(path, size, "%s%s", module, fileName);
}

BOOL ShowHelp(HWND owner, const char* fileName, UINT command, ULONG_PTR data)
{
    char path[MAX_PATH];
    GetModuleSiblingPath(fileName, path, sizeof path);
    if (command == HELP_QUIT)
        return WinHelpA(owner, path, command, data);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        char text[MAX_PATH + 64];
        snprintf(text, sizeof text, "The help file %s was not found.", path);
        MessageBoxA(owner, text, "Help", MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    return WinHelpA(owner, path, command, data);
}
