// Small window, dialog and bitmap routines shared by every deliverable.
#ifndef DREVALON_WINDOW_UTILS_H
#define DREVALON_WINDOW_UTILS_H

#include <windows.h>

// Centres a window over its owner, or over the desktop when it has none.
void CenterWindow(HWND window);

// Brings a stored top-left corner onto the screen: a coordinate that is
// negative or beyond the screen's width (height) becomes 0.
void KeepCornerOnScreen(int* x, int* y);

// CreateWindowExA, then the default GUI font on the new window.
HWND CreateChildWindow(DWORD exStyle, const char* className, const char* title, DWORD style,
                       int x, int y, int width, int height, HWND parent, HMENU menu,
                       HINSTANCE instance, void* param);

// A dialog item's text as a double (0.0 when it holds no number).
double GetDlgItemDouble(HWND dialog, int itemId);

// Shows a double in a dialog item; precision below 0 gives six decimals.
BOOL SetDlgItemDouble(HWND dialog, int itemId, double value, int precision);

// Draws a bitmap resource (or file, with LR_LOADFROMFILE) at its own size.
BOOL DrawBitmapResource(HWND window, const char* name, int x, int y, HDC dc, UINT loadFlags);

BOOL BlitBitmapResource(HWND window, const char* name, int x, int y, int width, int height,
                        HDC dc, int sourceX, int sourceY, UINT loadFlags, DWORD rop);

// As BlitBitmapResource for a bitmap the caller owns; it is not deleted.
BOOL BlitBitmap(HWND window, HBITMAP bitmap, int x, int y, int width, int height, HDC dc,
                int sourceX, int sourceY, DWORD rop);

#endif
