// Axis scaling: the six factors of the scale record, read when the dialog
// opens and written only on OK.
#include <cstdio>
#include <cstring>

#include "exports.h"
#include "library.h"
#include "resource.h"

namespace {

struct ScalingState {
    short handle;
    short axis;
    TavroScale original;
    bool changed;
};

// A position scale of 0 would divide by zero wherever positions are shown:
// refused.
const RecordField kFields[] = {
    {IDC_SCALE_ENCODER, offsetof(TavroScale, encoderScale), true, true},
    {IDC_SCALE_AUX_ENCODER, offsetof(TavroScale, auxEncoderScale), true, true},
    {IDC_SCALE_OUTPUT, offsetof(TavroScale, outputScale), true, true},
    {IDC_SCALE_POSITION, offsetof(TavroScale, positionScale), true, false},
    {IDC_SCALE_VELOCITY, offsetof(TavroScale, velocityScale), true, true},
    {IDC_SCALE_TIME, offsetof(TavroScale, timeScale), true, true},
};
const size_t kFieldCount = sizeof kFields / sizeof kFields[0];

ScalingState* StateOf(HWND dialog)
{
    return reinterpret_cast<ScalingState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void OnOk(HWND dialog)
{
    ScalingState* state = StateOf(dialog);
    TavroScale next = state->original;
    if (!ReadRecordFields(dialog, &next, kFields, kFieldCount))
        return;
    if (memcmp(&next, &state->original, sizeof next) == 0) {
        EndDialog(dialog, IDOK);
        return;
    }
    short status = TavroSetScale(state->handle, state->axis, &next);
    if (status != TAVRO_OK) {
        ReportRefusedSettings(dialog, "scaling", status);
        return;
    }
    state->changed = true;
    EndDialog(dialog, IDOK);
}

BOOL OnInitDialog(HWND dialog, ScalingState* state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    char caption[64];
    snprintf(caption, sizeof caption, "Axis %d Scaling", state->axis);
    SetWindowTextA(dialog, caption);
    ShowRecordFields(dialog, &state->original, kFields, kFieldCount);
    PlaceDialog(dialog);
    return TRUE;
}

INT_PTR CALLBACK ScalingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<ScalingState*>(lParam));
    case WM_COMMAND:
        return OnEditCommand(dialog, LOWORD(wParam), OnOk);
    }
    return FALSE;
}

} // namespace

// 0 when the scaling was changed, 1 when left as it was, a negative code
// when the axis could not be read.
extern "C" short TavroDLG_Scaling(HWND owner, short handle, short axis, long /*flags*/, void* /*reserved*/)
{
    if (owner && !IsWindow(owner))
        owner = nullptr;
    ScalingState state = {handle, axis, {}, false};
    short status = LinkedControllerIdOfHandle(handle) < 0 ? static_cast<short>(TAVRO_ERR_BAD_HANDLE)
                                                          : TavroGetScale(handle, axis, &state.original);
    if (status != TAVRO_OK) {
        ReportUnreadableAxis(owner, status, axis, "Axis Scaling", "scaled");
        return status;
    }
    INT_PTR result = DialogBoxParamA(LibraryInstance(), "AXIS_SCALING", owner, ScalingDialogProc,
                                     reinterpret_cast<LPARAM>(&state));
    if (result == -1)
        return TAVRO_ERR_NOT_SUPPORTED;
    return state.changed ? 0 : 1;
}
