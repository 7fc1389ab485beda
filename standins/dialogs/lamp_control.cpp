// The lamp control, "TavroDLG_LEDWindowClass": a round light with the
// window text beside it. States by BM_SETCHECK: 0 off, 1 on, 2 error.
// LEDM_SETCOLOR sets the lit colour. Optional creation data: a pointer to a
// 32-bit lit colour.
#include "library.h"

namespace {

enum LampState { LAMP_OFF = 0, LAMP_ON = 1, LAMP_ERROR = 2 };

const COLORREF kDefaultLit = RGB(0, 208, 0);
const COLORREF kErrorColor = RGB(232, 0, 0);

struct LampData {
    int state;
    COLORREF lit;
    HFONT font; // set by WM_SETFONT; owned by the sender
};

LampData* DataOf(HWND window)
{
    return reinterpret_cast<LampData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Palette-relative and plain colours both come down to their RGB part.
COLORREF PlainColor(LPARAM color)
{
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

COLORREF Darker(COLORREF color)
{
    return RGB(GetRValue(color) / 3 + 24, GetGValue(color) / 3 + 24, GetBValue(color) / 3 + 24);
}

COLORREF LightColor(const LampData* data)
{
    switch (data->state) {
    case LAMP_OFF:
        return Darker(data->lit);
    case LAMP_ERROR:
        return kErrorColor;
    default:
        return data->lit;
    }
}

void DrawLight(HDC dc, const RECT& bounds, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DSHADOW));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void DrawLamp(HWND window, HDC dc, const RECT& client)
{
    const LampData* data = DataOf(window);
    int width = client.right;
    int height = client.bottom;

    HWND parent = GetParent(window);
    HBRUSH background = parent ? reinterpret_cast<HBRUSH>(SendMessageA(
                                     parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(window)))
                               : nullptr;
    FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));

    char text[128] = "";
    GetWindowTextA(window, text, sizeof text);
    int diameter = (text[0] ? height : (width < height ? width : height)) - 2;
    if (diameter > 14 && text[0])
        diameter = 14;
    if (diameter < 4)
        diameter = 4;
    RECT light;
    light.left = text[0] ? 1 : (width - diameter) / 2;
    light.top = (height - diameter) / 2;
    light.right = light.left + diameter;
    light.bottom = light.top + diameter;
    DrawLight(dc, light, LightColor(data));

    if (text[0]) {
        HGDIOBJ oldFont = SelectObject(dc, data->font ? data->font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        RECT textRect = {light.right + 4, 0, width, height};
        DrawTextA(dc, text, -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create)
{
    LampData* data = new LampData{LAMP_OFF, kDefaultLit, nullptr};
    if (create->lpCreateParams)
        data->lit = PlainColor(*static_cast<const DWORD*>(create->lpCreateParams));
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    return 0;
}

void OnNcDestroy(HWND window)
{
    delete DataOf(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintBuffered(window, dc, DrawLamp);
    EndPaint(window, &paint);
}

LRESULT OnSetCheck(HWND window, LampData* data, WPARAM state)
{
    int next = state == BST_UNCHECKED ? LAMP_OFF : state == BST_INDETERMINATE ? LAMP_ERROR : LAMP_ON;
    if (next != data->state) {
        data->state = next;
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
}

LRESULT OnSetColor(HWND window, LampData* data, LPARAM color)
{
    COLORREF previous = data->lit;
    data->lit = PlainColor(color);
    InvalidateRect(window, nullptr, FALSE);
    return static_cast<LRESULT>(previous);
}

LRESULT CALLBACK LampWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    LampData* data = DataOf(window);
    if (!data)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        OnNcDestroy(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_PRINTCLIENT:
        PaintBuffered(window, reinterpret_cast<HDC>(wParam), DrawLamp);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        data->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(data->font);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case BM_SETCHECK:
        return OnSetCheck(window, data, wParam);
    case BM_GETCHECK:
        return data->state;
    case LEDM_SETCOLOR:
        return OnSetColor(window, data, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

bool RegisterLampClass(HINSTANCE instance)
{
    WNDCLASSA lampClass = {};
    lampClass.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
    lampClass.lpfnWndProc = LampWndProc;
    lampClass.hInstance = instance;
    lampClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    lampClass.lpszClassName = TAVRO_LED_CLASS;
    return RegisterClassA(&lampClass) != 0;
}

void UnregisterLampClass(HINSTANCE instance)
{
    UnregisterClassA(TAVRO_LED_CLASS, instance);
}
