// Entries that no program calls: each answers "not supported".
#include "exports.h"

#define TAVROSIM_UNSUPPORTED(name) \
    extern "C" short name(short) { return TAVRO_ERR_NOT_SUPPORTED; }
#define TAVROSIM_SKIP(ret, name, params)
TAVRO_API_ENTRIES(TAVROSIM_SKIP, TAVROSIM_UNSUPPORTED)
