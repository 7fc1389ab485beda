// Settings-file readers that reject malformed values: a key that is missing,
// empty or not wholly a number gives the caller's default.
#ifndef DREVALON_STRICT_INI_H
#define DREVALON_STRICT_INI_H

#include <windows.h>

// A key's text without leading and trailing blanks; false when empty.
bool ReadIniTrimmedText(const char* section, const char* key, char* buffer, DWORD size,
                        const char* path);
int ReadIniWholeInt(const char* section, const char* key, int defaultValue, const char* path);
double ReadIniWholeDouble(const char* section, const char* key, double defaultValue,
                          const char* path);

#endif
