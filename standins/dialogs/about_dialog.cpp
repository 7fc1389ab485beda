// The about box of a program that uses the dialogs library.
#include <cstdio>

#include "exports.h"
#include "library.h"
#include "resource.h"

namespace {

const char kLibraryVersion[] = "Tavro Dialogs version 3.6.0";

BOOL OnInitDialog(HWND dialog, const char* title)
{
    const char* name = title && title[0] ? title : "Tavro Dialogs";
    char caption[160];
    snprintf(caption, sizeof caption, "About %s", name);
    SetWindowTextA(dialog, caption);
    SetDlgItemTextA(dialog, IDC_ABOUT_TITLE, name);
    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, kLibraryVersion);
    char controllers[80];
    snprintf(controllers, sizeof controllers, "Configured controllers: %d", LinkedControllerCount());
    SetDlgItemTextA(dialog, IDC_ABOUT_CONTROLLERS, controllers);
    PlaceDialog(dialog);
    return TRUE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<const char*>(lParam));
    case WM_COMMAND:
        return OnCloseCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

} // namespace

extern "C" short TavroDLG_AboutBox(HWND owner, const char* title, long /*flags*/)
{
    if (owner && !IsWindow(owner))
        owner = nullptr;
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "ABOUT_BOX", owner, AboutDialogProc,
                                     reinterpret_cast<LPARAM>(title));
    return result == -1 ? static_cast<short>(TAVRO_ERR_NOT_SUPPORTED) : static_cast<short>(TAVRO_OK);
}
