// Typed registry values.
#include "registry_values.h"

#include <cstring>
#include <vector>

bool RegReadExact(HKEY key, const char* name, void* value, DWORD size)
{
    std::vector<BYTE> buffer(size + 1);
    DWORD storedSize = size;
    if (RegQueryValueExA(key, name, nullptr, nullptr, buffer.data(), &storedSize) != ERROR_SUCCESS ||
        storedSize != size)
        return false;
    memcpy(value, buffer.data(), size);
    return true;
}

bool RegReadDword(HKEY key, const char* name, DWORD* value)
{
    DWORD stored = 0;
    if (!RegReadExact(key, name, &stored, sizeof stored))
        return false;
    *value = stored;
    return true;
}

bool RegReadString(HKEY key, const char* name, char* text, DWORD capacity)
{
    if (capacity == 0)
        return false;
    DWORD size = capacity;
    std::vector<char> buffer(capacity + 1);
    bool ok = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
                  ERROR_SUCCESS &&
              size <= capacity;
    if (ok) {
        buffer[size] = '\0';
        size_t length = strlen(buffer.data());
        ok = length < capacity;
        if (ok)
            memcpy(text, buffer.data(), length + 1);
    }
    return ok;
}

void RegWriteExact(HKEY key, const char* name, DWORD type, const void* value, DWORD size)
{
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(value), size);
}

void RegWriteDword(HKEY key, const char* name, DWORD value)
{
    RegWriteExact(key, name, REG_DWORD, &value, sizeof value);
}

void RegWriteString(HKEY key, const char* name, const char* text)
{
    RegWriteExact(key, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}
