// The simulator's controller list and handle map, through its control exports.
#include "library.h"

int LinkedControllerCount()
{
    int count = TavroSim_ControllerCount();
    return count > 0 ? count : 0;
}

bool LinkedControllerAt(int index, TavroSimControllerInfo* info)
{
    if (TavroSim_ControllerAt(index, info) != TAVRO_OK)
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
    short id = TavroSim_ControllerIdOfHandle(handle);
    return id < 0 ? -1 : id;
}

short ReadControllerOfHandle(short handle, short* controllerId, TavroControllerConfig* config)
{
    *controllerId = LinkedControllerIdOfHandle(handle);
    if (*controllerId < 0)
        return TAVRO_ERR_BAD_HANDLE;
    *config = TavroControllerConfig{};
    config->size = sizeof *config;
    return TavroGetConfigurationEx(handle, config);
}
