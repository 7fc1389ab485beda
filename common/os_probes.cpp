// Probes of the operating system and of library versions.
#include "os_probes.h"

#include <cstring>

namespace {

typedef BOOL(WINAPI* IsWow64ProcessFn)(HANDLE, PBOOL);
typedef void(WINAPI* GetNativeSystemInfoFn)(LPSYSTEM_INFO);
typedef HRESULT(WINAPI* SHGetFolderPathAFn)(HWND, int, HANDLE, DWORD, LPSTR);

struct DllVersionRecord {
    DWORD size;
    DWORD major;
    DWORD minor;
    DWORD build;
    DWORD platform;
};
typedef HRESULT(CALLBACK* DllGetVersionFn)(DllVersionRecord*);

template <typename Fn> Fn LookUp(const char* module, const char* name)
{
    HMODULE handle = GetModuleHandleA(module);
    if (!handle)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

// Appends text to path without passing MAX_PATH characters.
bool AppendPath(char* path, const char* text)
{
    size_t length = strlen(path);
    size_t add = strlen(text);
    if (length + add >= MAX_PATH)
        return false;
    memcpy(path + length, text, add + 1);
    return true;
}

bool NativeIsX64()
{
    SYSTEM_INFO info = {};
    GetNativeSystemInfoFn getNative = LookUp<GetNativeSystemInfoFn>("kernel32", "GetNativeSystemInfo");
    if (getNative)
        getNative(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

} // namespace

int GetNativeArchitecture(WORD* architecture, int* isWow64)
{
    *isWow64 = 0;
    SYSTEM_INFO info = {};
    IsWow64ProcessFn isWow = LookUp<IsWow64ProcessFn>("kernel32", "IsWow64Process");
    if (isWow) {
        BOOL wow = FALSE;
        if (!isWow(GetCurrentProcess(), &wow))
            return 0;
        *isWow64 = wow ? 1 : 0;
        GetNativeSystemInfoFn getNative =
            LookUp<GetNativeSystemInfoFn>("kernel32", "GetNativeSystemInfo");
        if (!getNative)
            return 0;
        getNative(&info);
    } else {
        GetSystemInfo(&info);
    }
    *architecture = info.wProcessorArchitecture;
    return 1;
}

int GetWindowsVersionClass()
{
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)))
            return 0;
    }
    const DWORD major = version.dwMajorVersion;
    const DWORD minor = version.dwMinorVersion;
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (major == 4 && minor == 0)
            return 1;
        if (major == 4 && minor == 10)
            return 2;
        if (major == 4 && minor == 90)
            return 3;
        return 0;
    }
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return 0;
    if (major <= 4)
        return 4;
    if (major == 5) {
        if (minor == 0)
            return 5;
        if (minor == 1)
            return 6;
        if (minor == 2)
            return 7;
        return NativeIsX64() ? 7 : 6;
    }
    if (minor == 0)
        return NativeIsX64() ? 9 : 8;
    return NativeIsX64() ? 11 : 10;
}

int GetAppDataFolder(char* path, const char* first, const char* second)
{
    path[0] = '\0';
    SHGetFolderPathAFn getFolder = LookUp<SHGetFolderPathAFn>("shell32", "SHGetFolderPathA");
    if (!getFolder)
        return 0;
    if (FAILED(getFolder(nullptr, 0x801A, nullptr, 0, path))) {
        path[0] = '\0';
        return 0;
    }
    AppendPath(path, "\\");
    const char* folders[] = {first, second};
    for (const char* folder : folders) {
        if (!folder || !folder[0])
            continue;
        if (AppendPath(path, folder)) {
            CreateDirectoryA(path, nullptr);
            AppendPath(path, "\\");
        }
    }
    return static_cast<int>(strlen(path));
}

DWORD GetDllVersion(const char* fileName)
{
    HMODULE library = LoadLibraryA(fileName);
    if (!library)
        return 0;
    DWORD result = 0;
    DllGetVersionFn getVersion =
        reinterpret_cast<DllGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (getVersion) {
        DllVersionRecord record = {};
        record.size = sizeof record;
        if (SUCCEEDED(getVersion(&record)))
            result = ((record.major & 0xFFFF) << 16) + (record.minor & 0xFFFF);
    }
    FreeLibrary(library);
    return result;
}
