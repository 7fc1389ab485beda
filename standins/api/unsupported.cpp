// Entries that no program calls: each answers "not supported", and is
// counted and traced like any other call.
#include "exports.h"
#include "simulator.h"

namespace {

short Unsupported(const char* name, short handle)
{
    SimGuard guard;
    EndCall(name, TAVRO_ERR_NOT_SUPPORTED, "%d", handle);
    return TAVRO_ERR_NOT_SUPPORTED;
}

} // namespace

#define TAVROSIM_UNSUPPORTED(name) \
    extern "C" short name(short handle) { return Unsupported(#name, handle); }
#define TAVROSIM_SKIP(ret, name, params)
TAVRO_API_ENTRIES(TAVROSIM_SKIP, TAVROSIM_UNSUPPORTED)
