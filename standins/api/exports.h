// Prototypes of every export of the simulated controller library, made from
// the shared declarations so each definition must match them exactly.
#ifndef TAVROSIM_EXPORTS_H
#define TAVROSIM_EXPORTS_H

#include "tavro_api.h"

#define TAVROSIM_EXPORT_DECL(ret, name, params) extern "C" ret name params;
#define TAVROSIM_UNUSED_DECL(name) extern "C" short name(short handle);
TAVRO_API_ENTRIES(TAVROSIM_EXPORT_DECL, TAVROSIM_UNUSED_DECL)
#undef TAVROSIM_EXPORT_DECL
#undef TAVROSIM_UNUSED_DECL

#endif
