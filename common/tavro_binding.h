// The process-wide table of controller library entries, filled once at start.
#ifndef DREVALON_TAVRO_BINDING_H
#define DREVALON_TAVRO_BINDING_H

#include "tavro_api.h"

// One typed pointer per entry of both libraries; null until bound.
struct TavroBindingTable {
#define TAVRO_SLOT_FIELD(ret, name, params) name##_t name;
#define TAVRO_UNUSED_SLOT_FIELD(name) name##_t name;
    TAVRO_API_ENTRIES(TAVRO_SLOT_FIELD, TAVRO_UNUSED_SLOT_FIELD)
    TAVRO_DLG_ENTRIES(TAVRO_SLOT_FIELD, TAVRO_UNUSED_SLOT_FIELD)
#undef TAVRO_SLOT_FIELD
#undef TAVRO_UNUSED_SLOT_FIELD
};

extern TavroBindingTable g_tavro;

// Binding status: 0 when the library and every listed entry were found.
enum { TAVRO_BIND_FAILED = 7 };

// The motion and tuning programs bind the full API list; the I/O panels the
// short one, which lacks the last four names.
enum class TavroApiList { Full, Short };

int BindTavroApiList(TavroApiList list);

// Binds the program's own API list (chosen by the program's build).
int BindTavroApi();

// Binds the 17 entries of the dialogs library.
int BindTavroDialogs();

#endif
