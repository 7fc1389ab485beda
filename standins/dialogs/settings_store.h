// The settings store: one ini file per controller id in the user's
// application-data folder, shared by every program.
#ifndef TAVRODLG_SETTINGS_STORE_H
#define TAVRODLG_SETTINGS_STORE_H

#include <cstddef>
#include <map>
#include <string>

// Path of the store of a controller id, or `file` when the caller names one;
// false when no folder is available.
bool StorePath(const char* file, short controllerId, char* path, size_t size);

// One stored section as key -> value text ("" keys absent).
typedef std::map<std::string, std::string> StoredSection;
bool ReadStoredSection(const char* path, const char* section, StoredSection* values);
// Replaces a whole section in one write.
bool WriteStoredSection(const char* path, const char* section, const StoredSection& values);

// Strict value readers: the whole text must be the number.
bool ParseStoredDouble(const StoredSection& values, const char* key, double* value);
bool ParseStoredInt(const StoredSection& values, const char* key, long* value);

std::string StoredDouble(double value);
std::string StoredInt(long value);

// Tells the user that stored settings are damaged and were left unused.
void ReportDamagedStore(const char* path, const char* section, const char* key);
// Tells the user that settings could not be stored; `path` may be empty
// when no folder for the store was found.
void ReportUnwritableStore(const char* path);

#endif
