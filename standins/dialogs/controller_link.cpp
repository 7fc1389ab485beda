// The simulator's control exports that the dialogs need, looked up in the
// loaded API library at first use: without them the dialogs still load and
// report that no controller is known.
#include "library.h"

namespace {

typedef int (*ControllerCountFn)();
typedef short (*ControllerAtFn)(int index, TavroSimControllerInfo* info);
typedef short (*ControllerIdOfHandleFn)(short handle);

FARPROC LookUp(const char* name)
{
    HMODULE api = GetModuleHandleA("tavroapi64.dll");
    return api ? GetProcAddress(api, name) : nullptr;
}

template <typename Fn> Fn LookUpAs(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(LookUp(name)));
}

} // namespace

int LinkedControllerCount()
{
    ControllerCountFn count = LookUpAs<ControllerCountFn>("TavroSim_ControllerCount");
    if (!count)
        return 0;
    int n = count();
    return n > 0 ? n : 0;
}

bool LinkedControllerAt(int index, TavroSimControllerInfo* info)
{
    ControllerAtFn at = LookUpAs<ControllerAtFn>("TavroSim_ControllerAt");
    if (!at || at(index, info) != TAVRO_OK)
        return false;
    info->description[sizeof info->description - 1] = '\0';
    return true;
}

bool FindLinkedController(short controllerId, TavroSimControllerInfo* info)
{
    int count = LinkedControllerCount();
    for (int i = 0; i < count; ++i) {
        if (LinkedControllerAt(i, info) && info->id == controllerId)
            return true;
    }
    return false;
}

short LinkedControllerIdOfHandle(short handle)
{
    if (handle <= 0)
        return -1;
    ControllerIdOfHandleFn idOf = LookUpAs<ControllerIdOfHandleFn>("TavroSim_ControllerIdOfHandle");
    if (!idOf)
        return -1;
    short id = idOf(handle);
    return id < 0 ? -1 : id;
}
