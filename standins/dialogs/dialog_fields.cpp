// Small routines shared by the library's dialogs.
#include <cmath>
#include <cstdio>
#include <cstdlib>

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

void PlaceDialog(HWND dialog)
{
    CenterWindow(dialog);
}
