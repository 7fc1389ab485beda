// The controller connection of an I/O panel: paths beside the executable,
// controller id and handle, counts read after an open, module list and model.
#ifndef DREVALON_APP_DATA_BASE_H
#define DREVALON_APP_DATA_BASE_H

#include <windows.h>

#include "controller_traits.h"

// The main window creates the object and deletes it (through the most derived
// type) when it closes; page windows borrow the pointer.
class AppDataBase {
public:
    AppDataBase(HWND mainWindow, const char* programWord);
    AppDataBase(const AppDataBase&) = delete;
    AppDataBase& operator=(const AppDataBase&) = delete;

    // Closes whatever is open, opens `id` (-1 keeps ControllerID) and checks
    // its model. Returns the handle when open and accepted, otherwise 0.
    virtual short OpenController(int id);
    virtual void RestoreSettings() = 0;
    virtual void SaveSettings() = 0;

    // Message box for the last open status.
    void ReportOpenError();
    // Closes the controller if a handle is held (also a failed open's code).
    void CloseController();
    // The model check of the current handle against drevalon.conf.
    int CheckConfiguration();

    const ControllerTraits& Traits() const { return traits; }
    int AnalogInputCount() const { return analogInputCount; }
    int AnalogModuleCount() const { return analogModuleCount; }
    int AnalogOutputCount() const { return analogOutputCount; }
    int AutoConfig() const { return autoConfig; }
    const char* ConfPath() const { return confPath; }
    short Handle() const { return handle; }
    int PageCount() const { return pageCount; }
    int DigitalChannelCount() const { return digitalChannelCount; }
    int LastOpenStatus() const { return lastOpenStatus; }
    const char* HelpPath() const { return helpPath; }
    short ControllerID() const { return static_cast<short>(controllerId); }
    void SetControllerID(int id) { controllerId = static_cast<short>(id); }
    const char* IniPath() const { return iniPath; }
    int ModuleSlotCount() const { return moduleSlotCount; }
    // One module type code per slot; null when no controller is open.
    const int* ModuleList() const { return moduleList; }
    int ControllerType() const { return controllerType; }
    HWND MainWindow() const { return mainWindow; }

protected:
    // Not virtual: the object is deleted through its most derived type.
    ~AppDataBase();

    ControllerTraits traits;
    int analogInputCount = 0;
    int analogModuleCount = 0;
    int analogOutputCount = 0;
    int autoConfig = 0;
    char confPath[MAX_PATH] = {};
    short handle = 0;
    int pageCount = 0;
    int digitalChannelCount = 0;
    int lastOpenStatus = 0;
    char helpPath[MAX_PATH] = {};
    int controllerId = 0;
    char iniPath[MAX_PATH] = {};
    int moduleSlotCount = 0;
    int* moduleList = nullptr;
    int controllerType = 0;
    HWND mainWindow = nullptr;
};

#endif
