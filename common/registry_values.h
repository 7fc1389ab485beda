// Typed registry values: a reader takes a value by its byte count, whatever
// type it is stored with, and otherwise leaves the caller's default.
#ifndef DREVALON_REGISTRY_VALUES_H
#define DREVALON_REGISTRY_VALUES_H

#include <windows.h>

// A value of exactly 4 bytes.
bool RegReadDword(HKEY key, const char* name, DWORD* value);
// A value of exactly `size` bytes.
bool RegReadExact(HKEY key, const char* name, void* value, DWORD size);
// A value of at most `capacity` bytes into `text`, always terminated; fails
// when its text does not fit.
bool RegReadString(HKEY key, const char* name, char* text, DWORD capacity);

void RegWriteDword(HKEY key, const char* name, DWORD value);
void RegWriteExact(HKEY key, const char* name, DWORD type, const void* value, DWORD size);
void RegWriteString(HKEY key, const char* name, const char* text);

#endif
