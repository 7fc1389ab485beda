// Typed values in a settings file of INI syntax.
#include "ini_file.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

// Reads the raw text of a key; false when the value is empty or missing.
bool ReadIniText(const char* section, const char* key, char* buffer, DWORD size, const char* path)
{
    buffer[0] = '\0';
    GetPrivateProfileStringA(section, key, "", buffer, size, path);
    return buffer[0] != '\0';
}

int WriteIniText(const char* section, const char* key, const char* text, const char* path)
{
    return WritePrivateProfileStringA(section, key, text, path) ? 1 : 0;
}

} // namespace

bool ReadIniBool(const char* section, const char* key, bool defaultValue, const char* path)
{
    char text[16];
    if (!ReadIniText(section, key, text, sizeof text, path))
        return defaultValue;
    const char first = static_cast<char>(tolower(static_cast<unsigned char>(text[0])));
    if (first == 't' || first == 'y' || first == '-')
        return true;
    return first >= '1' && first <= '9';
}

double ReadIniDouble(const char* section, const char* key, double defaultValue, const char* path)
{
    char text[48];
    if (!ReadIniText(section, key, text, sizeof text, path))
        return defaultValue;
    return strtod(text, nullptr);
}

int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path)
{
    char text[48];
    if (!ReadIniText(section, key, text, sizeof text, path))
        return defaultValue;
    return static_cast<int>(strtol(text, nullptr, 10));
}

COLORREF ReadIniColor(const char* section, const char* key, COLORREF defaultValue, const char* path)
{
    char text[48];
    if (!ReadIniText(section, key, text, sizeof text, path))
        return defaultValue;
    int red = 0, green = 0, blue = 0;
    if (sscanf(text, "%d, %d, %d", &red, &green, &blue) != 3)
        return defaultValue;
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

int ReadIniPoint(const char* section, const char* key, const POINT* defaultValue, POINT* out,
                 const char* path)
{
    char text[48];
    int x = 0, y = 0;
    if (ReadIniText(section, key, text, sizeof text, path) && sscanf(text, "(%d, %d)", &x, &y) == 2) {
        out->x = x;
        out->y = y;
        return 1;
    }
    if (defaultValue)
        *out = *defaultValue;
    return 0;
}

int ReadIniRect(const char* section, const char* key, const RECT* defaultValue, RECT* out,
                const char* path)
{
    char text[48];
    int left = 0, top = 0, right = 0, bottom = 0;
    if (ReadIniText(section, key, text, sizeof text, path) &&
        sscanf(text, "(%d, %d, %d, %d)", &left, &top, &right, &bottom) == 4) {
        SetRect(out, left, top, right, bottom);
        return 1;
    }
    if (defaultValue)
        *out = *defaultValue;
    return 0;
}

int WriteIniBool(const char* section, const char* key, bool value, const char* path)
{
    return WriteIniText(section, key, value ? "true" : "false", path);
}

int WriteIniDouble(const char* section, const char* key, double value, const char* path)
{
    char text[48];
    snprintf(text, sizeof text, "%18.15g", value);
    return WriteIniText(section, key, text, path);
}

int WriteIniInt(const char* section, const char* key, int value, const char* path)
{
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return WriteIniText(section, key, text, path);
}

int WriteIniColor(const char* section, const char* key, COLORREF value, const char* path)
{
    char text[16];
    snprintf(text, sizeof text, "%d,%d,%d", GetRValue(value), GetGValue(value), GetBValue(value));
    return WriteIniText(section, key, text, path);
}

int WriteIniPoint(const char* section, const char* key, POINT value, const char* path)
{
    char text[32];
    snprintf(text, sizeof text, "(%ld,%ld)", value.x, value.y);
    return WriteIniText(section, key, text, path);
}

int WriteIniRect(const char* section, const char* key, const RECT& value, const char* path)
{
    char text[64];
    snprintf(text, sizeof text, "(%ld,%ld,%ld,%ld)", value.left, value.top, value.right, value.bottom);
    return WriteIniText(section, key, text, path);
}
