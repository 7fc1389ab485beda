// Controller open, model check, error report and close for the I/O panels.
#include "app_data_base.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tavro_binding.h"

namespace {

const int kConfigRecordSize = 128;
const int kChannelsPerPage = 16;
// More slots than any controller has: a larger count is taken as garbage.
const int kMaxModuleSlots = 128;

} // namespace

AppDataBase::AppDataBase(HWND window, const char* programWord) : mainWindow(window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    char module[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(instance, module, sizeof module);
    if (length == 0 || length >= sizeof module)
        module[0] = '\0';

    char drive[_MAX_DRIVE] = "";
    char folder[_MAX_DIR] = "";
    _splitpath(module, drive, folder, nullptr, nullptr);
    snprintf(iniPath, sizeof iniPath, "%s%sdrevalon.ini", drive, folder);
    snprintf(helpPath, sizeof helpPath, "%s%s%s.hlp", drive, folder, programWord);
    snprintf(confPath, sizeof confPath, "%s%sdrevalon.conf", drive, folder);
}

AppDataBase::~AppDataBase()
{
    CloseController();
}

short AppDataBase::OpenController(int id)
{
    CloseController();
    if (id >= 0)
        controllerId = static_cast<short>(id);

    handle = g_tavro.TavroOpen(static_cast<short>(controllerId), TAVRO_OPEN_SHARED, "");
    if (handle <= 0) {
        lastOpenStatus = handle;
        return 0;
    }

    lastOpenStatus = CheckConfiguration();
    if (lastOpenStatus != CONF_OK)
        return 0;

    g_tavro.TavroErrorNotify(mainWindow, handle, static_cast<DWORD>(-2));

    TavroControllerConfig config;
    memset(&config, 0, sizeof config);
    config.size = kConfigRecordSize;
    g_tavro.TavroGetConfigurationEx(handle, &config);
    analogInputCount = config.analogInputs;
    analogOutputCount = config.analogOutputs;
    controllerType = config.controllerType;
    digitalChannelCount = config.digitalChannels;
    pageCount = digitalChannelCount / kChannelsPerPage;
    // A slot count no controller has gives no module list and no slots.
    moduleSlotCount = config.moduleSlots;
    if (moduleSlotCount < 0 || moduleSlotCount > kMaxModuleSlots)
        moduleSlotCount = 0;

    analogModuleCount = 0;
    if (moduleSlotCount > 0) {
        moduleList = new int[moduleSlotCount];
        for (int slot = 0; slot < moduleSlotCount; ++slot)
            moduleList[slot] = TAVRO_MODULE_EMPTY;
        g_tavro.TavroGetInstalledModules(handle, reinterpret_cast<int32_t*>(moduleList),
                                         static_cast<short>(moduleSlotCount));
        for (int slot = 0; slot < moduleSlotCount; ++slot) {
            if (moduleList[slot] == TAVRO_MODULE_ANALOG)
                ++analogModuleCount;
        }
    }
    return handle;
}

void AppDataBase::CloseController()
{
    if (handle != 0) {
        g_tavro.TavroClose(handle);
        handle = 0;
    }
    delete[] moduleList;
    moduleList = nullptr;
}

int AppDataBase::CheckConfiguration()
{
    return ReadControllerTraits(&traits, handle, confPath);
}

void AppDataBase::ReportOpenError()
{
    char text[256];
    if (lastOpenStatus <= 0) {
        char reason[128] = "The controller gave no error code.";
        if (lastOpenStatus < 0) {
            g_tavro.TavroTranslateErrorEx(static_cast<short>(lastOpenStatus), reason, sizeof reason);
            reason[sizeof reason - 1] = '\0';
        }
        snprintf(text, sizeof text, "Unable to the open controller for the following reason:\n\nID %2hd  -  %s\n",
                 static_cast<short>(lastOpenStatus), reason);
    } else if (lastOpenStatus == CONF_NOT_FOUND) {
        snprintf(text, sizeof text, "%s",
                 "The Drevalon configuration file (drevalon.conf) could not be found (try reinstalling Drevalon).\n");
    } else if (lastOpenStatus == CONF_OUT_OF_DATE) {
        snprintf(text, sizeof text, "%s",
                 "The Drevalon configuration file (drevalon.conf) is out of date (try reinstalling Drevalon).\n");
    } else {
        snprintf(text, sizeof text, "%s",
                 "This version of Drevalon does not have configuration information for the controller "
                 "you selected. Try reinstalling Drevalon.\n");
    }
    MessageBoxA(mainWindow, text, "Drevalon", MB_ICONWARNING);
}
