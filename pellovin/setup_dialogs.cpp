// The channel set-up dialogs and the reference voltage dialog of a page.
#include "setup_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "analog_channel.h"
#include "calibration_wizard.h"
#include "channel_group.h"
#include "help.h"
#include "resource.h"
#include "window_utils.h"

namespace {

const char kHelpFile[] = "analog.hlp";
const DWORD kInputHelpContext = 9000;
const DWORD kOutputHelpContext = 9010;

// What the input dialog works on; the display mode reaches the channel on OK.
struct InputSetupState {
    AnalogChannel* channel;
    int pendingMode;
};

// What a dialog works on, kept in its user data at WM_INITDIALOG.
template <typename T> T* DialogRecord(HWND dialog)
{
    return reinterpret_cast<T*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

void SelectAndFocus(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, EM_SETSEL, 0, -1);
    SetFocus(GetDlgItem(dialog, id));
}

void SetItemFormatted(HWND dialog, int id, const char* format, double value)
{
    char text[64];
    snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(dialog, id, text);
}

// Whether the user changed an edit since it was filled.
bool IsEdited(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, EM_GETMODIFY, 0, 0) != 0;
}

// A number typed into an edit; an edit the user did not change, or a value
// that is not finite, keeps `previous`; unreadable text gives 0.
double ReadItemNumber(HWND dialog, int id, double previous)
{
    if (!IsEdited(dialog, id))
        return previous;
    const double value = GetDlgItemDouble(dialog, id);
    return std::isfinite(value) ? value : previous;
}

// --- Input set-up ----------------------------------------------------------

BOOL OnInputInit(HWND dialog, AnalogChannel* channel)
{
    InputSetupState* state = new InputSetupState{channel, channel->DisplayMode()};
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    InitInputSetupDlg(dialog, state->pendingMode, channel);
    CheckDlgButton(dialog, state->pendingMode, BST_CHECKED);
    if (state->pendingMode == MODE_USER_UNITS)
        SelectAndFocus(dialog, IDC_UNITS_FACTOR);
    return FALSE;
}

void OnInputOk(HWND dialog, InputSetupState* state)
{
    AnalogChannel* channel = state->channel;
    channel->SetUserFactor(ReadItemNumber(dialog, IDC_UNITS_FACTOR, channel->UserFactor()));
    channel->SetUserOffset(ReadItemNumber(dialog, IDC_UNITS_OFFSET, channel->UserOffset()));
    if (IsEdited(dialog, IDC_UNITS_LABEL)) {
        char label[64];
        label[0] = '\0';
        GetDlgItemTextA(dialog, IDC_UNITS_LABEL, label, sizeof label);
        channel->SetLabel(label);
    }
    channel->SetDisplayMode(state->pendingMode);
    EndDialog(dialog, 1);
}

void OnInputDefault(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_UNITS_FACTOR, "1.000");
    SetDlgItemTextA(dialog, IDC_UNITS_OFFSET, "0.000");
    SetDlgItemTextA(dialog, IDC_UNITS_LABEL, "V");
    // The defaults count as typed, so that OK takes them.
    for (int id : {IDC_UNITS_FACTOR, IDC_UNITS_OFFSET, IDC_UNITS_LABEL})
        SendDlgItemMessageA(dialog, id, EM_SETMODIFY, TRUE, 0);
    SelectAndFocus(dialog, IDC_UNITS_FACTOR);
}

void OnInputMode(HWND dialog, InputSetupState* state, int mode)
{
    state->pendingMode = mode;
    CheckRadioButton(dialog, MODE_VOLTS, MODE_USER_UNITS, mode);
    InitInputSetupDlg(dialog, mode, state->channel);
    if (mode == MODE_USER_UNITS)
        SelectAndFocus(dialog, IDC_UNITS_FACTOR);
}

BOOL OnInputCommand(HWND dialog, int id)
{
    InputSetupState* state = DialogRecord<InputSetupState>(dialog);
    if (!state)
        return FALSE;
    switch (id) {
    case IDOK:
        OnInputOk(dialog, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_UNITS_DEFAULT:
        OnInputDefault(dialog);
        return TRUE;
    case IDC_SETUP_HELP:
        ShowHelp(dialog, kHelpFile, HELP_CONTEXT, kInputHelpContext);
        SetFocus(GetDlgItem(dialog, IDC_UNITS_FACTOR));
        return TRUE;
    case MODE_VOLTS:
    case MODE_ADC_COUNTS:
    case MODE_USER_UNITS:
        OnInputMode(dialog, state, id);
        return TRUE;
    }
    return FALSE;
}

// --- Output set-up ---------------------------------------------------------

// The value edit of an output display mode; other modes write counts.
int OutputEditOf(int mode)
{
    switch (mode) {
    case MODE_0_TO_5V:
        return IDC_OUT_5V_EDIT;
    case MODE_PLUS_MINUS_10V:
        return IDC_OUT_10V_EDIT;
    default:
        return IDC_OUT_COUNTS_EDIT;
    }
}

void SetOutputCaption(HWND dialog, const AnalogChannel* channel)
{
    char caption[64];
    snprintf(caption, sizeof caption, "Display Mode -  Analog Output %d", channel->ChannelNumber());
    SetWindowTextA(dialog, caption);
}

BOOL OnOutputInit(HWND dialog, AnalogChannel* channel)
{
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(channel));
    InitOutputSetupDlg(dialog, channel);
    SendDlgItemMessageA(dialog, channel->DisplayMode(), BM_SETCHECK, BST_CHECKED, 0);
    SetOutputCaption(dialog, channel);
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

// An edit the user did not change shows the present output: nothing is sent.
void OnOutputOk(HWND dialog, AnalogChannel* channel)
{
    const int edit = OutputEditOf(channel->DisplayMode());
    if (IsEdited(dialog, edit)) {
        char text[64];
        text[0] = '\0';
        GetDlgItemTextA(dialog, edit, text, sizeof text);
        // Text that is not a number reads as unreadable text does: 0.
        double value = strtod(text, nullptr);
        if (std::isnan(value))
            value = 0.0;
        channel->Write(value, 0);
    }
    EndDialog(dialog, 1);
}

BOOL OnOutputCommand(HWND dialog, int id)
{
    AnalogChannel* channel = DialogRecord<AnalogChannel>(dialog);
    if (!channel)
        return FALSE;
    switch (id) {
    case MODE_0_TO_5V:
    case MODE_DAC_COUNTS:
    case MODE_PLUS_MINUS_10V:
        CheckRadioButton(dialog, MODE_0_TO_5V, MODE_PLUS_MINUS_10V, id);
        channel->SetDisplayMode(id);
        InitOutputSetupDlg(dialog, channel);
        SetFocus(GetDlgItem(dialog, IDOK));
        return TRUE;
    case IDOK:
        OnOutputOk(dialog, channel);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_SETUP_HELP:
        ShowHelp(dialog, kHelpFile, HELP_CONTEXT, kOutputHelpContext);
        SetFocus(GetDlgItem(dialog, IDOK));
        return TRUE;
    case IDC_OUT_CALIBRATE:
        RunCalibrationWizard(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)),
                             channel, dialog);
        SetFocus(GetDlgItem(dialog, IDOK));
        return TRUE;
    }
    return FALSE;
}

// --- Reference voltage -----------------------------------------------------

BOOL OnReferenceInit(HWND dialog, ChannelGroup* group)
{
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(group));
    SetItemFormatted(dialog, IDC_REFERENCE_EDIT, "%1.4f", group->ReferenceVoltage());
    SetItemFormatted(dialog, IDC_REFERENCE_RANGE, "(%1.2f VDC to 5.00 VDC)",
                     group->MinimumReference());
    SetFocus(GetDlgItem(dialog, IDOK));
    return FALSE;
}

void OnReferenceOk(HWND dialog, ChannelGroup* group)
{
    const double reference = GetDlgItemDouble(dialog, IDC_REFERENCE_EDIT);
    if (!group->AcceptsReference(reference)) {
        MessageBoxA(dialog, "The reference value is out of range for this module type.",
                    "Value out of range", MB_OK | MB_ICONWARNING | MB_DEFBUTTON2);
        SetDlgItemDouble(dialog, IDC_REFERENCE_EDIT, group->ReferenceVoltage(), 4);
        SelectAndFocus(dialog, IDC_REFERENCE_EDIT);
        return;
    }
    group->SetReferenceVoltage(reference);
    group->ScaleInputsToReference();
    EndDialog(dialog, 1);
}

BOOL OnReferenceCommand(HWND dialog, int id)
{
    ChannelGroup* group = DialogRecord<ChannelGroup>(dialog);
    if (!group)
        return FALSE;
    switch (id) {
    case IDOK:
        OnReferenceOk(dialog, group);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void InitInputSetupDlg(HWND dialog, int mode, const AnalogChannel* channel)
{
    const BOOL userUnits = mode == MODE_USER_UNITS;
    for (int id = IDC_UNITS_DEFAULT; id <= IDC_SETUP_HELP; ++id)
        EnableWindow(GetDlgItem(dialog, id), userUnits);
    char caption[64];
    snprintf(caption, sizeof caption, "Display Mode - Analog Input %d", channel->ChannelNumber());
    SetWindowTextA(dialog, caption);
    SetItemFormatted(dialog, IDC_UNITS_FACTOR, "%3.3f", channel->UserFactor());
    SetItemFormatted(dialog, IDC_UNITS_OFFSET, "%3.3f", channel->UserOffset());
    SetDlgItemTextA(dialog, IDC_UNITS_LABEL, channel->Label().c_str());
}

void InitOutputSetupDlg(HWND dialog, const AnalogChannel* channel)
{
    const int mode = channel->DisplayMode();
    EnableWindow(GetDlgItem(dialog, IDC_OUT_5V_UNIT), mode == MODE_0_TO_5V);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_5V_EDIT), mode == MODE_0_TO_5V);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_COUNTS_UNIT), mode == MODE_DAC_COUNTS);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_COUNTS_EDIT), mode == MODE_DAC_COUNTS);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_10V_UNIT), mode == MODE_PLUS_MINUS_10V);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_10V_EDIT), mode == MODE_PLUS_MINUS_10V);
    EnableWindow(GetDlgItem(dialog, IDC_OUT_CALIBRATE), mode == MODE_PLUS_MINUS_10V);
    const int modes[] = {MODE_0_TO_5V, MODE_DAC_COUNTS, MODE_PLUS_MINUS_10V};
    for (int each : modes) {
        char text[128];
        channel->Format(text, sizeof text, false, each);
        SetDlgItemTextA(dialog, OutputEditOf(each), text);
    }
}

INT_PTR CALLBACK InputSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInputInit(dialog, reinterpret_cast<AnalogChannel*>(lParam));
    case WM_COMMAND:
        return OnInputCommand(dialog, LOWORD(wParam));
    case WM_DESTROY:
        delete DialogRecord<InputSetupState>(dialog);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK OutputSetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnOutputInit(dialog, reinterpret_cast<AnalogChannel*>(lParam));
    case WM_COMMAND:
        return OnOutputCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

INT_PTR CALLBACK ReferenceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnReferenceInit(dialog, reinterpret_cast<ChannelGroup*>(lParam));
    case WM_COMMAND:
        return OnReferenceCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}
