// Settings-file readers of the I/O panels with guards the plain readers of
// ini_file.h lack. Integer keys are read with GetPrivateProfileIntA itself.
#ifndef DREVALON_STRICT_INI_H
#define DREVALON_STRICT_INI_H

#include <windows.h>

// A key's text without leading and trailing blanks; false when empty.
bool ReadIniTrimmedText(const char* section, const char* key, char* buffer, DWORD size,
                        const char* path);
// ReadIniDouble (the leading number of the text), kept only when finite; a
// missing or empty key, or an infinite or undefined number, gives the default.
double ReadIniFiniteDouble(const char* section, const char* key, double defaultValue,
                           const char* path);

#endif
