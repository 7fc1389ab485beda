// Small window, dialog and bitmap routines shared by every deliverable.
#include "window_utils.h"

#include <cstdio>
#include <cstdlib>

void CenterWindow(HWND window)
{
    HWND reference = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_HWNDPARENT));
    if (!reference)
        reference = GetDesktopWindow();
    RECT referenceRect, windowRect;
    GetWindowRect(reference, &referenceRect);
    GetWindowRect(window, &windowRect);
    int x = referenceRect.left +
            ((referenceRect.right - referenceRect.left) - (windowRect.right - windowRect.left)) / 2;
    int y = referenceRect.top +
            ((referenceRect.bottom - referenceRect.top) - (windowRect.bottom - windowRect.top)) / 2;
    if (x < 0 || y < 0)
        x = y = 0;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

void KeepCornerOnScreen(int* x, int* y)
{
    if (*x < 0 || *x > GetSystemMetrics(SM_CXSCREEN))
        *x = 0;
    if (*y < 0 || *y > GetSystemMetrics(SM_CYSCREEN))
        *y = 0;
}

HWND CreateChildWindow(DWORD exStyle, const char* className, const char* title, DWORD style,
                       int x, int y, int width, int height, HWND parent, HMENU menu,
                       HINSTANCE instance, void* param)
{
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                  menu, instance, param);
    if (window)
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    return window;
}

double GetDlgItemDouble(HWND dialog, int itemId)
{
    char text[40];
    text[0] = '\0';
    GetDlgItemTextA(dialog, itemId, text, sizeof text);
    return strtod(text, nullptr);
}

BOOL SetDlgItemDouble(HWND dialog, int itemId, double value, int precision)
{
    char text[40];
    if (precision < 0)
        snprintf(text, sizeof text, "%lf", value);
    else
        snprintf(text, sizeof text, "%.*lf", precision, value);
    return SetDlgItemTextA(dialog, itemId, text);
}

BOOL DrawBitmapResource(HWND window, const char* name, int x, int y, HDC dc, UINT loadFlags)
{
    return BlitBitmapResource(window, name, x, y, 0, 0, dc, 0, 0, loadFlags, SRCCOPY);
}

namespace {

// Blits a bitmap through a memory context into dc (or the window's own).
BOOL BlitThroughMemoryDC(HWND window, HBITMAP bitmap, int x, int y, int width, int height, HDC dc,
                         int sourceX, int sourceY, DWORD rop)
{
    HDC target = dc ? dc : GetDC(window);
    BOOL result = FALSE;
    HDC memory = CreateCompatibleDC(target);
    if (memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (width == 0 && height == 0) {
            BITMAP info = {};
            GetObjectA(bitmap, sizeof info, &info);
            width = info.bmWidth;
            height = info.bmHeight;
            sourceX = sourceY = 0;
        }
        result = BitBlt(target, x, y, width, height, memory, sourceX, sourceY, rop);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (!dc)
        ReleaseDC(window, target);
    return result;
}

} // namespace

BOOL BlitBitmapResource(HWND window, const char* name, int x, int y, int width, int height,
                        HDC dc, int sourceX, int sourceY, UINT loadFlags, DWORD rop)
{
    HINSTANCE instance = (loadFlags & LR_LOADFROMFILE)
                             ? nullptr
                             : reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(instance, name, IMAGE_BITMAP, 0, 0, loadFlags));
    if (!bitmap)
        return FALSE;
    BOOL result = BlitThroughMemoryDC(window, bitmap, x, y, width, height, dc, sourceX, sourceY, rop);
    DeleteObject(bitmap);
    return result;
}

BOOL BlitBitmap(HWND window, HBITMAP bitmap, int x, int y, int width, int height, HDC dc,
                int sourceX, int sourceY, DWORD rop)
{
    return BlitThroughMemoryDC(window, bitmap, x, y, width, height, dc, sourceX, sourceY, rop);
}
