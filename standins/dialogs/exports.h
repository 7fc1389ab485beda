// Prototypes of every export of the dialogs library, made from the shared
// declarations so each definition must match them exactly.
#ifndef TAVRODLG_EXPORTS_H
#define TAVRODLG_EXPORTS_H

#include "tavro_api.h"

#define TAVRODLG_EXPORT_DECL(ret, name, params) extern "C" ret name params;
#define TAVRODLG_UNUSED_DECL(name) extern "C" short name(short handle);
TAVRO_DLG_ENTRIES(TAVRODLG_EXPORT_DECL, TAVRODLG_UNUSED_DECL)
#undef TAVRODLG_EXPORT_DECL
#undef TAVRODLG_UNUSED_DECL

#endif
