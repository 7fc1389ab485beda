// Placeholder entries until the dialogs land: every call fails.
#include "exports.h"

#define TAVRODLG_PLACEHOLDER(ret, name, params) \
    extern "C" ret name params { return static_cast<ret>(TAVRO_ERR_NOT_SUPPORTED); }
#define TAVRODLG_SKIP(name)
#pragma GCC diagnostic ignored "-Wunused-parameter"
TAVRO_DLG_ENTRIES(TAVRODLG_PLACEHOLDER, TAVRODLG_SKIP)
