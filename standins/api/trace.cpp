// Counts the calls of each entry and, when TAVROSIM_TRACE names a file,
// appends one line per call: name, arguments and result.
#include <cstdarg>
#include <cstdio>

#include "simulator.h"

void EndCall(const char* name, long result, const char* format, ...)
{
    Simulator& sim = Sim();
    ++sim.callCounts[name];
    if (sim.tracePath.empty())
        return;
    char arguments[384];
    va_list args;
    va_start(args, format);
    vsnprintf(arguments, sizeof arguments, format, args);
    va_end(args);
    char line[512];
    snprintf(line, sizeof line, "%s(%s) = %ld\r\n", name, arguments, result);
    HANDLE file = CreateFileA(sim.tracePath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    CloseHandle(file);
}

void ResetCallCounts()
{
    Sim().callCounts.clear();
    Sim().deadHandleCalls = 0;
}

long CallCount(const char* name)
{
    const std::map<std::string, long>& counts = Sim().callCounts;
    auto it = counts.find(name ? name : "");
    return it == counts.end() ? 0 : it->second;
}
