// Settings-file readers that reject malformed values.
#include "strict_ini.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

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

int ReadIniWholeInt(const char* section, const char* key, int defaultValue, const char* path)
{
    char text[48];
    if (!ReadIniTrimmedText(section, key, text, sizeof text, path))
        return defaultValue;
    char* end = nullptr;
    errno = 0;
    const long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return defaultValue;
    return static_cast<int>(value);
}

double ReadIniWholeDouble(const char* section, const char* key, double defaultValue,
                          const char* path)
{
    char text[48];
    if (!ReadIniTrimmedText(section, key, text, sizeof text, path))
        return defaultValue;
    char* end = nullptr;
    errno = 0;
    const double value = strtod(text, &end);
    if (end == text || *end != '\0' || errno == ERANGE || value != value)
        return defaultValue;
    return value;
}
