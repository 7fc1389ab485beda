// Library entry: module instance, control classes, Initialize and the
// controller list export.
#include "exports.h"
#include "library.h"

// The module that holds this code, without keeping the instance from
// DllMain in a global.
HINSTANCE LibraryInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&LibraryInstance), &module);
    return module;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
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
