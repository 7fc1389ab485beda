// Typed values in a settings file of INI syntax.
#ifndef DREVALON_INI_FILE_H
#define DREVALON_INI_FILE_H

#include <windows.h>

// Readers pass an empty system default: an empty value and a missing key both
// give the caller's default. Writers return 1 on success, else 0.
bool ReadIniBool(const char* section, const char* key, bool defaultValue, const char* path);
double ReadIniDouble(const char* section, const char* key, double defaultValue, const char* path);
int ReadIniInt(const char* section, const char* key, int defaultValue, const char* path);
COLORREF ReadIniColor(const char* section, const char* key, COLORREF defaultValue, const char* path);
int ReadIniPoint(const char* section, const char* key, const POINT* defaultValue, POINT* out,
                 const char* path);
int ReadIniRect(const char* section, const char* key, const RECT* defaultValue, RECT* out,
                const char* path);

int WriteIniBool(const char* section, const char* key, bool value, const char* path);
int WriteIniDouble(const char* section, const char* key, double value, const char* path);
int WriteIniInt(const char* section, const char* key, int value, const char* path);
int WriteIniColor(const char* section, const char* key, COLORREF value, const char* path);
int WriteIniPoint(const char* section, const char* key, POINT value, const char* path);
int WriteIniRect(const char* section, const char* key, const RECT& value, const char* path);

#endif
