// Controller information: type, description, axes with their modules, module
// slots and I/O counts of the controller behind a handle.
#include <cstdio>
#include <vector>

#include "exports.h"
#include "library.h"
#include "resource.h"

namespace {

struct InfoRequest {
    short handle;
    const char* caption;
};

void SetNumber(HWND dialog, int id, long value)
{
    char text[32];
    snprintf(text, sizeof text, "%ld", value);
    SetDlgItemTextA(dialog, id, text);
}

void AddLine(HWND list, const char* line)
{
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

void ListAxes(HWND list, short handle, int axisCount)
{
    for (int axis = 1; axis <= axisCount; ++axis) {
        TavroAxisConfig config = {};
        config.size = sizeof config;
        char line[160];
        if (TavroGetAxisConfiguration(handle, static_cast<short>(axis), &config) == TAVRO_OK) {
            char module[64];
            ModuleTypeText(config.moduleType, module, sizeof module);
            snprintf(line, sizeof line, "Axis %d\t%s module (%s)", axis, module,
                     (config.axisFlags & TAVRO_AXIS_SERVO) ? "servo" : "stepper");
        } else {
            snprintf(line, sizeof line, "Axis %d\t(not available)", axis);
        }
        AddLine(list, line);
    }
}

void ListSlots(HWND list, short handle, int slotCount)
{
    if (slotCount <= 0)
        return;
    std::vector<int32_t> modules(static_cast<size_t>(slotCount), TAVRO_MODULE_EMPTY);
    if (TavroGetInstalledModules(handle, modules.data(), static_cast<short>(slotCount)) != TAVRO_OK)
        return;
    for (int slot = 0; slot < slotCount; ++slot) {
        char module[64];
        ModuleTypeText(modules[static_cast<size_t>(slot)], module, sizeof module);
        char line[160];
        snprintf(line, sizeof line, "Slot %d\t%s", slot + 1, module);
        AddLine(list, line);
    }
}

void ShowController(HWND dialog, short handle)
{
    short id = -1;
    TavroControllerConfig config;
    short status = ReadControllerOfHandle(handle, &id, &config);
    if (status != TAVRO_OK) {
        char text[160] = "No controller is open.";
        if (id >= 0) {
            char error[128];
            ErrorText(status, error, sizeof error);
            snprintf(text, sizeof text, "The controller does not answer: %s", error);
        }
        SetDlgItemTextA(dialog, IDC_INFO_STATE, text);
        return;
    }

    char state[64];
    snprintf(state, sizeof state, "The controller is open (handle %d).", handle);
    SetDlgItemTextA(dialog, IDC_INFO_STATE, state);
    SetNumber(dialog, IDC_INFO_ID, id);
    char typeText[64];
    ControllerTypeText(config.controllerType, typeText, sizeof typeText);
    char line[128];
    snprintf(line, sizeof line, "%d (%s)", config.controllerType, typeText);
    SetDlgItemTextA(dialog, IDC_INFO_TYPE, line);
    TavroSimControllerInfo info = {};
    SetDlgItemTextA(dialog, IDC_INFO_DESCRIPTION, FindLinkedController(id, &info) ? info.description : typeText);
    SetNumber(dialog, IDC_INFO_AXES, config.axisCount);
    SetNumber(dialog, IDC_INFO_SLOTS, config.moduleSlots);
    SetNumber(dialog, IDC_INFO_DIGITAL, config.digitalChannels);
    SetNumber(dialog, IDC_INFO_ANALOG_IN, config.analogInputs);
    SetNumber(dialog, IDC_INFO_ANALOG_OUT, config.analogOutputs);

    HWND list = GetDlgItem(dialog, IDC_INFO_MODULES);
    INT tabs[] = {40};
    SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(tabs));
    ListAxes(list, handle, config.axisCount);
    ListSlots(list, handle, config.moduleSlots);
}

BOOL OnInitDialog(HWND dialog, const InfoRequest* request)
{
    SetWindowTextA(dialog, request->caption && request->caption[0] ? request->caption
                                                                    : "Controller Information");
    PlaceDialog(dialog);
    ShowController(dialog, request->handle);
    return TRUE;
}

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<const InfoRequest*>(lParam));
    case WM_COMMAND:
        return OnCloseCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

} // namespace

extern "C" short TavroDLG_ControllerInfo(HWND owner, short handle, long /*flags*/, const char* caption)
{
    InfoRequest request = {handle, caption};
    if (owner && !IsWindow(owner))
        owner = nullptr;
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "CONTROLLER_INFO", owner, InfoDialogProc,
                                     reinterpret_cast<LPARAM>(&request));
    if (result == -1)
        return TAVRO_ERR_NOT_SUPPORTED;
    return LinkedControllerIdOfHandle(handle) < 0 ? static_cast<short>(TAVRO_ERR_BAD_HANDLE)
                                                  : static_cast<short>(TAVRO_OK);
}
