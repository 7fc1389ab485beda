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
// The filter settings of a servo axis; false for any other axis.
bool ReadServoFilter(short handle, short axis, TavroFilterConfig* filter);

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
