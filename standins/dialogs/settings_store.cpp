// The settings store: ini files in the application-data folder.
#include "settings_store.h"

#include <windows.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "os_probes.h"

bool StorePath(const char* file, short controllerId, char* path, size_t size)
{
    if (file && file[0]) {
        snprintf(path, size, "%s", file);
        return true;
    }
    // The folder routine looks in the loaded shell library, which a host
    // program need not have loaded.
    HMODULE shell = LoadLibraryA("shell32.dll");
    char folder[MAX_PATH];
    int found = GetAppDataFolder(folder, "Drevalon", "Controllers");
    if (shell)
        FreeLibrary(shell);
    if (found <= 0)
        return false;
    int length = snprintf(path, size, "%scontroller-%d.ini", folder, controllerId);
    return length > 0 && static_cast<size_t>(length) < size;
}

bool ReadStoredSection(const char* path, const char* section, StoredSection* values)
{
    values->clear();
    std::vector<char> buffer(32768);
    DWORD length = GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), path);
    if (length >= buffer.size() - 2)
        return false;
    for (const char* entry = buffer.data(); *entry; entry += strlen(entry) + 1) {
        const char* equals = strchr(entry, '=');
        if (!equals)
            continue;
        std::string key(entry, static_cast<size_t>(equals - entry));
        std::string value(equals + 1);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
            key.pop_back();
        (*values)[key] = value;
    }
    return true;
}

bool WriteStoredSection(const char* path, const char* section, const StoredSection& values)
{
    std::string block;
    for (const auto& entry : values) {
        block += entry.first;
        block += '=';
        block += entry.second;
        block += '\0';
    }
    block += '\0';
    return WritePrivateProfileSectionA(section, block.data(), path) != 0;
}

namespace {

// The stored text of a key, null when the key is absent or empty.
const char* StoredText(const StoredSection& values, const char* key)
{
    auto found = values.find(key);
    return found == values.end() || found->second.empty() ? nullptr : found->second.c_str();
}

// A number parsed from `text` up to `end` is the whole value when only
// blanks follow it and it lies in range.
bool WholeNumber(const char* text, const char* end)
{
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return end != text && *end == '\0' && errno != ERANGE;
}

} // namespace

bool ParseStoredDouble(const StoredSection& values, const char* key, double* value)
{
    const char* text = StoredText(values, key);
    if (!text)
        return false;
    char* end = nullptr;
    errno = 0;
    double number = strtod(text, &end);
    if (!WholeNumber(text, end) || !std::isfinite(number))
        return false;
    *value = number;
    return true;
}

bool ParseStoredInt(const StoredSection& values, const char* key, long* value)
{
    const char* text = StoredText(values, key);
    if (!text)
        return false;
    char* end = nullptr;
    errno = 0;
    long number = strtol(text, &end, 0);
    if (!WholeNumber(text, end))
        return false;
    *value = number;
    return true;
}

std::string StoredDouble(double value)
{
    char text[40];
    snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string StoredInt(long value)
{
    char text[24];
    snprintf(text, sizeof text, "%ld", value);
    return text;
}

void ReportDamagedStore(const char* path, const char* section, const char* key)
{
    char text[MAX_PATH + 200];
    snprintf(text, sizeof text,
             "The stored settings are damaged (section [%s], value \"%s\") and were not restored.\n"
             "Nothing was changed.\n\n%s",
             section, key, path);
    MessageBoxA(nullptr, text, "Restore Settings", MB_OK | MB_ICONWARNING | MB_TASKMODAL);
}

void ReportUnwritableStore(const char* path)
{
    char text[MAX_PATH + 120];
    if (path[0])
        snprintf(text, sizeof text, "The settings could not be stored in\n%s", path);
    else
        snprintf(text, sizeof text, "The settings could not be stored: no application-data folder was found.");
    MessageBoxA(nullptr, text, "Save Settings", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
