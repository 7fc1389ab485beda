// The readout control, "TavroDLG_ReadoutWindowClass": window text in a
// display colour on black, painted through a memory bitmap so frequent
// updates never flicker. RDM_SETCOLOR (wParam 1) sets the text colour.
//
// Two sizes by window style: READOUT_STYLE_LARGE (0x0002) draws a bold,
// right-aligned figure filling most of the height (position displays);
// otherwise, and with the small style (0x0001), a small centred text.
// A text too wide for either size is drawn in a smaller font to fit.
#include "library.h"

namespace {

const DWORD READOUT_STYLE_LARGE = 0x0002;
const WPARAM READOUT_COLOR_TEXT = 1;

const COLORREF kDefaultText = RGB(0, 255, 0);
const COLORREF kBackground = RGB(0, 0, 0);

struct ReadoutData {
    COLORREF text;
    HFONT font;     // made for the present size; owned here
    int fontHeight; // its height in pixels
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

// Readout text is never cut off: a text wider than the room is drawn in a
// smaller font, down to this height.
const int kMinFontHeight = 6;

HFONT CreateReadoutFont(int height, bool large)
{
    return CreateFontA(-height, 0, 0, 0, large ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                       "Tahoma");
}

// Font height for the client height: large readouts take about three
// quarters of it, small ones at most 14 pixels.
int BaseFontHeight(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    bool large = IsLarge(window);
    int height = large ? client.bottom * 3 / 4 : client.bottom - 2;
    if (!large && height > 14)
        height = 14;
    if (height < 8)
        height = 8;
    return height;
}

void ReplaceFont(HWND window, ReadoutData* data)
{
    data->fontHeight = BaseFontHeight(window);
    HFONT font = CreateReadoutFont(data->fontHeight, IsLarge(window));
    if (data->font)
        DeleteObject(data->font);
    data->font = font;
}

int TextWidth(HDC dc, const char* text, int length)
{
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &extent);
    return extent.cx;
}

// With the readout's font selected in `dc`: when the text is wider than
// `room`, selects and returns a smaller font that fits (the caller deletes
// it), otherwise returns null.
HFONT SelectFittingFont(HDC dc, const char* text, int room, int height, bool large)
{
    int length = lstrlenA(text);
    int width = TextWidth(dc, text, length);
    if (length == 0 || room <= 0 || width <= room)
        return nullptr;
    // Widths do not scale exactly with the height: start a little above the
    // proportional guess and take the largest height that fits.
    int start = height * room / width + 3;
    if (start > height - 1)
        start = height - 1;
    HFONT fitted = nullptr;
    for (int next = start; ; --next) {
        if (next < kMinFontHeight)
            next = kMinFontHeight;
        HFONT font = CreateReadoutFont(next, large);
        SelectObject(dc, font);
        if (fitted)
            DeleteObject(fitted);
        fitted = font;
        if (next == kMinFontHeight || TextWidth(dc, text, length) <= room)
            return fitted;
    }
}

void DrawReadout(HWND window, HDC dc, const RECT& client)
{
    const ReadoutData* data = DataOf(window);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);

    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    bool large = IsLarge(window);
    RECT textRect = client;
    UINT format = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    if (large) {
        textRect.right -= 4;
        format |= DT_RIGHT;
    } else {
        format |= DT_CENTER;
    }
    HGDIOBJ oldFont = SelectObject(dc, data->font ? static_cast<HGDIOBJ>(data->font)
                                                  : GetStockObject(DEFAULT_GUI_FONT));
    HFONT fitted = SelectFittingFont(dc, text, textRect.right - textRect.left - 2, data->fontHeight, large);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, data->text);
    DrawTextA(dc, text, -1, &textRect, format);
    SelectObject(dc, oldFont);
    if (fitted)
        DeleteObject(fitted);
}

LRESULT OnCreate(HWND window)
{
    ReadoutData* data = new ReadoutData{kDefaultText, nullptr, 0};
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

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintBuffered(window, dc, DrawReadout);
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
        OnPaint(window);
        return 0;
    case WM_PRINTCLIENT:
        PaintBuffered(window, reinterpret_cast<HDC>(wParam), DrawReadout);
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
