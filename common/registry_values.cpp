// Typed registry values.
#include "registry_values.h"

#include <cstring>
#include <vector>

bool RegReadExact(HKEY key, const char* name, DWORD type, void* value, DWORD size)
{
    std::vector<BYTE> buffer(size + 1);
    DWORD storedType = 0;
    DWORD storedSize = size;
    if (RegQueryValueExA(key, name, nullptr, &storedType, buffer.data(), &storedSize) !=
            ERROR_SUCCESS ||
        storedType != type || storedSize != size)
        return false;
    memcpy(value, buffer.data(), size);
    return true;
}

bool RegReadDword(HKEY key, const char* name, DWORD* value)
{
    DWORD stored = 0;
    if (!RegReadExact(key, name, REG_DWORD, &stored, sizeof stored))
        return false;
    *value = stored;
    return true;
}

bool RegReadString(HKEY key, const char* name, char* text, DWORD capacity)
{
    if (capacity == 0)
        return false;
    DWORD type = 0;
    DWORD size = capacity;
    std::vector<char> buffer(capacity + 1);
    bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
                  ERROR_SUCCESS &&
              type == REG_SZ && size <= capacity;
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
