// Typed registry values: a reader takes a value only when it is stored with
// the expected type and size, and otherwise leaves the caller's default.
#ifndef DREVALON_REGISTRY_VALUES_H
#define DREVALON_REGISTRY_VALUES_H

#include <windows.h>

bool RegReadDword(HKEY key, const char* name, DWORD* value);
// A REG_BINARY (or any typed) value of exactly `size` bytes.
bool RegReadExact(HKEY key, const char* name, DWORD type, void* value, DWORD size);
// A REG_SZ value into `text`, always terminated; fails when it does not fit.
bool RegReadString(HKEY key, const char* name, char* text, DWORD capacity);

void RegWriteDword(HKEY key, const char* name, DWORD value);
void RegWriteExact(HKEY key, const char* name, DWORD type, const void* value, DWORD size);
void RegWriteString(HKEY key, const char* name, const char* text);

#endif
