// Small routines shared by the library's dialogs.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "library.h"
#include "window_utils.h"

void ErrorText(short code, char* buffer, size_t size)
{
    buffer[0] = '\0';
    char text[128] = "";
    if (TavroTranslateErrorEx(code, text, sizeof text) == TAVRO_OK && text[0])
        snprintf(buffer, size, "%s", text);
    else
        snprintf(buffer, size, "Controller error %d.", code);
}

void SetNumberField(HWND dialog, int id, double value)
{
    char text[40];
    snprintf(text, sizeof text, "%.10g", value);
    SetDlgItemTextA(dialog, id, text);
}

bool ReadNumberField(HWND dialog, int id, double* value, bool allowNegative, bool allowZero)
{
    char text[64] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    char* end = nullptr;
    double number = strtod(text, &end);
    bool numeric = end != text;
    while (numeric && (*end == ' ' || *end == '\t'))
        ++end;
    numeric = numeric && *end == '\0' && std::isfinite(number);
    const char* problem = nullptr;
    if (!numeric)
        problem = "Please enter a number.";
    else if (!allowNegative && number < 0.0)
        problem = "Please enter a number that is not negative.";
    else if (!allowZero && number == 0.0)
        problem = "Please enter a number other than 0.";
    if (problem) {
        char caption[64] = "";
        GetWindowTextA(dialog, caption, sizeof caption);
        MessageBoxA(dialog, problem, caption, MB_OK | MB_ICONEXCLAMATION);
        HWND field = GetDlgItem(dialog, id);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        SendMessageA(field, EM_SETSEL, 0, -1);
        return false;
    }
    *value = number;
    return true;
}

double RecordDouble(const void* record, size_t offset)
{
    double value;
    memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

void SetRecordDouble(void* record, size_t offset, double value)
{
    memcpy(static_cast<char*>(record) + offset, &value, sizeof value);
}

void ShowRecordFields(HWND dialog, const void* record, const RecordField* fields, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        SetNumberField(dialog, fields[i].id, RecordDouble(record, fields[i].offset));
}

bool ReadRecordFields(HWND dialog, void* record, const RecordField* fields, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const RecordField& field = fields[i];
        double value = 0.0;
        if (!ReadNumberField(dialog, field.id, &value, field.allowNegative, field.allowZero))
            return false;
        SetRecordDouble(record, field.offset, value);
    }
    return true;
}

void PlaceDialog(HWND dialog)
{
    CenterWindow(dialog);
}

BOOL OnCloseCommand(HWND dialog, WORD id)
{
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    EndDialog(dialog, id);
    return TRUE;
}

BOOL OnEditCommand(HWND dialog, WORD id, void (*onOk)(HWND dialog))
{
    if (id != IDOK)
        return OnCloseCommand(dialog, id);
    onOk(dialog);
    return TRUE;
}

void ReportUnreadableAxis(HWND owner, short status, short axis, const char* caption, const char* action)
{
    char text[160];
    if (status == TAVRO_ERR_BAD_HANDLE)
        snprintf(text, sizeof text, "No controller is open.");
    else
        snprintf(text, sizeof text, "Axis %d cannot be %s on this controller.", axis, action);
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

void ReportRefusedSettings(HWND dialog, const char* what, short status)
{
    char error[128], text[200], caption[64];
    ErrorText(status, error, sizeof error);
    snprintf(text, sizeof text, "The controller refused the %s; nothing was changed.\n%s", what, error);
    GetWindowTextA(dialog, caption, sizeof caption);
    MessageBoxA(dialog, text, caption, MB_OK | MB_ICONERROR);
}
