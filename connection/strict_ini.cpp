// Settings-file readers of the I/O panels.
#include "strict_ini.h"

#include <cmath>
#include <cstring>

#include "ini_file.h"

bool ReadIniTrimmedText(const char* section, const char* key, char* buffer, DWORD size,
                        const char* path)
{
    buffer[0] = '\0';
    GetPrivateProfileStringA(section, key, "", buffer, size, path);
    char* start = buffer;
    while (*start == ' ' || *start == '\t')
        ++start;
    size_t length = strlen(start);
    while (length > 0 && (start[length - 1] == ' ' || start[length - 1] == '\t'))
        --length;
    memmove(buffer, start, length);
    buffer[length] = '\0';
    return length > 0;
}

double ReadIniFiniteDouble(const char* section, const char* key, double defaultValue,
                           const char* path)
{
    const double value = ReadIniDouble(section, key, defaultValue, path);
    return std::isfinite(value) ? value : defaultValue;
}
