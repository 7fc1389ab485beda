// Controller selection: a modal list of the configured controllers.
#include <cstdio>

#include "exports.h"
#include "library.h"
#include "resource.h"

namespace {

// What the dialog works on, behind DWLP_USER.
struct SelectState {
    short currentId;
    short chosenId;
};

SelectState* StateOf(HWND dialog)
{
    return reinterpret_cast<SelectState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void UpdateOkButton(HWND dialog)
{
    LRESULT selection = SendDlgItemMessageA(dialog, IDC_SELECT_LIST, LB_GETCURSEL, 0, 0);
    EnableWindow(GetDlgItem(dialog, IDOK), selection != LB_ERR);
}

void FillList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_SELECT_LIST);
    INT tabs[] = {20, 140};
    SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(tabs));
    int count = LinkedControllerCount();
    for (int i = 0; i < count; ++i) {
        TavroSimControllerInfo info = {};
        if (!LinkedControllerAt(i, &info))
            continue;
        char typeText[64];
        ControllerTypeText(info.controllerType, typeText, sizeof typeText);
        char line[200];
        snprintf(line, sizeof line, "%d\t%s\t%s", info.id, typeText, info.description);
        LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        if (item < 0)
            continue;
        SendMessageA(list, LB_SETITEMDATA, item, static_cast<LPARAM>(info.id));
    }
}

// The current controller, else the first one.
void PreselectCurrent(HWND dialog, short currentId)
{
    HWND list = GetDlgItem(dialog, IDC_SELECT_LIST);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count <= 0) {
        SetDlgItemTextA(dialog, IDC_SELECT_EMPTY, "No controllers are configured.");
        return;
    }
    LRESULT chosen = 0;
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<short>(SendMessageA(list, LB_GETITEMDATA, i, 0)) == currentId)
            chosen = i;
    }
    SendMessageA(list, LB_SETCURSEL, chosen, 0);
}

BOOL OnInitDialog(HWND dialog, SelectState* state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    PlaceDialog(dialog);
    FillList(dialog);
    PreselectCurrent(dialog, state->currentId);
    UpdateOkButton(dialog);
    SetFocus(GetDlgItem(dialog, IDC_SELECT_LIST));
    return FALSE;
}

void OnChoose(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_SELECT_LIST);
    LRESULT selection = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR)
        return;
    StateOf(dialog)->chosenId = static_cast<short>(SendMessageA(list, LB_GETITEMDATA, selection, 0));
    EndDialog(dialog, IDOK);
}

void OnListNotify(HWND dialog, WORD code)
{
    if (code == LBN_DBLCLK)
        OnChoose(dialog);
    else if (code == LBN_SELCHANGE)
        UpdateOkButton(dialog);
}

BOOL OnCommand(HWND dialog, WORD id, WORD code)
{
    switch (id) {
    case IDOK:
        OnChoose(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_SELECT_LIST:
        OnListNotify(dialog, code);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK SelectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<SelectState*>(lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    }
    return FALSE;
}

} // namespace

extern "C" short TavroDLG_SelectController(HWND owner, short currentId, long /*flags*/, long /*reserved*/)
{
    SelectState state = {currentId, -1};
    if (owner && !IsWindow(owner))
        owner = nullptr;
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "SELECT_CONTROLLER", owner, SelectDialogProc,
                                     reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? state.chosenId : -1;
}
