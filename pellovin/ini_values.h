// Settings-file readers of the panel: values that are missing, malformed or
// not finite give the caller's default.
#ifndef PELLOVIN_INI_VALUES_H
#define PELLOVIN_INI_VALUES_H

#include "strict_ini.h"

double ReadIniFiniteDouble(const char* section, const char* key, double defaultValue,
                           const char* path);

#endif
