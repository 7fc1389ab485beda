// Shared declarations of the dialogs library's own files.
#ifndef TAVRODLG_LIBRARY_H
#define TAVRODLG_LIBRARY_H

#include <windows.h>

#include "tavrosim_control.h"

// The API entries the dialogs call, imported from the API library.
#define TAVRODLG_API_DECL(ret, name, params) extern "C" ret name params;
#define TAVRODLG_API_SKIP(name)
TAVRO_API_ENTRIES(TAVRODLG_API_DECL, TAVRODLG_API_SKIP)
#undef TAVRODLG_API_DECL
#undef TAVRODLG_API_SKIP

// The library's module instance: dialog templates load from it.
HINSTANCE LibraryInstance();

// Draws a control's client area through a memory bitmap onto `target`.
typedef void (*BufferedPainter)(HWND window, HDC dc, const RECT& client);
void PaintBuffered(HWND window, HDC target, BufferedPainter paint);

// The two control classes, registered at process attach.
bool RegisterLampClass(HINSTANCE instance);
void UnregisterLampClass(HINSTANCE instance);
bool RegisterReadoutClass(HINSTANCE instance);
void UnregisterReadoutClass(HINSTANCE instance);

// The simulator's controller list and handle map.
int LinkedControllerCount();
bool LinkedControllerAt(int index, TavroSimControllerInfo* info);
bool FindLinkedController(short controllerId, TavroSimControllerInfo* info);
// Controller id of an open handle, -1 when the handle is dead.
short LinkedControllerIdOfHandle(short handle);
// Id and configuration record of the controller behind a handle;
// TAVRO_ERR_BAD_HANDLE for a dead handle.
short ReadControllerOfHandle(short handle, short* controllerId, TavroControllerConfig* config);

// Motion, servo-loop filter and profile of one axis: what the set-up dialog,
// the settings store and the command-file download read and write.
struct AxisSettings {
    TavroMotionConfig motion;
    TavroFilterConfig filter;
    short profile;
    bool hasFilter; // servo axes only
    bool hasProfile;
};
// Reads every part the axis has; the status of the motion part, without
// which the axis cannot be read.
short ReadAxisSettings(short handle, short axis, AxisSettings* settings);
// Writes the parts of `next` that differ from `original`: motion, filter,
// then profile. When one is refused, those written before it are put back as
// in `original` and the refusal is returned.
short WriteAxisSettings(short handle, short axis, const AxisSettings& original, const AxisSettings& next);

// The doubles of the 4-byte-packed records may sit off their natural
// alignment: they are copied by byte offset, never used through a double*.
double RecordDouble(const void* record, size_t offset);
void SetRecordDouble(void* record, size_t offset, double value);
// A double of a record by the name a file gives it.
struct NamedDouble {
    const char* name;
    size_t offset;
};

// Type and module texts, always terminated within `size`.
void ControllerTypeText(long type, char* buffer, size_t size);
void ModuleTypeText(long type, char* buffer, size_t size);

// Text of an API error code.
void ErrorText(short code, char* buffer, size_t size);

// Number fields of the set-up dialogs.
void SetNumberField(HWND dialog, int id, double value);
// Reads a field as a finite number; on bad text shows why, selects the
// field and returns false.
bool ReadNumberField(HWND dialog, int id, double* value, bool allowNegative, bool allowZero);

// A number field showing a double of a record, at its byte offset.
struct RecordField {
    int id;
    size_t offset;
    bool allowNegative;
    bool allowZero;
};
void ShowRecordFields(HWND dialog, const void* record, const RecordField* fields, size_t count);
// Reads the fields in order into `record`; false at the first bad one, which
// is reported and selected.
bool ReadRecordFields(HWND dialog, void* record, const RecordField* fields, size_t count);

// Places a modal dialog over its owner, or centred on the screen.
void PlaceDialog(HWND dialog);

// WM_COMMAND of a box that only closes: OK or Cancel ends it.
BOOL OnCloseCommand(HWND dialog, WORD id);
// WM_COMMAND of an editing dialog: OK runs `onOk`, Cancel ends it.
BOOL OnEditCommand(HWND dialog, WORD id, void (*onOk)(HWND dialog));

// Why an axis dialog does not open: no controller behind the handle, or an
// axis it cannot read.
void ReportUnreadableAxis(HWND owner, short status, short axis, const char* caption, const char* action);
// The controller refused what a dialog wrote; the dialog stays open.
void ReportRefusedSettings(HWND dialog, const char* what, short status);

#endif
