// Placeholder entries until the controller model lands: every call fails.
#include "exports.h"

#define TAVROSIM_PLACEHOLDER(ret, name, params) \
    extern "C" ret name params { return static_cast<ret>(TAVRO_ERR_NOT_SUPPORTED); }
#define TAVROSIM_SKIP(name)
#pragma GCC diagnostic ignored "-Wunused-parameter"
TAVRO_API_ENTRIES(TAVROSIM_PLACEHOLDER, TAVROSIM_SKIP)
