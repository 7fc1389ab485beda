// Axis set-up: motion and servo-loop settings of one axis, read when the
// dialog opens and written only on OK.
#include <cstdio>
#include <cstring>

#include "exports.h"
#include "library.h"
#include "resource.h"

namespace {

const RecordField kMotionFields[] = {
    {IDC_AXIS_VELOCITY, offsetof(TavroMotionConfig, velocity), false, true},
    {IDC_AXIS_ACCELERATION, offsetof(TavroMotionConfig, acceleration), false, false},
    {IDC_AXIS_DECELERATION, offsetof(TavroMotionConfig, deceleration), false, false},
    {IDC_AXIS_MAX_TORQUE, offsetof(TavroMotionConfig, maxTorque), false, true},
    {IDC_AXIS_P_GAIN, offsetof(TavroMotionConfig, proportionalGain), false, true},
};
const RecordField kFilterFields[] = {
    {IDC_AXIS_MAX_ERROR, offsetof(TavroFilterConfig, maxFollowingError), false, true},
    {IDC_AXIS_I_GAIN, offsetof(TavroFilterConfig, integralGain), false, true},
    {IDC_AXIS_D_GAIN, offsetof(TavroFilterConfig, derivativeGain), false, true},
    {IDC_AXIS_INT_LIMIT, offsetof(TavroFilterConfig, integrationLimit), false, true},
    {IDC_AXIS_D_PERIOD, offsetof(TavroFilterConfig, derivativePeriod), false, false},
    {IDC_AXIS_VEL_GAIN, offsetof(TavroFilterConfig, velocityGain), false, true},
};
const size_t kMotionFieldCount = sizeof kMotionFields / sizeof kMotionFields[0];
const size_t kFilterFieldCount = sizeof kFilterFields / sizeof kFilterFields[0];

struct Choice {
    short code;
    const char* text;
};
const Choice kProfiles[] = {{TAVRO_PROFILE_TRAPEZOIDAL, "Trapezoidal"},
                            {TAVRO_PROFILE_SCURVE, "S-Curve"},
                            {TAVRO_PROFILE_PARABOLIC, "Parabolic"}};
const Choice kRates[] = {{TAVRO_RATE_LOW, "Low"}, {TAVRO_RATE_MED, "Medium"}, {TAVRO_RATE_HIGH, "High"}};

struct SetupState {
    short handle;
    short axis;
    AxisSettings original;
    bool changed;
};

SetupState* StateOf(HWND dialog)
{
    return reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void FillChoices(HWND dialog, int id, const Choice* choices, size_t count, short current)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT selected = CB_ERR;
    for (size_t i = 0; i < count; ++i) {
        LRESULT item = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choices[i].text));
        SendMessageA(combo, CB_SETITEMDATA, item, choices[i].code);
        if (choices[i].code == current)
            selected = item;
    }
    if (selected == CB_ERR) {
        // A code the list does not know stays as it is unless the user picks another.
        char text[32];
        snprintf(text, sizeof text, "Unknown (%d)", current);
        selected = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(combo, CB_SETITEMDATA, selected, static_cast<LPARAM>(current));
    }
    SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

short SelectedChoice(HWND dialog, int id)
{
    HWND combo = GetDlgItem(dialog, id);
    LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return static_cast<short>(SendMessageA(combo, CB_GETITEMDATA, item, 0));
}

void ShowSettings(HWND dialog, const SetupState* state)
{
    const AxisSettings& s = state->original;
    ShowRecordFields(dialog, &s.motion, kMotionFields, kMotionFieldCount);
    FillChoices(dialog, IDC_AXIS_PROFILE, kProfiles, sizeof kProfiles / sizeof kProfiles[0], s.profile);
    EnableWindow(GetDlgItem(dialog, IDC_AXIS_PROFILE), s.hasProfile);
    FillChoices(dialog, IDC_AXIS_UPDATE_RATE, kRates, sizeof kRates / sizeof kRates[0], s.motion.updateRate);
    if (s.hasFilter) {
        ShowRecordFields(dialog, &s.filter, kFilterFields, kFilterFieldCount);
    } else {
        for (const RecordField& field : kFilterFields)
            EnableWindow(GetDlgItem(dialog, field.id), FALSE);
    }
}

// Reads every field into `out`; false (with the field selected) on bad text.
bool ReadSettings(HWND dialog, const AxisSettings& original, AxisSettings* out)
{
    *out = original;
    if (!ReadRecordFields(dialog, &out->motion, kMotionFields, kMotionFieldCount))
        return false;
    out->motion.updateRate = SelectedChoice(dialog, IDC_AXIS_UPDATE_RATE);
    if (out->hasProfile)
        out->profile = SelectedChoice(dialog, IDC_AXIS_PROFILE);
    return !out->hasFilter || ReadRecordFields(dialog, &out->filter, kFilterFields, kFilterFieldCount);
}

bool SameSettings(const AxisSettings& a, const AxisSettings& b)
{
    return memcmp(&a.motion, &b.motion, sizeof a.motion) == 0 &&
           memcmp(&a.filter, &b.filter, sizeof a.filter) == 0 && a.profile == b.profile;
}

void OnOk(HWND dialog)
{
    SetupState* state = StateOf(dialog);
    AxisSettings next;
    if (!ReadSettings(dialog, state->original, &next))
        return;
    if (SameSettings(next, state->original)) {
        EndDialog(dialog, IDOK);
        return;
    }
    short status = WriteAxisSettings(state->handle, state->axis, state->original, next);
    if (status != TAVRO_OK) {
        ReportRefusedSettings(dialog, "settings", status);
        return;
    }
    state->changed = true;
    EndDialog(dialog, IDOK);
}

BOOL OnInitDialog(HWND dialog, SetupState* state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    char caption[64];
    snprintf(caption, sizeof caption, "Axis %d Setup", state->axis);
    SetWindowTextA(dialog, caption);
    TavroAxisConfig config = {};
    config.size = sizeof config;
    if (TavroGetAxisConfiguration(state->handle, state->axis, &config) == TAVRO_OK) {
        char module[64], line[128];
        ModuleTypeText(config.moduleType, module, sizeof module);
        snprintf(line, sizeof line, "Axis %d: %s module", state->axis, module);
        SetDlgItemTextA(dialog, IDC_AXIS_MODULE, line);
    }
    ShowSettings(dialog, state);
    PlaceDialog(dialog);
    return TRUE;
}

INT_PTR CALLBACK AxisSetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<SetupState*>(lParam));
    case WM_COMMAND:
        return OnEditCommand(dialog, LOWORD(wParam), OnOk);
    }
    return FALSE;
}

// Reads what the dialog shows; a controller or axis that cannot be read is
// reported and no dialog opens.
short ReadShownSettings(HWND owner, short handle, short axis, AxisSettings* settings)
{
    short status = LinkedControllerIdOfHandle(handle) < 0 ? static_cast<short>(TAVRO_ERR_BAD_HANDLE)
                                                          : ReadAxisSettings(handle, axis, settings);
    if (status != TAVRO_OK)
        ReportUnreadableAxis(owner, status, axis, "Axis Setup", "set up");
    return status;
}

} // namespace

// 0 when settings were changed, 1 when the dialog left them as they were,
// a negative code when the axis could not be read.
extern "C" short TavroDLG_ConfigureAxis(HWND owner, short handle, short axis, long /*flags*/, void* /*reserved*/)
{
    if (owner && !IsWindow(owner))
        owner = nullptr;
    SetupState state = {handle, axis, {}, false};
    short status = ReadShownSettings(owner, handle, axis, &state.original);
    if (status != TAVRO_OK)
        return status;
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "AXIS_SETUP", owner, AxisSetupDialogProc,
                                     reinterpret_cast<LPARAM>(&state));
    if (result == -1)
        return TAVRO_ERR_NOT_SUPPORTED;
    return state.changed ? 0 : 1;
}
