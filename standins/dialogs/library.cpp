// Library entry: module instance, control classes, Initialize and the
// controller list export.
#include "exports.h"
#include "library.h"

namespace {

// DllMain is the only place the module instance arrives; kept for the
// dialog templates.
HINSTANCE g_instance = nullptr;

} // namespace

HINSTANCE LibraryInstance()
{
    return g_instance;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
        // A class that another copy of the library registered already
        // serves as well; the load never fails for it.
        RegisterLampClass(instance);
        RegisterReadoutClass(instance);
        break;
    case DLL_PROCESS_DETACH:
        // At process end the classes go with the process; after FreeLibrary
        // they must not outlive the code of their window procedures.
        if (!reserved) {
            UnregisterLampClass(instance);
            UnregisterReadoutClass(instance);
        }
        break;
    }
    return TRUE;
}

// Everything is ready at load; kept for the programs that call it.
extern "C" short TavroDLG_Initialize(void)
{
    return TAVRO_OK;
}

extern "C" short TavroDLG_ListControllers(short* ids, short size)
{
    if (!ids || size <= 0)
        return TAVRO_ERR_BAD_ARGUMENT;
    int count = LinkedControllerCount();
    short written = 0;
    for (int i = 0; i < count && written < size; ++i) {
        TavroSimControllerInfo info = {};
        if (LinkedControllerAt(i, &info))
            ids[written++] = info.id;
    }
    return written;
}
