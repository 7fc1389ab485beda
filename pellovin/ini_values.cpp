// Settings-file readers of the panel.
#include "ini_values.h"

#include <cmath>

double ReadIniFiniteDouble(const char* section, const char* key, double defaultValue,
                           const char* path)
{
    const double value = ReadIniWholeDouble(section, key, defaultValue, path);
    return std::isfinite(value) ? value : defaultValue;
}
