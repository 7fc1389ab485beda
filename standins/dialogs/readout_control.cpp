// The readout control, "TavroDLG_ReadoutWindowClass": window text in a
// display colour on black, painted through a memory bitmap so frequent
// updates never flicker. RDM_SETCOLOR (wParam 1) sets the text colour.
//
// Two sizes by window style: READOUT_STYLE_LARGE (0x0002) draws a bold,
// right-aligned figure filling most of the height (position displays);
// otherwise, and with READOUT_STYLE_SMALL (0x0001), a small centred text.
#include "library.h"

namespace {

const DWORD READOUT_STYLE_SMALL = 0x0001;
const DWORD READOUT_STYLE_LARGE = 0x0002;
const WPARAM READOUT_COLOR_TEXT = 1;

const COLORREF kDefaultText = RGB(0, 255, 0);
const COLORREF kBackground = RGB(0, 0, 0);

struct ReadoutData {
    COLORREF text;
    HFONT font; // made for the present size; owned here
};

ReadoutData* DataOf(HWND window)
{
    return reinterpret_cast<ReadoutData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool IsLarge(HWND window)
{
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    return (style & READOUT_STYLE_LARGE) != 0;
}

// A font for the client height: large readouts take about three quarters of
// it, small ones at most 14 pixels.
HFONT MakeFont(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    bool large = IsLarge(window);
    int height = large ? client.bottom * 3 / 4 : client.bottom - 2;
    if (!large && height > 14)
        height = 14;
    if (height < 8)
        height = 8;
    return CreateFontA(-height, 0, 0, 0, large ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, "Tahoma");
}

void ReplaceFont(HWND window, ReadoutData* data)
{
    HFONT font = MakeFont(window);
    if (data->font)
        DeleteObject(data->font);
    data->font = font;
}

void PaintReadout(HWND window, HDC target, const ReadoutData* data)
{
    RECT client;
    GetClientRect(window, &client);
    int width = client.right;
    int height = client.bottom;
    if (width <= 0 || height <= 0)
        return;

    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);

    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);

    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    HGDIOBJ oldFont = SelectObject(dc, data->font ? static_cast<HGDIOBJ>(data->font)
                                                  : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, data->text);
    RECT textRect = client;
    UINT format = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (IsLarge(window)) {
        textRect.right -= 4;
        format |= DT_RIGHT;
    } else {
        format |= DT_CENTER;
    }
    DrawTextA(dc, text, -1, &textRect, format);
    SelectObject(dc, oldFont);

    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

LRESULT OnCreate(HWND window)
{
    ReadoutData* data = new ReadoutData{kDefaultText, nullptr};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    ReplaceFont(window, data);
    return 0;
}

void OnNcDestroy(HWND window, ReadoutData* data)
{
    if (data->font)
        DeleteObject(data->font);
    delete data;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void OnPaint(HWND window, const ReadoutData* data)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintReadout(window, dc, data);
    EndPaint(window, &paint);
}

// Repaints only when the text really changes.
LRESULT OnSetText(HWND window, LPARAM lParam)
{
    const char* next = reinterpret_cast<const char*>(lParam);
    char current[256] = "";
    GetWindowTextA(window, current, sizeof current);
    if (next && lstrcmpA(current, next) == 0 && lstrlenA(next) < static_cast<int>(sizeof current) - 1)
        return TRUE;
    LRESULT result = DefWindowProcA(window, WM_SETTEXT, 0, lParam);
    InvalidateRect(window, nullptr, FALSE);
    return result;
}

LRESULT OnSetColor(HWND window, ReadoutData* data, WPARAM which, LPARAM color)
{
    if (which != READOUT_COLOR_TEXT)
        return 0;
    COLORREF previous = data->text;
    // Palette-relative colours (0x02bbggrr) come down to their RGB part.
    data->text = static_cast<COLORREF>(color) & 0x00FFFFFF;
    if (data->text != previous)
        InvalidateRect(window, nullptr, FALSE);
    return static_cast<LRESULT>(previous);
}

LRESULT CALLBACK ReadoutWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window);
    ReadoutData* data = DataOf(window);
    if (!data)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        OnNcDestroy(window, data);
        return 0;
    case WM_PAINT:
        OnPaint(window, data);
        return 0;
    case WM_PRINTCLIENT:
        PaintReadout(window, reinterpret_cast<HDC>(wParam), data);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        ReplaceFont(window, data);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_SETTEXT:
        return OnSetText(window, lParam);
    case RDM_SETCOLOR:
        return OnSetColor(window, data, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterReadoutClass(HINSTANCE instance)
{
    WNDCLASSA readoutClass = {};
    readoutClass.style = CS_GLOBALCLASS;
    readoutClass.lpfnWndProc = ReadoutWndProc;
    readoutClass.hInstance = instance;
    readoutClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    readoutClass.lpszClassName = TAVRO_READOUT_CLASS;
    return RegisterClassA(&readoutClass) != 0;
}

void UnregisterReadoutClass(HINSTANCE instance)
{
    UnregisterClassA(TAVRO_READOUT_CLASS, instance);
}
